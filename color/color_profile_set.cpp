#include "color/color_profile_set.h"

#include <cstring>
#include <string>

#include "color/color_management.h"
#include "color/pixel_layout.h"
#include "color/profile_files.h"
#include "foundation/paths.h"
#include "records/defaults_block.h"
#include "state/data_source_state.h"

ColorProfileSet gColorProfileSet = {{}, {}, {}, nullptr, 0, kProofAllInks};
uint8_t gOutputConversionView = 0;

namespace {

ColorProfileSet& Set() { return gColorProfileSet; }

// A path field of the defaults up to its terminator or its end.
std::string DefaultsPath(DefaultsArea area) {
  const char* text = reinterpret_cast<const char*>(DefaultsBytes(gDefaults, area));
  return std::string(text, strnlen(text, area.size));
}

void CloseProfiles() {
  for (ColorProfileHandle& profile : Set().profiles) {
    if (profile) CmsCloseColorProfile(profile);
    profile = nullptr;
  }
}

int16_t OpenProfile(ColorProfileSlot slot, const std::string& path) {
  const ColorProfileLocation location = FileProfileLocation(path.c_str());
  return CmsOpenColorProfile(&Set().profiles[slot], &location, 0);
}

// Everything deleted and closed: how a rebuild fails.
int16_t Fail(int16_t status) {
  DeleteColorTransforms();
  for (uint8_t& flag : Set().ready) flag = 0;
  return status;
}

int16_t CreateTransform(ColorTransformSlot slot, ColorProfileSlot source, ColorProfileSlot target) {
  const int16_t status =
      CmsCreateMultiProfileTransform(&Set().transforms[slot], Set().profiles[source], Set().profiles[target], 0);
  if (status == 0) Set().ready[slot] = 1;
  return status;
}

bool Open(ColorProfileSlot slot) { return Set().profiles[slot] != nullptr; }

// The output line buffer of at least size bytes; null when memory is short.
uint8_t* OutputLineBuffer(uint32_t size) {
  ResizeMemHandle(&Set().outputLine, size);
  return Set().outputLine ? Set().outputLine->data : nullptr;
}

}  // namespace

int16_t RebuildColorTransforms() {
  DeleteColorTransforms();
  for (uint8_t& flag : Set().ready) flag = 0;
  if (!gIcmEnabled) return 0;

  const DefaultsArea paths[] = {kDefaultScannerProfileReflective, kDefaultScannerProfileTransparency,
                                kDefaultInternalProfile, kDefaultOutputProfile};
  for (int slot = kProfileScannerReflective; slot <= kProfileOutput; ++slot) {
    const std::string path = DefaultsPath(paths[slot]);
    if (path.empty()) continue;
    const int16_t status = OpenProfile(static_cast<ColorProfileSlot>(slot), path);
    if (status != 0) return Fail(status);
  }
  // A separation table is no profile; a CMYK profile is only required to open.
  char cmykPath[kPathSize] = "", extension[kPathSize] = "";
  if (FindCmykProfileFile(cmykPath, extension) &&
      (std::strcmp(extension, ".icm") == 0 || std::strcmp(extension, ".icc") == 0)) {
    const int16_t status = OpenProfile(kProfileCmyk, cmykPath);
    if (status != 0) return Fail(status);
  }

  int16_t status = 0;
  if (Open(kProfileScannerReflective) && Open(kProfileInternal)) {
    status = CreateTransform(kTransformReflective, kProfileScannerReflective, kProfileInternal);
    if (status != 0) return Fail(status);
  }
  if (Open(kProfileScannerTransparency)) {
    if (!Open(kProfileInternal)) {
      CloseProfiles();
      return status;
    }
    status = CreateTransform(kTransformTransparency, kProfileScannerTransparency, kProfileInternal);
    if (status != 0) return Fail(status);
  }
  if (!Open(kProfileInternal) || !Open(kProfileOutput)) {
    CloseProfiles();
    return 0;
  }
  status = CreateTransform(kTransformOutput, kProfileInternal, kProfileOutput);
  if (status == 0) status = CreateTransform(kTransformReverse, kProfileOutput, kProfileInternal);
  if (status != 0) return Fail(status);
  CloseProfiles();
  return 0;
}

void DeleteColorTransforms() {
  if (!gIcmEnabled) return;
  for (int slot = 0; slot < kTransformSlots; ++slot) {
    if (Set().transforms[slot]) CmsDeleteColorTransform(Set().transforms[slot]);
    Set().transforms[slot] = nullptr;
    // A flag without its transform would send lines to a deleted handle.
    Set().ready[slot] = 0;
  }
  CloseProfiles();
}

void FreeOutputLineBuffer() {
  if (Set().outputLine) DisposeMemHandle(Set().outputLine);
  Set().outputLine = nullptr;
}

bool IsScannerTransformReady() {
  return Set().ready[gLightSourceFlag ? kTransformTransparency : kTransformReflective] != 0;
}

bool IsOutputTransformReady() { return Set().ready[kTransformOutput] != 0; }

void* AllocLineBuffer(uint16_t n) { return AllocBlock(static_cast<uint32_t>(n) * 4); }

