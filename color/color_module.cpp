#include "color/color_module.h"

#include <cstring>

#include "records/defaults_block.h"
#include "state/data_source_state.h"

namespace {

typedef int32_t ModuleBool;

typedef ModuleBool(COLOR_MODULE_CALL* GetColorDirectoryProc)(const char*, char*, uint32_t*);
typedef ColorProfileHandle(COLOR_MODULE_CALL* OpenColorProfileProc)(const ColorProfileLocation*, uint32_t, uint32_t,
                                                                     uint32_t);
typedef ModuleBool(COLOR_MODULE_CALL* ProfileHeaderProc)(ColorProfileHandle, ColorProfileHeader*);
typedef ModuleBool(COLOR_MODULE_CALL* GetElementProc)(ColorProfileHandle, uint32_t, uint32_t, uint32_t*, void*,
                                                      ModuleBool*);
typedef ModuleBool(COLOR_MODULE_CALL* GetFromHandleProc)(ColorProfileHandle, void*, uint32_t*);
typedef ModuleBool(COLOR_MODULE_CALL* SetElementSizeProc)(ColorProfileHandle, uint32_t, uint32_t);
typedef ModuleBool(COLOR_MODULE_CALL* SetElementProc)(ColorProfileHandle, uint32_t, uint32_t, uint32_t*,
                                                      const void*);
typedef ModuleBool(COLOR_MODULE_CALL* IsValidProc)(ColorProfileHandle, ModuleBool*);
typedef ModuleBool(COLOR_MODULE_CALL* CloseProfileProc)(ColorProfileHandle);
typedef ColorTransformHandle(COLOR_MODULE_CALL* CreateTransformProc)(ColorProfileHandle*, uint32_t, uint32_t*,
                                                                     uint32_t, uint32_t, uint32_t);
typedef ModuleBool(COLOR_MODULE_CALL* DeleteTransformProc)(ColorTransformHandle);
typedef ModuleBool(COLOR_MODULE_CALL* TranslateBitsProc)(ColorTransformHandle, const void*, uint32_t, uint32_t,
                                                         uint32_t, uint32_t, void*, uint32_t, uint32_t, void*,
                                                         uintptr_t);
typedef ModuleBool(COLOR_MODULE_CALL* CheckBitsProc)(ColorTransformHandle, const void*, uint32_t, uint32_t, uint32_t,
                                                     uint32_t, uint8_t*, void*, uintptr_t);
typedef ModuleBool(COLOR_MODULE_CALL* StandardProfileProc)(const char*, uint32_t, char*, uint32_t*);

// The module's access, sharing and creation values.
enum : uint32_t {
  kProfileRead = 1,
  kProfileReadWrite = 2,
  kShareRead = 1,
  kCreateNew = 1,
  kOpenExisting = 3,
  kBestMode = 3,
  kEnableGamutChecking = 0x00010000,
  kIndexDontCare = 0,
  kWindowsColorSpace = 0x57696E20,  // 'Win '
};

ColorModuleLoader* gInstalledLoader = nullptr;
void* gColorModule = nullptr;

ColorModuleLoader& Loader() { return gInstalledLoader ? *gInstalledLoader : PlatformColorModuleLoader(); }

// The function by name, looked up at each call; null when the module or the function is missing.
template <typename Proc>
Proc Find(const char* name) {
  if (!IsColorSystemLoaded()) return nullptr;
  return reinterpret_cast<Proc>(Loader().Lookup(gColorModule, name));
}

int16_t Status(ModuleBool ok, int16_t failure) { return ok ? 0 : failure; }

// The size-query rule: with a null buffer a size above 0 is success, whatever the module answered.
int16_t ReadStatus(ModuleBool ok, const void* buffer, const uint32_t* size) {
  if (!buffer && *size > 0) return 0;
  return Status(ok, kColorCallError);
}

}  // namespace

void InstallColorModuleLoader(ColorModuleLoader* loader) { gInstalledLoader = loader; }

ColorProfileLocation FileProfileLocation(const char* path) {
  return {kProfileFromFile, path, static_cast<uint32_t>(std::strlen(path) + 1)};
}

void* ColorSystemLoad() {
  gColorModule = Loader().Load("mscms.dll");
  return gColorModule;
}

void ColorSystemUnload() {
  if (gColorModule) Loader().Free(gColorModule);
  gColorModule = nullptr;
}

bool IsColorSystemLoaded() { return gColorModule != nullptr; }

bool CmsGetColorDirectory(char* buffer, uint32_t* size) {
  auto proc = Find<GetColorDirectoryProc>("GetColorDirectoryA");
  return proc && proc(nullptr, buffer, size);
}

int16_t CmsOpenColorProfile(ColorProfileHandle* profile, const ColorProfileLocation* location, uint8_t writable) {
  *profile = nullptr;
  auto proc = Find<OpenColorProfileProc>("OpenColorProfileA");
  if (!proc) return kColorProfileError;
  *profile = proc(location, writable ? kProfileReadWrite : kProfileRead, kShareRead, kOpenExisting);
  return *profile ? 0 : kColorProfileError;
}

