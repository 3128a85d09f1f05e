#include "frames/frame_record_init.h"

#include <cstring>

#include "foundation/fixed_point.h"

namespace {

const uint16_t kGradationDefaults[7] = {0, 32, 64, 128, 192, 224, 256};
const int16_t kScreenRuling = 152;
const uint16_t kScanResolution = 200;
const uint16_t kScanPercent = 100;

void InitToneBlock(ToneBlock* block, bool fromScratch, const DefaultsBlock& defaults) {
  block->version = 1;
  std::memcpy(block->gradationX, kGradationDefaults, sizeof kGradationDefaults);
  std::memcpy(block->gradationY, kGradationDefaults, sizeof kGradationDefaults);
  block->inputLow = 0;
  block->inputHigh = 256;
  block->outputLow = fromScratch ? 0 : GetDefault(defaults, kDefaultToneOutputLow);
  block->outputHigh = fromScratch ? 256 : GetDefault(defaults, kDefaultToneOutputHigh);
  block->gammaFactor = 1.0;
  block->contrast = 0;
  block->brightness = 0;
  block->midtoneShift = 0;
  block->upperContrast = 0;
  block->lowerContrast = 0;
  block->shiftMode = 0;
  block->endLow = fromScratch ? 0 : GetDefault(defaults, kDefaultToneEndLow);
  block->endHigh = fromScratch ? 256 : GetDefault(defaults, kDefaultToneEndHigh);
  std::memset(block->fixedPointValues, 0, sizeof block->fixedPointValues);
}

// The stored matrix holds signed bytes; the frame widens them.
void WidenSignedBytes(const uint8_t* bytes, int16_t* out, int count) {
  for (int i = 0; i < count; ++i) out[i] = static_cast<int8_t>(bytes[i]);
}

}  // namespace

void InitFrameRecordWith(FrameRecord* record, bool fromScratch, const FrameInitInputs& inputs) {
  const DefaultsBlock& defaults = *inputs.defaults;
  record->version = kFrameRecordVersion;
  record->initMark = 88;
  if (fromScratch) {
    std::memset(record->colorValues, 0, sizeof record->colorValues);
  } else {
    std::memcpy(record->colorValues, DefaultsBytes(defaults, kDefaultColorValues), sizeof record->colorValues);
  }
  std::memset(record->colorExtras, 0, sizeof record->colorExtras);
  WidenSignedBytes(DefaultsBytes(defaults, kDefaultSelectiveColorMatrix), record->selectiveColorMatrix, 36);
  if (!fromScratch) {
    record->scanResolutionX = kScanResolution;
    record->scanResolutionY = kScanResolution;
    record->scanPercentByteX = kScanPercent;
    record->scanPercentByteY = kScanPercent;
  }
  record->originX = 0.0;
  record->originY = 0.0;
  record->width = inputs.scanAreaWidth;
  record->height = inputs.scanAreaHeight;
  record->qualityFactor = GetDefault(defaults, kDefaultQualityFactor);
  record->screenRuling = kScreenRuling;
  record->outputResolution = static_cast<int16_t>(record->qualityFactor * kScreenRuling);  // truncated
  record->bitsPerChannel = 8;
  record->colorMode = 2;
  record->lineArtDither = GetDefault(defaults, kDefaultLineArtDither);
  record->setting937 = 0;
  record->setting938 = 3;
  record->filterMode = fromScratch ? 0 : (inputs.deviceFilterFlag ? 5 : 1);
  record->sharpen941 = 10;
  record->sharpen942 = 50;
  record->sharpen944 = 100;
  record->sharpen948 = 0;
  record->fastScan = GetDefault(defaults, fromScratch ? kDefaultFastPrescan : kDefaultFastScan);
  for (ToneBlock& block : record->tone) InitToneBlock(&block, fromScratch, defaults);
  std::memcpy(record->defaultSettings, DefaultsBytes(defaults, kDefaultFrameSettings), sizeof record->defaultSettings);
  record->invert = 0;
  if (!fromScratch) {
    record->focusMode = inputs.deviceFocusFlag ? 1 : 0;
    std::memcpy(record->focusRect, inputs.focusRect, sizeof record->focusRect);
  }
  record->mirrorH = inputs.mirrorH;
  record->mirrorV = inputs.mirrorV;
  record->quarterTurns = inputs.quarterTurns;
  if (!fromScratch) record->autoLampBrightness = inputs.lampBrightnessDefault;
  record->sharpenFlag = 0;
  record->imageType = 0;
  record->sharpen1488 = 50;
  record->sharpen1490 = 50;
  if (!fromScratch) {
    record->scanPercentX = kScanPercent;
    record->scanPercentY = kScanPercent;
  }
  record->hasName = 0;
  record->scalesFollowList = 0;
  if (!fromScratch) record->prescanSetting = 0;
  std::memset(record->name, 0, sizeof record->name);
  record->dustRemoval = 0;
  record->multiScan = 0;
  if (!fromScratch) {
    record->fixedScaleX = FixRatio16(static_cast<int16_t>(kScanPercent), 1);
    record->fixedScaleY = FixRatio16(static_cast<int16_t>(kScanPercent), 1);
  }
  record->filmProfileValue = 0.5f;
  record->outputScaleX = 100.0f;
  record->outputScaleY = 100.0f;
  record->selectiveColorMode = GetDefault(defaults, kDefaultSelectiveColorMode);
  std::memcpy(record->colorMatrix12, DefaultsBytes(defaults, kDefaultColorMatrix12), sizeof record->colorMatrix12);
  std::memset(record->maskName, 0, sizeof record->maskName);
  record->screenRulingCopy = kScreenRuling;
  for (GlobalColorGroup& group : record->globalColorOffset) std::memset(group.values, 0, sizeof group.values);
  record->globalColorRanges = 7;
  record->castRemoval = GetDefault(defaults, kDefaultCastRemoval);
  std::memset(record->fixedPoints, 0, sizeof record->fixedPoints);
  record->bitDepthChoice = 0;
}
