// The block of global settings, stored whole as the "Defaults" record. Each
// field belongs to the subsystem that uses it; this table names every field
// by its byte offset and width so that no other file spells an offset.
#pragma once

#include <cstdint>
#include <cstring>

constexpr uint32_t kDefaultsBlockSize = 3976;

struct DefaultsBlock {
  uint8_t bytes[kDefaultsBlockSize];
};

static_assert(sizeof(DefaultsBlock) == kDefaultsBlockSize, "stored size");

// A scalar field of type T at a byte offset.
template <typename T>
struct DefaultsField {
  uint16_t offset;
};

// A run of bytes (texts, byte arrays, arrays of values).
struct DefaultsArea {
  uint16_t offset;
  uint16_t size;
};

// General and scanning.
constexpr DefaultsField<double> kDefaultQualityFactor{0};
constexpr DefaultsField<uint8_t> kDefaultLineArtDither{8};
constexpr DefaultsField<uint8_t> kDefaultLivePreview{10};
constexpr DefaultsField<uint8_t> kDefaultFastScan{11};
constexpr DefaultsField<uint8_t> kDefaultFastPrescan{12};
constexpr DefaultsField<double> kDefaultGammaTransparency{16};
constexpr DefaultsField<double> kDefaultGammaReflective{24};
constexpr DefaultsField<uint8_t> kDefaultColorModelRgb{37};      // 1 RGB levels, 0 CMY ink percent
constexpr DefaultsField<uint8_t> kDefaultSizeUnit{38};
constexpr DefaultsField<uint8_t> kDefaultDropoutColor{97};
constexpr DefaultsField<uint8_t> kDefaultColorCorrectionOn{98};
constexpr DefaultsField<int16_t> kDefaultDensitometerRadius{890};
constexpr DefaultsField<uint8_t> kDefaultNegativeMode{898};
constexpr DefaultsField<uint8_t> kDefaultToolStripSwitch{1176};
constexpr DefaultsField<uint8_t> kDefaultMonochromePrescan{1177};
constexpr DefaultsField<uint8_t> kDefaultAutoWithFeeder{1180};
constexpr DefaultsField<uint32_t> kDefaultAperture{1184};
constexpr DefaultsField<uint8_t> kDefaultReopenAfterScan{1900};
constexpr DefaultsField<uint8_t> kDefaultInterpolation{1924};
constexpr DefaultsField<uint8_t> kDefaultFrameShrink{1932};
constexpr DefaultsField<uint32_t> kDefaultSettingsRecordId{1832};
constexpr DefaultsField<uint32_t> kDefaultPrescanFactor{3932};
constexpr DefaultsField<uint8_t> kDefaultLimitGammaSlope{3664};   // also the linear toe of the gamma tables
constexpr DefaultsField<uint8_t> kDefaultRealTimeCorrectionOff{3937};
constexpr DefaultsField<uint8_t> kDefaultSingleFocusInBatch{3938};
constexpr DefaultsField<uint8_t> kDefaultMaxFrameWithFeeder{3952};
constexpr DefaultsField<uint8_t> kDefaultZirOutputReduction{3953};
constexpr DefaultsField<uint8_t> kDefaultFireWireBoost{3954};
constexpr DefaultsField<uint8_t> kDefaultSuperFineScan{3956};
constexpr DefaultsField<double> kDefaultZirGamma{3960};
// The batch file output: the number added to each file number, and whether
// the save-as dialog starts it again at every batch.
constexpr DefaultsField<int16_t> kDefaultBatchStartNumber{3968};
constexpr DefaultsField<uint8_t> kDefaultBatchCounterReset{3970};

// Lamp control: the overall value and the three channel lamps.
constexpr DefaultsField<int16_t> kDefaultLampOverall{1902};
constexpr DefaultsField<int16_t> kDefaultLampRed{892};
constexpr DefaultsField<int16_t> kDefaultLampGreen{894};
constexpr DefaultsField<int16_t> kDefaultLampBlue{896};

