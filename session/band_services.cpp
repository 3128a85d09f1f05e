#include "session/band_services.h"

#include "color/lab_rows.h"
#include "color/line_transforms.h"
#include "color/row_corrections.h"
#include "color/separation_tables.h"
#include "sharpen/band_filters.h"

namespace {

const BandServices kDefaultServices = {
    IsSelectiveColorReady, AreRegionCorrectionsReady, IsScannerTransformReady, IsOutputTransformReady,
    AreSeparationTablesReady, ApplySelectiveColor8, ApplySelectiveColor16, ApplyColorMatrix8, ApplyColorMatrix16,
    SharpenBandA, SharpenBandB, TranslateLine8, ApplyColorCube8, TranslateOutputLine, TranslateOutputLine16,
    SeparateLinePlanar8, SeparateLine16, SeparateLine16To8, ConvertRgb8ToLab8, ConvertRgb8ToLab16,
    ConvertRgb16ToLab16,
};

const BandServices* gServices = &kDefaultServices;

}  // namespace

const BandServices& DefaultBandServices() { return kDefaultServices; }
void SetBandServices(const BandServices* services) { gServices = services ? services : &kDefaultServices; }
const BandServices& CurrentBandServices() { return *gServices; }
