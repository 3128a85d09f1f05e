#include "ui/defaults_record.h"

#include <cmath>
#include <cstring>

#include "color/cmyk_tables.h"
#include "color/color_calibration.h"
#include "color/color_management.h"
#include "foundation/record_store.h"
#include "foundation/record_type.h"
#include "foundation/system.h"
#include "state/data_source_state.h"
#include "state/module_state.h"
#include "tone/table_utils.h"
#include "ui/monitor_matching.h"
#include "ui/profile_folder.h"
#include "ui/window_state_records.h"

namespace {

constexpr RecordType kActivePointsType = TagFromString("GAcP");
constexpr RecordType kColourBalanceGearType = TagFromString("CBGe");
constexpr RecordType kDefaultsType = TagFromString("DFLT");
constexpr int32_t kSmallRecordId = 256;
constexpr int32_t kDefaultsRecordId = 16000;
constexpr uint32_t kDefaultSeparationTableStringId = 823;

// An integer field of the built-in list: offset, width in bytes, value.
struct BuiltInInteger {
  uint16_t offset;
  uint8_t width;
  int32_t value;
};

// The fields the device capability record supplies (11, 12, 97, 892-898,
// 1902) are 0: an image file has none of those abilities.
constexpr BuiltInInteger kBuiltInIntegers[] = {
    {8, 1, 0},       {10, 1, 1},     {11, 1, 0},     {12, 1, 0},     {32, 2, 0},      {34, 2, 256},
    {36, 1, 2},      {37, 1, 1},     {38, 1, 1},     {39, 1, 0},     {40, 2, 0},      {42, 2, 2},
    {44, 2, 2},      {97, 1, 0},     {98, 1, 1},     {628, 4, 0},    {632, 1, 0},     {633, 1, 1},
    {634, 1, 0},     {890, 2, 1},    {892, 2, 0},    {894, 2, 0},    {896, 2, 0},     {898, 1, 0},
    {1164, 1, 0},    {1165, 1, 0},   {1168, 4, 0},   {1172, 4, 0},   {1176, 1, 0},    {1177, 1, 0},
    {1178, 1, 0},    {1179, 1, 50},  {1180, 1, 0},   {1181, 1, 1},   {1182, 1, 0},    {1183, 1, 0},
    {1184, 4, 0},    {1188, 2, 9999}, {1456, 2, 1},  {1458, 2, 1},   {1460, 2, 1},    {1462, 2, 0},
    {1464, 2, 256},  {1772, 2, 10},  {1774, 2, 10},  {1776, 2, 10},  {1784, 1, 0},    {1824, 1, 0},
    {1827, 1, 1},    {1828, 1, 0},   {1829, 1, 0},   {1830, 1, 0},   {1831, 1, 1},    {1832, 4, 0},
    {1836, 1, 0},    {1901, 1, 0},   {1902, 2, 0},   {1925, 1, 1},   {1926, 1, 0},    {1927, 1, 0},
    {1928, 4, 0},    {1932, 1, 10},  {2460, 4, 0},   {2464, 4, 1},   {3652, 1, 0},    {3653, 1, 0},
    {3656, 4, 0},    {3660, 2, 1},   {3662, 2, 0},   {3664, 1, 0},   {3666, 1, 0},    {3932, 4, 1},
    {3936, 1, 100},  {3937, 1, 0},   {3938, 1, 0},   {3948, 1, 0},   {3949, 1, 1},    {3952, 1, 1},
    {3953, 1, 0},    {3954, 1, 0},   {3956, 1, 0}};

constexpr uint8_t kFrameSettings[9] = {36, 254, 254, 254, 36, 254, 254, 254, 36};
// Runs that start empty: the colour values and the selective-colour matrix,
// the CMYK source name, the 12 x 6 matrix and the four profile paths.
constexpr DefaultsArea kBuiltInEmptyAreas[] = {{55, 42}, {1512, 260}, {2468, 144}, {2612, 4 * 260}};

// Fields whose meaning belongs to subsystems not built yet; named by offset.
constexpr DefaultsField<uint8_t> kDefaultChoice3949{3949};
constexpr DefaultsField<uint16_t> kDefaultCount1188{1188};
constexpr DefaultsField<uint16_t> kDefaultChoice1460{1460};

// A small record is taken only when it has exactly the expected size.
bool ReadExactRecord(RecordType type, int32_t id, void* buffer, uint32_t size) {
  uint32_t stored = 0;
  return RecordStoreSize(gAppStore, type, id, &stored) && stored == size &&
         RecordStoreRead(gAppStore, type, id, buffer, size);
}

void WriteInteger(DefaultsBlock& block, const BuiltInInteger& field) {
  const uint32_t value = static_cast<uint32_t>(field.value);
  for (int i = 0; i < field.width; ++i) block.bytes[field.offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

bool HostOffersColourCallback() { return gSession && gSession->colourServices.value; }

void ClearText(DefaultsBlock& block, DefaultsArea area) { std::memset(DefaultsBytes(block, area), 0, area.size); }

// The monitor-matching mode the session can honour.
void ReconcileMonitorMatching(DefaultsBlock& block) {
  uint8_t mode = GetDefault(block, kDefaultMonitorMatchingMode);
  if (!HostOffersColourCallback() && mode == 2) mode = gIcmEnabled ? 1 : 0;
  // Without colour management the embedded profile cannot be used either.
  if (!gIcmEnabled) {
    if (mode == 1) mode = HostOffersColourCallback() ? 2 : 0;
    if (GetDefault(block, kDefaultInputCmsMode) == kInputColorEmbeddedProfile) {
      SetDefault<int16_t>(block, kDefaultInputCmsMode, kInputColorNone);
    }
  }
  SetDefault(block, kDefaultMonitorMatchingMode, mode);
}

void DropSeparation(DefaultsBlock& block) {
  SetDefault<uint8_t>(block, kDefaultThreeChannelOutput, 1);
  SetDefault<uint8_t>(block, kDefaultSeparationTablesInUse, 0);
  DefaultsBytes(block, kDefaultSeparationTableName)[0] = 0;
}

// The separation table and the CMYK conversion tables the block names.
void LoadSeparationAndConversionTables(DefaultsBlock& block) {
  if (GetDefault(block, kDefaultOutputCmsMode) == 3) {
    SetDefault<int16_t>(block, kDefaultOutputCmsMode, 1);
    DropSeparation(block);
  } else if (GetDefault(block, kDefaultSeparationTablesInUse) &&
             LoadSeparationTableFromFolder(reinterpret_cast<const char*>(
                 DefaultsBytes(block, kDefaultSeparationTableName))) != 0) {
    DropSeparation(block);
  }

  if (!LoadCmykConversionTables()) {
    FreeCmykConversionTables();
    ClearText(block, kDefaultCmykSourceName);
    if (GetDefault(block, kDefaultOutputCmsMode) == 5) {
      SetDefault<int16_t>(block, kDefaultOutputCmsMode, 1);
      SetDefault<uint8_t>(block, kDefaultThreeChannelOutput, 1);
    }
  } else if (DefaultsBytes(block, kDefaultCmykSourceName)[0] != 0) {
    return;
  }
  // No usable name: the standard separation table.
  char* name = reinterpret_cast<char*>(DefaultsBytes(block, kDefaultCmykSourceName));
  ClearText(block, kDefaultCmykSourceName);
  LoadResourceString(GetModuleInstance(), kDefaultSeparationTableStringId, name, kDefaultCmykSourceName.size);
  if (!LoadCmykConversionTables()) {
    FreeCmykConversionTables();
    ClearText(block, kDefaultCmykSourceName);
  }
}

}  // namespace

void SetBuiltInDefaults(DefaultsBlock& block) {
  SetDefault(block, kDefaultQualityFactor, 1.0);
  SetDefault(block, kDefaultGammaTransparency, 2.0);
  SetDefault(block, kDefaultGammaReflective, 1.8);
  SetDefault(block, kDefaultZirGamma, 1.0);
  SetDefault(block, DefaultsField<float>{1780}, 1.0f);
  SetDefault(block, DefaultsField<float>{1820}, 1.0f);
  for (const BuiltInInteger& field : kBuiltInIntegers) WriteInteger(block, field);
  std::memcpy(DefaultsBytes(block, kDefaultFrameSettings), kFrameSettings, sizeof kFrameSettings);
  for (const DefaultsArea& area : kBuiltInEmptyAreas) ClearText(block, area);
  SetupMonitorMatching(block);
}

void CheckLoadedDefaults(DefaultsBlock& block) {
  const uint8_t choice = GetDefault(block, kDefaultChoice3949);
  SetDefault<uint8_t>(block, kDefaultChoice3949, choice < 1 ? 1 : choice > 2 ? 2 : choice);
  if (GetDefault(block, kDefaultZirOutputReduction) > 1) SetDefault<uint8_t>(block, kDefaultZirOutputReduction, 0);
  const double divisor = GetDefault(block, kDefaultZirGamma);
  // A stored NaN would pass both limits and reach every table built with it.
  SetDefault(block, kDefaultZirGamma, std::isnan(divisor) ? 1.0 : divisor < 0.4 ? 0.4 : divisor > 3.0 ? 3.0 : divisor);
  EnforceMinimumRanges(DefaultsBytes(block, kDefaultFilmLimits));
  const uint8_t target = GetDefault(block, kDefaultMidPipetteTarget);
  if (target == 0) SetDefault<uint8_t>(block, kDefaultMidPipetteTarget, 50);
  if (target > 100) SetDefault<uint8_t>(block, kDefaultMidPipetteTarget, 100);
  if (GetDefault(block, kDefaultInputCmsMode) == 0) SetDefault<int16_t>(block, kDefaultInputCmsMode, 1);
  if (GetDefault(block, kDefaultOutputCmsMode) == 0) SetDefault<int16_t>(block, kDefaultOutputCmsMode, 1);
}

void ReconcileDefaultsWithColourServices(DefaultsBlock& block) {
  ReconcileMonitorMatching(block);
  // The image source offers calibration, so a calibration in force stays.
  if (GetDefault(block, kDefaultInputCmsMode) == kInputColorCalibration) {
    if (!LoadCalibrationProfile()) {
      DefaultsBytes(block, kDefaultCalibrationProfileName)[0] = 0;
      SetDefault<int16_t>(block, kDefaultInputCmsMode, kInputColorNone);
    }
    RebuildCalibrationTables();
  }
  const int16_t output = GetDefault(block, kDefaultOutputCmsMode);
  if (output == 4 || (output == 5 && !gIcmEnabled)) SetDefault<int16_t>(block, kDefaultOutputCmsMode, 1);
  if (!gIcmEnabled) {
    const int16_t input = GetDefault(block, kDefaultInputCmsMode);
    if (input == kInputColorScannerProfiles || input == kInputColorEmbeddedProfile) {
      SetDefault<int16_t>(block, kDefaultInputCmsMode, kInputColorNone);
    }
    if (GetDefault(block, kDefaultOutputCmsMode) == 2) {
      SetDefault<int16_t>(block, kDefaultOutputCmsMode, 1);
      SetDefault<uint8_t>(block, kDefaultThreeChannelOutput, 1);
    }
    SetDefault<uint8_t>(block, kDefaultEmbedIccProfile, 0);
  }
  if (GetDefault(block, kDefaultMonochromePrescan) && GetDefault(block, kDefaultDropoutColor) == 0) {
    SetDefault<uint8_t>(block, kDefaultDropoutColor, 2);
  }
  if (GetDefault(block, kDefaultCount1188) == 0) SetDefault<uint16_t>(block, kDefaultCount1188, 9999);
  if (GetDefault(block, kDefaultToneEndHigh) == 0) SetDefault<int16_t>(block, kDefaultToneEndHigh, 256);
  if (GetDefault(block, kDefaultChoice1460) == 0) SetDefault<uint16_t>(block, kDefaultChoice1460, 1);
  if (GetDefault(block, kDefaultAperture) == 0) SetDefault<uint32_t>(block, kDefaultAperture, 1);
  SetupMonitorMatching(block);
  LoadSeparationAndConversionTables(block);
}

void LoadColourBalanceAndDefaults() {
  ReadExactRecord(kActivePointsType, kSmallRecordId, gDataSourceState.activePoints,
                  sizeof gDataSourceState.activePoints);
  gDataSourceState.colourBalanceGear = 1;
  ReadExactRecord(kColourBalanceGearType, kSmallRecordId, &gDataSourceState.colourBalanceGear,
                  sizeof gDataSourceState.colourBalanceGear);
  SetBuiltInDefaults(gDefaults);
  // A record of another size is not this block: the built-in values stay.
  DefaultsBlock stored;
  if (ReadExactRecord(kDefaultsType, kDefaultsRecordId, &stored, sizeof stored)) gDefaults = stored;
  CheckLoadedDefaults(gDefaults);
  LoadPreviewBox();
  ReconcileDefaultsWithColourServices(gDefaults);
}

void SaveColourBalanceAndDefaults() {
  if (!gAppStore) return;
  RecordStoreDelete(gAppStore, kActivePointsType, kSmallRecordId);
  RecordStoreAdd(gAppStore, kActivePointsType, kSmallRecordId, gDataSourceState.activePoints,
                 sizeof gDataSourceState.activePoints, "ActivePoints");
  RecordStoreDelete(gAppStore, kColourBalanceGearType, kSmallRecordId);
  RecordStoreAdd(gAppStore, kColourBalanceGearType, kSmallRecordId, &gDataSourceState.colourBalanceGear,
                 sizeof gDataSourceState.colourBalanceGear, "ColBalGear");
  while (RecordStoreCount(gAppStore, kDefaultsType) > 0 && RecordStoreDeleteIndexed(gAppStore, kDefaultsType, 1)) {
  }
  RecordStoreAdd(gAppStore, kDefaultsType, kDefaultsRecordId, &gDefaults, sizeof gDefaults, "Defaults");
}
