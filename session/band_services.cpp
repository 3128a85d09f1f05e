#include "session/band_services.h"

#include "color/cmyk_tables.h"
#include "color/color_profile_set.h"
#include "color/cube_services.h"
#include "color/lab_rows.h"
#include "color/row_corrections.h"
#include "color/separation_tables.h"
#include "sharpen/band_filters.h"

namespace {

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
    IsSelectiveColorReady, AreRegionCorrectionsReady, IsScannerTransformReady, IsOutputTransformReady,
    AreSeparationTablesReady, ApplySelectiveColor8, ApplySelectiveColor16, ApplyColorMatrix8, ApplyColorMatrix16,
    SharpenBandA, SharpenBandB, ScannerLine, ApplyColorCube8, OutputLine8, OutputLine16,
    SeparateLinePlanar8, SeparateLabRow16, SeparateLabRow16To8, ConvertRgb8ToLab8, ConvertRgb8ToLab16,
    ConvertRgb16ToLab16,
};

const BandServices* gServices = &kDefaultServices;

}  // namespace

const BandServices& DefaultBandServices() { return kDefaultServices; }
void SetBandServices(const BandServices* services) { gServices = services ? services : &kDefaultServices; }
const BandServices& CurrentBandServices() { return *gServices; }