// Tone defaults of new frames and the automatic adjustment.
constexpr DefaultsField<int16_t> kDefaultToneOutputLow{32};
constexpr DefaultsField<int16_t> kDefaultToneOutputHigh{34};
constexpr DefaultsField<int16_t> kDefaultToneEndLow{1462};
constexpr DefaultsField<int16_t> kDefaultToneEndHigh{1464};
constexpr DefaultsField<int8_t> kDefaultAutoHighlightThreshold{36};
constexpr DefaultsField<int8_t> kDefaultAutoShadowThreshold{1182};
constexpr DefaultsField<uint8_t> kDefaultAutoHighlightLevels{1828};
constexpr DefaultsField<uint8_t> kDefaultAutoShadowLevels{1829};
constexpr DefaultsField<int16_t> kDefaultHighlightTargetPercent{42};
constexpr DefaultsField<int16_t> kDefaultShadowTargetInverse{44};  // 100 - the shown percent
constexpr DefaultsField<uint8_t> kDefaultCastRemoval{3936};
constexpr DefaultsField<float> kDefaultAutoPipetteMidFactor1{1168};
constexpr DefaultsField<float> kDefaultAutoPipetteMidFactor2{1172};
constexpr DefaultsField<uint8_t> kDefaultMidPipetteTarget{1179};
constexpr DefaultsField<uint8_t> kDefaultMidPipetteTargetOn{1183};
constexpr DefaultsField<uint8_t> kDefaultAutoContrastReflective{1827};
constexpr DefaultsField<uint8_t> kDefaultAutoContrastTransparency{1926};
constexpr DefaultsArea kDefaultFilmLimits{1466, 8};               // low/high byte pairs of channels 0-3
constexpr DefaultsField<uint8_t> kDefaultSecondFilmKind{1927};
constexpr DefaultsArea kDefaultFixedPointColorModels{1908, 16};   // u32 per fixed point 1-4

// Settings that new frames copy.
constexpr DefaultsArea kDefaultFrameSettings{46, 9};              // the frame's bytes 1432-1440
constexpr DefaultsArea kDefaultColorValues{55, 6};                // the frame's bytes 8-13
constexpr DefaultsArea kDefaultSelectiveColorMatrix{61, 36};      // signed bytes, 6 x 6
constexpr DefaultsField<uint32_t> kDefaultSelectiveColorMode{2464};
constexpr DefaultsArea kDefaultColorMatrix12{2468, 144};          // i16, 12 x 6

// Colour management.
constexpr DefaultsField<uint8_t> kDefaultThreeChannelOutput{633};
constexpr DefaultsArea kDefaultSeparationTableName{634, 256};
constexpr DefaultsField<uint8_t> kDefaultSeparationTablesInUse{1164};
constexpr DefaultsField<int16_t> kDefaultInputCmsMode{1456};
constexpr DefaultsField<int16_t> kDefaultOutputCmsMode{1458};
constexpr DefaultsField<float> kDefaultDisplayGamma{1476};
constexpr DefaultsArea kDefaultPrimaries{1480, 24};               // f32 (x, y) of red, green, blue
constexpr DefaultsArea kDefaultWhitePoint{1504, 8};               // f32 (x, y)
constexpr DefaultsArea kDefaultCmykSourceName{1512, 260};
constexpr DefaultsField<uint8_t> kDefaultMonitorMatchingMode{1830};
constexpr DefaultsField<uint8_t> kDefaultEmbedIccProfile{1831};
constexpr DefaultsArea kDefaultCalibrationProfileName{1836, 64};
constexpr DefaultsField<uint8_t> kDefaultCmsWarningSuppressed{1901};
constexpr DefaultsField<uint32_t> kDefaultRenderingIntent{1928};
constexpr DefaultsArea kDefaultScannerProfileReflective{2612, 260};
constexpr DefaultsArea kDefaultScannerProfileTransparency{2872, 260};
constexpr DefaultsArea kDefaultInternalProfile{3132, 260};
constexpr DefaultsArea kDefaultOutputProfile{3392, 260};

template <typename T>
constexpr DefaultsArea AreaOf(DefaultsField<T> field) {
  return DefaultsArea{field.offset, static_cast<uint16_t>(sizeof(T))};
}
constexpr DefaultsArea AreaOf(DefaultsArea area) { return area; }

