#include "tone/tone_engine_state.h"

#include "sharpen/negative_curves.h"
#include "tone/gamma_tables.h"

ToneBlock gToneWorkingCopy;
uint8_t gToneChannelMask = kToneMaskMaster;
uint8_t gGreyChannelChoice = 0;

namespace {

ToneEngineSources gSources = {nullptr, nullptr, nullptr};
DefaultsBlock gUnboundDefaults;

}  // namespace

void BindToneEngine(const ToneEngineSources& sources) {
  gSources = sources;
  // The film curves of 8-bit sources follow the gamma of the original type.
  gNegativeCurrentGamma = CurrentGamma;
}

FrameRecord* ToneCurrentFrame() { return gSources.currentFrame ? *gSources.currentFrame : nullptr; }

DefaultsBlock& ToneDefaults() { return gSources.defaults ? *gSources.defaults : gUnboundDefaults; }

bool ToneTransparentOriginal() { return gSources.lightSourceFlag && *gSources.lightSourceFlag != 0; }

bool ToneNegativeOriginal() {
  const DefaultsBlock& defaults = ToneDefaults();
  return GetDefault(defaults, kDefaultNegativeMode) != 0 && GetDefault(defaults, kDefaultSecondFilmKind) == 0;
}

constexpr int16_t kCalibrationCmsMode = 3;

bool ToneCalibrationInForce() { return GetDefault(ToneDefaults(), kDefaultInputCmsMode) == kCalibrationCmsMode; }
