#include "ui/frame_settings_reset.h"

#include <cstring>

#include "frames/frame_list.h"
#include "frames/frame_record_init.h"
#include "records/defaults_block.h"
#include "session/frame_geometry.h"
#include "state/data_source_state.h"
#include "tone/tone_engine_state.h"

namespace {

constexpr uint8_t kAllGlobalColorRanges = 7;

void ResetToPreviewDefaults() {
  while (CountFrames() > 1) RemoveCurrentFrame();
  if (!FrameListHead()) {
    FrameRecord fresh{};
    InitPreviewFrameRecord(&fresh);
    FrameListNode* node = NewFrameNode(fresh);
    if (!node) return;
    AppendFrameNode(node);
  }
  InitPreviewFrameRecord(gCurrentFrame);
  ApplyScanAreaMargins(gCurrentFrame);
}

void ResetCorrections(FrameRecord* frame, const ToneBlock& toneTemplate) {
  const DefaultsBlock& defaults = gDataSourceState.frameStateArea.defaults;
  std::memcpy(frame->defaultSettings, DefaultsBytes(defaults, kDefaultFrameSettings), sizeof frame->defaultSettings);
  std::memcpy(frame->colorValues, DefaultsBytes(defaults, kDefaultColorValues), sizeof frame->colorValues);
  std::memset(frame->colorExtras, 0, sizeof frame->colorExtras);
  std::memset(frame->selectiveColorMatrix, 0, sizeof frame->selectiveColorMatrix);
  frame->selectiveColorMode = 1;
  std::memset(frame->colorMatrix12, 0, sizeof frame->colorMatrix12);
  for (int k = 0; k < 4; ++k)
    if (gToneChannelMask & (1u << k)) frame->tone[k] = toneTemplate;
  FrameRecord fresh{};
  InitPreviewFrameRecord(&fresh);
  frame->outputScaleX = fresh.outputScaleX;
  frame->outputScaleY = fresh.outputScaleY;
}

}  // namespace

void ResetFrameSettings(bool all) {
  const ToneBlock toneTemplate = gToneWorkingCopy;
  if (all) {
    ResetToPreviewDefaults();
  } else if (gCurrentFrame) {
    ResetCorrections(gCurrentFrame, toneTemplate);
  }
  FrameRecord* frame = gCurrentFrame;
  if (!frame) return;
  frame->globalColorRanges = kAllGlobalColorRanges;
  for (GlobalColorGroup& group : frame->globalColorOffset) std::memset(group.values, 0, sizeof group.values);
  gToneChannelMask = frame->colorMode == kColorModeRgb ? kToneMaskAllColors : kToneMaskMaster;
}