// Every named field, so that the compiler checks that each one lies inside
// the block and that no two of them overlap.
constexpr DefaultsArea kAllDefaultsFields[] = {
    AreaOf(kDefaultQualityFactor),
    AreaOf(kDefaultLineArtDither),
    AreaOf(kDefaultLivePreview),
    AreaOf(kDefaultFastScan),
    AreaOf(kDefaultFastPrescan),
    AreaOf(kDefaultGammaTransparency),
    AreaOf(kDefaultGammaReflective),
    AreaOf(kDefaultColorModelRgb),
    AreaOf(kDefaultSizeUnit),
    AreaOf(kDefaultDropoutColor),
    AreaOf(kDefaultColorCorrectionOn),
    AreaOf(kDefaultDensitometerRadius),
    AreaOf(kDefaultNegativeMode),
    AreaOf(kDefaultToolStripSwitch),
    AreaOf(kDefaultMonochromePrescan),
    AreaOf(kDefaultAutoWithFeeder),
    AreaOf(kDefaultAperture),
    AreaOf(kDefaultReopenAfterScan),
    AreaOf(kDefaultInterpolation),
    AreaOf(kDefaultFrameShrink),
    AreaOf(kDefaultSettingsRecordId),
    AreaOf(kDefaultPrescanFactor),
    AreaOf(kDefaultLimitGammaSlope),
    AreaOf(kDefaultRealTimeCorrectionOff),
    AreaOf(kDefaultSingleFocusInBatch),
    AreaOf(kDefaultMaxFrameWithFeeder),
    AreaOf(kDefaultZirOutputReduction),
    AreaOf(kDefaultFireWireBoost),
    AreaOf(kDefaultSuperFineScan),
    AreaOf(kDefaultZirGamma),
    AreaOf(kDefaultBatchStartNumber),
    AreaOf(kDefaultBatchCounterReset),
    AreaOf(kDefaultLampOverall),
    AreaOf(kDefaultLampRed),
    AreaOf(kDefaultLampGreen),
    AreaOf(kDefaultLampBlue),
    AreaOf(kDefaultToneOutputLow),
    AreaOf(kDefaultToneOutputHigh),
    AreaOf(kDefaultToneEndLow),
    AreaOf(kDefaultToneEndHigh),
    AreaOf(kDefaultAutoHighlightThreshold),
    AreaOf(kDefaultAutoShadowThreshold),
    AreaOf(kDefaultAutoHighlightLevels),
    AreaOf(kDefaultAutoShadowLevels),
    AreaOf(kDefaultHighlightTargetPercent),
    AreaOf(kDefaultShadowTargetInverse),
    AreaOf(kDefaultCastRemoval),
    AreaOf(kDefaultAutoPipetteMidFactor1),
    AreaOf(kDefaultAutoPipetteMidFactor2),
    AreaOf(kDefaultMidPipetteTarget),
    AreaOf(kDefaultMidPipetteTargetOn),
    AreaOf(kDefaultAutoContrastReflective),
    AreaOf(kDefaultAutoContrastTransparency),
    AreaOf(kDefaultFilmLimits),
    AreaOf(kDefaultSecondFilmKind),
    AreaOf(kDefaultFixedPointColorModels),
    AreaOf(kDefaultFrameSettings),
    AreaOf(kDefaultColorValues),
    AreaOf(kDefaultSelectiveColorMatrix),
    AreaOf(kDefaultSelectiveColorMode),
    AreaOf(kDefaultColorMatrix12),
    AreaOf(kDefaultThreeChannelOutput),
    AreaOf(kDefaultSeparationTableName),
    AreaOf(kDefaultSeparationTablesInUse),
    AreaOf(kDefaultInputCmsMode),
    AreaOf(kDefaultOutputCmsMode),
    AreaOf(kDefaultDisplayGamma),
    AreaOf(kDefaultPrimaries),
    AreaOf(kDefaultWhitePoint),
    AreaOf(kDefaultCmykSourceName),
    AreaOf(kDefaultMonitorMatchingMode),
    AreaOf(kDefaultEmbedIccProfile),
    AreaOf(kDefaultCalibrationProfileName),
    AreaOf(kDefaultCmsWarningSuppressed),
    AreaOf(kDefaultRenderingIntent),
    AreaOf(kDefaultScannerProfileReflective),
    AreaOf(kDefaultScannerProfileTransparency),
    AreaOf(kDefaultInternalProfile),
    AreaOf(kDefaultOutputProfile)};

constexpr bool DefaultsFieldsAreDisjoint() {
  for (const DefaultsArea& a : kAllDefaultsFields) {
    if (a.offset + a.size > kDefaultsBlockSize) return false;
    for (const DefaultsArea& b : kAllDefaultsFields) {
      if (&a != &b && a.offset < b.offset + b.size && b.offset < a.offset + a.size) return false;
    }
  }
  return true;
}

static_assert(DefaultsFieldsAreDisjoint(), "named fields inside the block and apart");

// Fields are read and written by copy: the block is a byte image of the record.
template <typename T>
T GetDefault(const DefaultsBlock& block, DefaultsField<T> field) {
  T value;
  std::memcpy(&value, block.bytes + field.offset, sizeof(T));
  return value;
}

template <typename T>
void SetDefault(DefaultsBlock& block, DefaultsField<T> field, T value) {
  std::memcpy(block.bytes + field.offset, &value, sizeof(T));
}

inline const uint8_t* DefaultsBytes(const DefaultsBlock& block, DefaultsArea area) { return block.bytes + area.offset; }
inline uint8_t* DefaultsBytes(DefaultsBlock& block, DefaultsArea area) { return block.bytes + area.offset; }
