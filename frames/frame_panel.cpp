#include "frames/frame_panel.h"

#include "state/data_source_state.h"
#include "tone/tone_engine_state.h"
#include "tone/tone_working_copy.h"

// Not built yet: there is no panel to enable.
bool UpdateFramePanelEnabling() { return true; }
// Not built yet: there are no fields to show.
void RefreshFramePanel() {}

void ReloadToneToolsForCurrentFrame() {
  gToneChannelMask = gCurrentFrame && gCurrentFrame->colorMode == kColorModeRgb ? kToneMaskAllColors : kToneMaskMaster;
  LoadToneWorkingCopy();
}

SizeLocks gFrameSizeLocks = {};

// Not built yet: there are no fields to show.
void ShowScaleFields() {}
void ShowOutputSize() {}
void ShowOriginalSize() {}
void ShowDataSize() {}