int16_t CmsCreateColorProfile(ColorProfileHandle* profile, const ColorProfileLocation* location) {
  *profile = nullptr;
  auto proc = Find<OpenColorProfileProc>("OpenColorProfileA");
  if (!proc) return kColorCallError;
  ColorProfileLocation target = *location;
  if (target.source != kProfileFromFile) target = {kProfileFromMemory, nullptr, 0};
  *profile = proc(&target, kProfileReadWrite, 0, kCreateNew);
  return *profile ? 0 : kColorCallError;
}

int16_t CmsGetColorProfileHeader(ColorProfileHandle profile, ColorProfileHeader* header) {
  auto proc = Find<ProfileHeaderProc>("GetColorProfileHeader");
  return proc ? Status(proc(profile, header), kColorCallError) : kColorCallError;
}

int16_t CmsSetColorProfileHeader(ColorProfileHandle profile, const ColorProfileHeader* header) {
  auto proc = Find<ProfileHeaderProc>("SetColorProfileHeader");
  ColorProfileHeader copy = *header;
  return proc ? Status(proc(profile, &copy), kColorCallError) : kColorCallError;
}

int16_t CmsGetColorProfileElement(ColorProfileHandle profile, uint32_t tag, uint32_t* size, void* buffer) {
  auto proc = Find<GetElementProc>("GetColorProfileElement");
  if (!proc) return kColorCallError;
  ModuleBool reference = 0;
  return ReadStatus(proc(profile, tag, 0, size, buffer, &reference), buffer, size);
}

int16_t CmsGetColorProfileFromHandle(ColorProfileHandle profile, uint32_t* size, void* buffer) {
  auto proc = Find<GetFromHandleProc>("GetColorProfileFromHandle");
  if (!proc) return kColorCallError;
  return ReadStatus(proc(profile, buffer, size), buffer, size);
}

int16_t CmsSetColorProfileElementSize(ColorProfileHandle profile, uint32_t tag, uint32_t size) {
  auto proc = Find<SetElementSizeProc>("SetColorProfileElementSize");
  return proc ? Status(proc(profile, tag, size), kColorCallError) : kColorCallError;
}

int16_t CmsSetColorProfileElement(ColorProfileHandle profile, uint32_t tag, uint32_t size, const void* data) {
  auto proc = Find<SetElementProc>("SetColorProfileElement");
  return proc ? Status(proc(profile, tag, 0, &size, data), kColorCallError) : kColorCallError;
}

int16_t CmsIsColorProfileValid(ColorProfileHandle profile, uint8_t* valid) {
  *valid = 0;
  auto proc = Find<IsValidProc>("IsColorProfileValid");
  if (!proc) return kColorCallError;
  ModuleBool answer = 0;
  const ModuleBool ok = proc(profile, &answer);
  *valid = answer ? 1 : 0;
  return Status(ok, kColorCallError);
}

int16_t CmsCloseColorProfile(ColorProfileHandle profile) {
  auto proc = Find<CloseProfileProc>("CloseColorProfile");
  return proc ? Status(proc(profile), kColorCloseError) : kColorCloseError;
}

int16_t CmsCreateMultiProfileTransform(ColorTransformHandle* transform, ColorProfileHandle source,
                                       ColorProfileHandle target, uint8_t gamutCheck) {
  *transform = nullptr;
  auto proc = Find<CreateTransformProc>("CreateMultiProfileTransform");
  if (!proc) return kColorTransformError;
  ColorProfileHandle profiles[2] = {source, target};
  const uint32_t intent = GetDefault(gDefaults, kDefaultRenderingIntent);
  uint32_t intents[2] = {intent, intent};
  const uint32_t flags = kBestMode | (gamutCheck ? uint32_t{kEnableGamutChecking} : 0u);
  *transform = proc(profiles, 2, intents, 2, flags, kIndexDontCare);
  return *transform ? 0 : kColorTransformError;
}

int32_t CmsDeleteColorTransform(ColorTransformHandle transform) {
  auto proc = Find<DeleteTransformProc>("DeleteColorTransform");
  return proc ? proc(transform) : 0;
}

bool CmsTranslateBitmapBits(ColorTransformHandle transform, const void* input, uint32_t inputFormat, uint32_t width,
                            uint32_t height, uint32_t inputStride, void* output, uint32_t outputFormat,
                            uint32_t outputStride) {
  auto proc = Find<TranslateBitsProc>("TranslateBitmapBits");
  return proc && proc(transform, input, inputFormat, width, height, inputStride, output, outputFormat, outputStride,
                      nullptr, 0);
}

bool CmsCheckBitmapBits(ColorTransformHandle transform, const void* input, uint32_t inputFormat, uint32_t width,
                        uint32_t height, uint32_t stride, uint8_t* result) {
  auto proc = Find<CheckBitsProc>("CheckBitmapBits");
  return proc && proc(transform, input, inputFormat, width, height, stride, result, nullptr, 0);
}

bool CmsGetStandardColorSpaceProfile(char* path, uint32_t size) {
  auto proc = Find<StandardProfileProc>("GetStandardColorSpaceProfileA");
  return proc && proc(nullptr, kWindowsColorSpace, path, &size);
}
