#include "color/tests/lcms_color_module.h"

#include <lcms2.h>

#include <cstring>
#include <map>
#include <string>
#include <utility>

namespace {

int gModuleToken = 0;

struct Transform {
  cmsHPROFILE source, target;
  cmsUInt32Number intent;
  std::map<std::pair<uint32_t, uint32_t>, cmsHTRANSFORM> byFormats;
};

std::string NativePath(const char* path) {
  std::string native = path;
  for (char& c : native)
    if (c == '\\') c = '/';
  return native;
}

// The lcms2 pixel type of a module format for a profile of that colour space.
cmsUInt32Number PixelType(uint32_t format, cmsHPROFILE profile) {
  const bool cmyk = cmsGetColorSpace(profile) == cmsSigCmykData;
  switch (format) {
    case kBitmapXrgbQuads: return TYPE_BGRA_8;
    case kBitmapXbgrQuads: return TYPE_RGBA_8;
    case kBitmapKymcQuads: return TYPE_CMYK_8;
    case kBitmap16Rgb: return TYPE_BGR_16;
    case kBitmap16G3ch: return cmyk ? TYPE_CMYK_16 : TYPE_RGB_16;
    default: return 0;
  }
}

ColorProfileHandle OpenColorProfileA(const ColorProfileLocation* location, uint32_t, uint32_t, uint32_t creation) {
  if (creation != 3 || !location->data) return nullptr;
  cmsHPROFILE profile = location->source == kProfileFromFile
                            ? cmsOpenProfileFromFile(NativePath(static_cast<const char*>(location->data)).c_str(), "r")
                            : cmsOpenProfileFromMem(location->data, location->size);
  return reinterpret_cast<ColorProfileHandle>(profile);
}

int32_t CloseColorProfile(ColorProfileHandle profile) {
  return profile && cmsCloseProfile(reinterpret_cast<cmsHPROFILE>(profile));
}

// Profiles are kept open by the transform: the caller may close its handles.
ColorTransformHandle CreateMultiProfileTransform(ColorProfileHandle* profiles, uint32_t count, uint32_t* intents,
                                                 uint32_t intentCount, uint32_t, uint32_t) {
  if (count != 2 || intentCount < 1 || !profiles[0] || !profiles[1]) return nullptr;
  auto copy = [](ColorProfileHandle handle) {
    cmsUInt32Number size = 0;
    cmsHPROFILE profile = reinterpret_cast<cmsHPROFILE>(handle);
    cmsSaveProfileToMem(profile, nullptr, &size);
    std::string bytes(size, '\0');
    cmsSaveProfileToMem(profile, &bytes[0], &size);
    return cmsOpenProfileFromMem(bytes.data(), size);
  };
  return reinterpret_cast<ColorTransformHandle>(new Transform{copy(profiles[0]), copy(profiles[1]), intents[0], {}});
}

int32_t DeleteColorTransform(ColorTransformHandle handle) {
  auto* transform = reinterpret_cast<Transform*>(handle);
  if (!transform) return 0;
  for (auto& made : transform->byFormats) cmsDeleteTransform(made.second);
  cmsCloseProfile(transform->source);
  cmsCloseProfile(transform->target);
  delete transform;
  return 1;
}

int32_t TranslateBitmapBits(ColorTransformHandle handle, const void* input, uint32_t inputFormat, uint32_t width,
                            uint32_t height, uint32_t inputStride, void* output, uint32_t outputFormat,
                            uint32_t outputStride, void*, uintptr_t) {
  auto* transform = reinterpret_cast<Transform*>(handle);
  if (!transform) return 0;
  cmsHTRANSFORM& made = transform->byFormats[{inputFormat, outputFormat}];
  if (!made) {
    const cmsUInt32Number in = PixelType(inputFormat, transform->source);
    const cmsUInt32Number out = PixelType(outputFormat, transform->target);
    if (!in || !out) return 0;
    // Unoptimised and without the white fix-up, the numbers a reference calculator gives.
    made = cmsCreateTransform(transform->source, in, transform->target, out, transform->intent,
                              cmsFLAGS_NOOPTIMIZE | cmsFLAGS_NOWHITEONWHITEFIXUP);
    if (!made) return 0;
  }
  cmsDoTransformLineStride(made, input, output, width, height, inputStride, outputStride, 0, 0);
  return 1;
}

struct Export {
  const char* name;
  void* function;
};

const Export kExports[] = {
    {"OpenColorProfileA", reinterpret_cast<void*>(OpenColorProfileA)},
    {"CloseColorProfile", reinterpret_cast<void*>(CloseColorProfile)},
    {"CreateMultiProfileTransform", reinterpret_cast<void*>(CreateMultiProfileTransform)},
    {"DeleteColorTransform", reinterpret_cast<void*>(DeleteColorTransform)},
    {"TranslateBitmapBits", reinterpret_cast<void*>(TranslateBitmapBits)},
};

}  // namespace

LcmsColorModule::LcmsColorModule() { InstallColorModuleLoader(this); }

LcmsColorModule::~LcmsColorModule() {
  ColorSystemUnload();
  InstallColorModuleLoader(nullptr);
}

void* LcmsColorModule::Load(const char*) { return &gModuleToken; }
void LcmsColorModule::Free(void*) {}

void* LcmsColorModule::Lookup(void* module, const char* function) {
  if (module != &gModuleToken) return nullptr;
  for (const Export& e : kExports)
    if (std::strcmp(e.name, function) == 0) return e.function;
  return nullptr;
}
