#include "color/tests/lcms_color_module.h"

#include <lcms2.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

int gModuleToken = 0;
const LcmsColorModule* gModule = nullptr;

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
    case kBitmap10Lab: return TYPE_Lab_DBL;
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

int32_t IsColorProfileValid(ColorProfileHandle profile, int32_t* valid) {
  *valid = profile != nullptr;
  return profile != nullptr;
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

cmsHTRANSFORM Made(Transform* transform, uint32_t inputFormat, uint32_t outputFormat, bool reverse = false) {
  cmsHTRANSFORM& made = transform->byFormats[{inputFormat | (reverse ? 0x80000000u : 0), outputFormat}];
  if (!made) {
    cmsHPROFILE from = reverse ? transform->target : transform->source;
    cmsHPROFILE to = reverse ? transform->source : transform->target;
    const cmsUInt32Number in = PixelType(inputFormat, from);
    const cmsUInt32Number out = PixelType(outputFormat, to);
    if (!in || !out) return nullptr;
    // Unoptimised and without the white fix-up, the numbers a reference calculator gives.
    made = cmsCreateTransform(from, in, to, out, transform->intent, cmsFLAGS_NOOPTIMIZE | cmsFLAGS_NOWHITEONWHITEFIXUP);
  }
  return made;
}

// The 10-bit L*a*b* pixels of rows as doubles, and back.
std::vector<cmsCIELab> UnpackLab10(const void* input, uint32_t width, uint32_t height, uint32_t stride) {
  std::vector<cmsCIELab> lab;
  for (uint32_t y = 0; y < height; ++y) {
    const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(input) + size_t{y} * stride);
    for (uint32_t x = 0; x < width; ++x) {
      const uint32_t v = row[x];
      lab.push_back({(v >> 20 & 1023) / 1023.0 * 100, (v >> 10 & 1023) / 1023.0 * 255 - 128,
                     (v & 1023) / 1023.0 * 255 - 128});
    }
  }
  return lab;
}

uint32_t Field10(double v) { return static_cast<uint32_t>(std::min(1023.0, std::max(0.0, v * 1023 + 0.5))); }

void PackLab10(const std::vector<cmsCIELab>& lab, void* output, uint32_t width, uint32_t height, uint32_t stride) {
  for (uint32_t y = 0; y < height; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(output) + size_t{y} * stride);
    for (uint32_t x = 0; x < width; ++x) {
      const cmsCIELab& c = lab[size_t{y} * width + x];
      row[x] = Field10(c.L / 100) << 20 | Field10((c.a + 128) / 255) << 10 | Field10((c.b + 128) / 255);
    }
  }
}

// Bytes of a pixel of a format other than 1027.
uint32_t PixelBytes(uint32_t format) {
  return format == kBitmap16Rgb ? 6 : format == kBitmap16G3ch ? 0 : 4;
}

int32_t TranslateBitmapBits(ColorTransformHandle handle, const void* input, uint32_t inputFormat, uint32_t width,
                            uint32_t height, uint32_t inputStride, void* output, uint32_t outputFormat,
                            uint32_t outputStride, void*, uintptr_t) {
  auto* transform = reinterpret_cast<Transform*>(handle);
  if (!transform) return 0;
  cmsHTRANSFORM made = Made(transform, inputFormat, outputFormat);
  if (!made) return 0;
  if (inputFormat != kBitmap10Lab && outputFormat != kBitmap10Lab) {
    cmsDoTransformLineStride(made, input, output, width, height, inputStride, outputStride, 0, 0);
    return 1;
  }
  if (inputFormat == kBitmap10Lab && outputFormat == kBitmap10Lab) return 0;
  const uint32_t pixels = width * height;
  if (inputFormat == kBitmap10Lab) {
    const std::vector<cmsCIELab> lab = UnpackLab10(input, width, height, inputStride);
    const uint32_t bytes = PixelBytes(outputFormat);
    if (!bytes) return 0;
    std::vector<uint8_t> packed(size_t{pixels} * bytes);
    cmsDoTransform(made, lab.data(), packed.data(), pixels);
    for (uint32_t y = 0; y < height; ++y)
      std::memcpy(static_cast<uint8_t*>(output) + size_t{y} * outputStride, &packed[size_t{y} * width * bytes],
                  size_t{width} * bytes);
    return 1;
  }
  const uint32_t bytes = PixelBytes(inputFormat);
  if (!bytes) return 0;
  std::vector<uint8_t> packed(size_t{pixels} * bytes);
  for (uint32_t y = 0; y < height; ++y)
    std::memcpy(&packed[size_t{y} * width * bytes], static_cast<const uint8_t*>(input) + size_t{y} * inputStride,
                size_t{width} * bytes);
  std::vector<cmsCIELab> lab(pixels);
  cmsDoTransform(made, packed.data(), lab.data(), pixels);
  PackLab10(lab, output, width, height, outputStride);
  return 1;
}

// 10-bit L*a*b* input only: the round trip through the target's 16-bit channels.
int32_t CheckBitmapBits(ColorTransformHandle handle, const void* input, uint32_t inputFormat, uint32_t width,
                        uint32_t height, uint32_t stride, uint8_t* result, void*, uintptr_t) {
  auto* transform = reinterpret_cast<Transform*>(handle);
  if (!transform || inputFormat != kBitmap10Lab || !gModule) return 0;
  cmsHTRANSFORM there = Made(transform, kBitmap10Lab, kBitmap16G3ch);
  cmsHTRANSFORM back = Made(transform, kBitmap16G3ch, kBitmap10Lab, true);
  if (!there || !back) return 0;
  const std::vector<cmsCIELab> lab = UnpackLab10(input, width, height, stride);
  std::vector<uint16_t> device(lab.size() * 4);
  std::vector<cmsCIELab> trip(lab.size());
  cmsDoTransform(there, lab.data(), device.data(), static_cast<cmsUInt32Number>(lab.size()));
  cmsDoTransform(back, device.data(), trip.data(), static_cast<cmsUInt32Number>(lab.size()));
  for (size_t i = 0; i < lab.size(); ++i) result[i] = cmsDeltaE(&lab[i], &trip[i]) > gModule->gamutTolerance ? 255 : 0;
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
    {"CheckBitmapBits", reinterpret_cast<void*>(CheckBitmapBits)},
    {"IsColorProfileValid", reinterpret_cast<void*>(IsColorProfileValid)},
};

}  // namespace

LcmsColorModule::LcmsColorModule() {
  gModule = this;
  InstallColorModuleLoader(this);
}

LcmsColorModule::~LcmsColorModule() {
  gModule = nullptr;
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