void TranslateLine8(const uint8_t* in, uint8_t* out, uint16_t width, uint16_t channels, uint32_t format,
                    uint8_t* scratch) {
  if (!IsScannerTransformReady()) return;
  const ColorTransformHandle transform =
      Set().transforms[gLightSourceFlag ? kTransformTransparency : kTransformReflective];
  const uint32_t stride = static_cast<uint32_t>(width) * 4;
  if (channels == 3 && scratch) {
    TripletsToQuads(in, scratch, width);
    CmsTranslateBitmapBits(transform, scratch, format, width, 1, stride, scratch, format, stride);
    QuadsToTriplets(scratch, out, width);
  } else if (channels == 3) {
    MoveBytes(in, out, static_cast<uint32_t>(width) * 3);
  } else if (channels == 4) {
    CmsTranslateBitmapBits(transform, in, format, width, 1, stride, out, format, stride);
  }
}

bool TranslateImageBlock(ColorTransformHandle transform, const void* in, void* out, int32_t width, int32_t rows,
                         uint8_t sixteenBit, int32_t rowStride, int32_t pixelStep, int32_t channelStride) {
  if (!gIcmEnabled || !transform || !in || !out || width < 1 || rows < 1) return false;
  const uint32_t format = sixteenBit ? kBitmap16Rgb : kBitmapXbgrQuads;
  const uint32_t rowBytes = static_cast<uint32_t>(width) * (sixteenBit ? 6 : 4);
  if (!sixteenBit && rowStride == width * 4 && pixelStep == 4 && channelStride == 1)
    return CmsTranslateBitmapBits(transform, in, format, width, rows, rowBytes, out, format, rowBytes);

  const uint64_t blockBytes = static_cast<uint64_t>(rowBytes) * static_cast<uint32_t>(rows);
  if (blockBytes > UINT32_MAX) return false;
  void* scratch = AllocBlock(static_cast<uint32_t>(blockBytes));
  if (!scratch) return false;
  const SampleLayout caller{rowStride, pixelStep, channelStride};
  bool ok;
  if (sixteenBit) {
    // The module's 16-bit pixels hold the third sample first.
    const SampleLayout working{width * 3, 3, 1};
    uint16_t* block = static_cast<uint16_t*>(scratch);
    RepackStrided16x3(static_cast<const uint16_t*>(in), caller, block, working, rows, width, true);
    ok = CmsTranslateBitmapBits(transform, block, format, width, rows, rowBytes, block, format, rowBytes);
    RepackStrided16x3(block, working, static_cast<uint16_t*>(out), caller, rows, width, true);
  } else {
    const SampleLayout working{width * 4, 4, 1};
    uint8_t* block = static_cast<uint8_t*>(scratch);
    RepackStrided8(static_cast<const uint8_t*>(in), caller, block, working, rows, width);
    ok = CmsTranslateBitmapBits(transform, block, format, width, rows, rowBytes, block, format, rowBytes);
    RepackStrided8(block, working, static_cast<uint8_t*>(out), caller, rows, width);
  }
  FreeBlock(scratch);
  return ok;
}

void TranslateOutputLine(const uint8_t* in, uint8_t* out, uint32_t width, uint8_t interleaved, uint8_t cmykOut,
                         uint8_t reverse) {
  if (!Set().transforms[kTransformOutput]) return;
  uint8_t* quads = OutputLineBuffer(width * 4);
  if (!quads) return;
  if (interleaved && reverse)
    MoveBytes(in, quads, width * 4);
  else if (interleaved)
    TripletsToQuads(in, quads, width);
  else
    PlanesToQuads(in, reverse ? 4 : 3, quads, width);
  const ColorTransformHandle transform = Set().transforms[reverse ? kTransformReverse : kTransformOutput];
  const uint32_t inFormat = reverse ? kBitmapKymcQuads : kBitmapXbgrQuads;
  const uint32_t outFormat = cmykOut ? kBitmapKymcQuads : kBitmapXbgrQuads;
  CmsTranslateBitmapBits(transform, quads, inFormat, width, 1, width * 4, quads, outFormat, width * 4);
  if (interleaved && cmykOut)
    MoveBytes(quads, out, width * 4);
  else if (interleaved)
    QuadsToTriplets(quads, out, width);
  else
    QuadsToPlanes(quads, out, cmykOut ? 4 : 3, width);
}

void TranslateOutputLine16(const uint16_t* in, uint16_t* out, uint32_t width, uint8_t cmykOut) {
  if (!Set().transforms[kTransformOutput]) return;
  uint8_t* buffer = OutputLineBuffer(width * 16);
  if (!buffer) return;
  const int32_t w = static_cast<int32_t>(width);
  uint16_t* pixels = reinterpret_cast<uint16_t*>(buffer);
  uint16_t* result = reinterpret_cast<uint16_t*>(buffer + width * 8);
  const SampleLayout planes{w * 3, 1, w};
  RepackStrided16x3(in, planes, pixels, {w * 3, 3, 1}, 1, w, true);
  CmsTranslateBitmapBits(Set().transforms[kTransformOutput], pixels, kBitmap16Rgb, width, 1, width * 6, result,
                         cmykOut ? kBitmap16G3ch : kBitmap16Rgb, width * 8);
  if (cmykOut)
    RepackStrided16x4(result, {w * 4, 4, 1}, out, {w * 4, 1, w}, 1, w);
  else
    RepackStrided16x3(result, {w * 3, 3, 1}, out, planes, 1, w, true);
}

void SwapRedBlue(const uint8_t* in, uint8_t* out, uint32_t count) {
  for (uint32_t i = 0; i < count; ++i) {
    const uint8_t red = in[3 * i];
    out[3 * i + 1] = in[3 * i + 1];
    out[3 * i] = in[3 * i + 2];
    out[3 * i + 2] = red;
  }
}
