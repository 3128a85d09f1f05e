#include "session/band_services.h"

#include "color/cmyk_tables.h"
#include "color/color_profile_set.h"
#include "color/cube_services.h"
#include "color/lab_rows.h"
#include "color/row_corrections.h"
#include "color/separation_tables.h"
#include "session/device_state.h"
#include "sharpen/band_filters.h"

namespace {

// The film set applies to negatives only where the device's film-correction switch is on.
bool FilmSetReady() { return gDeviceLayer.description.filmCorrection && IsSelectiveColorReady(); }

// The band producer's rows as the colour profile set takes them: 4-byte
// pixels (red, green, blue, 0) in place, and planar output rows.
bool ScannerLine(uint8_t* pixels, int32_t count, void* lineBuffer) {
  TranslateLine8(pixels, pixels, static_cast<uint16_t>(count), 4, kBitmapXbgrQuads, static_cast<uint8_t*>(lineBuffer));
  return true;
}
void OutputLine8(const uint8_t* in, uint8_t* out, int32_t count, bool cmyk) {
  TranslateOutputLine(in, out, static_cast<uint32_t>(count), 0, cmyk, 0);
}
void OutputLine16(const uint16_t* in, uint16_t* out, int32_t count, bool cmyk) {
  TranslateOutputLine16(in, out, static_cast<uint32_t>(count), cmyk);
}
// One planar 8-bit RGB row through the calibration's 8-bit cube, in place.
void CalibrationCubeLine(uint8_t* row, int32_t count, int32_t planeOffset) {
  const int16_t offset = static_cast<int16_t>(planeOffset);
  ApplyColorCube8(row, row, CalibrationCube8(), count, 1, offset, 1, offset, 0, 0, nullptr);
}
// One planar row through the twelve-colour matrix of the frame's regions;
// x, y place it in the frame.
void RegionMatrixLine8(uint8_t* row, int32_t width, int32_t planeOffset, int32_t x, int32_t y, bool) {
  const ColorMatrixLutSet& set = gRegionMatrixSet;
  if (!set.entries) return;
  ApplyColorMatrix8(row, row, reinterpret_cast<const ColorMatrixLut*>(set.entries->data), set.entryCount,
                    static_cast<uint16_t>(width), 1, static_cast<int16_t>(planeOffset), static_cast<uint16_t>(x),
                    static_cast<uint16_t>(y), &set);
}
void RegionMatrixLine16(uint16_t* row, int32_t width, int32_t planeOffset, int32_t x, int32_t y, bool) {
  const ColorMatrixLutSet& set = gRegionMatrixSet;
  if (!set.entries) return;
  ApplyColorMatrix16(row, row, reinterpret_cast<const ColorMatrixLut*>(set.entries->data), set.entryCount, width, 1,
                     static_cast<uint16_t>(planeOffset), static_cast<uint16_t>(x), static_cast<uint16_t>(y), &set);
}
// Planar L*a*b* rows into four planar ink rows.
void SeparateLabRow16(const uint16_t* lab, uint16_t* out, int32_t count) {
  const uint32_t plane = static_cast<uint32_t>(count);
  SeparateLine16(lab, out, count, 1, plane, 1, plane);
}
void SeparateLabRow16To8(const uint16_t* lab, uint8_t* out, int32_t count) {
  const uint32_t plane = static_cast<uint32_t>(count);
  SeparateLine16To8(lab, out, count, 1, plane, 1, plane);
}

const BandServices kDefaultServices = {
    FilmSetReady, AreRegionCorrectionsReady, IsScannerTransformReady, IsOutputTransformReady,
    AreSeparationTablesReady, SelectiveColorLine8, SelectiveColorLine16, RegionMatrixLine8, RegionMatrixLine16,
    SharpenBandA, SharpenBandB, ScannerLine, CalibrationCubeLine, OutputLine8, OutputLine16,
    SeparateLinePlanar8, SeparateLabRow16, SeparateLabRow16To8, ConvertRgb8ToLab8, ConvertRgb8ToLab16,
    ConvertRgb16ToLab16,
};

const BandServices* gServices = &kDefaultServices;

}  // namespace

const BandServices& DefaultBandServices() { return kDefaultServices; }
void SetBandServices(const BandServices* services) { gServices = services ? services : &kDefaultServices; }
const BandServices& CurrentBandServices() { return *gServices; }
