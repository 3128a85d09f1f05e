#include "frames/frame_panel.h"

#include "state/data_source_state.h"
#include "tone/tone_engine_state.h"
#include "tone/tone_working_copy.h"

namespace {

FramePanelView gView;
void (*gGeneralPageEnabling)() = nullptr;
int16_t gSuspendedUpdates = 0;
bool gPopupMenuActive = false;

}  // namespace

void SetFramePanelView(const FramePanelView& view) { gView = view; }
void SetGeneralPageEnabling(void (*update)()) { gGeneralPageEnabling = update; }

bool UpdateFramePanelEnabling() {
  if (gGeneralPageEnabling) gGeneralPageEnabling();
  if (gView.updateEnabling) gView.updateEnabling();
  return true;
}

void RefreshFramePanel() {
  if (gView.refresh) gView.refresh();
}

void ReloadFramePanel() {
  UpdateFramePanelEnabling();
  RefreshFramePanel();
  if (gView.reloadCombos) gView.reloadCombos();
}

void SuspendFieldUpdates(bool resume) {
  if (!resume) {
    ++gSuspendedUpdates;
  } else if (gSuspendedUpdates > 0) {
    --gSuspendedUpdates;
  }
}

bool FieldUpdatesAllowed() { return gSuspendedUpdates == 0; }
void SetPopupMenuActive(bool active) { gPopupMenuActive = active; }
bool IsPopupMenuActive() { return gPopupMenuActive; }

void ReloadToneToolsForCurrentFrame() {
  gToneChannelMask = gCurrentFrame && gCurrentFrame->colorMode == kColorModeRgb ? kToneMaskAllColors : kToneMaskMaster;
  LoadToneWorkingCopy();
}

SizeLocks gFrameSizeLocks = {};

// The scale and output-size fields are shown by the frame page's refresh.
void ShowScaleFields() { RefreshFramePanel(); }
void ShowOutputSize() { RefreshFramePanel(); }
void ShowOriginalSize() { RefreshFramePanel(); }
void ShowDataSize() { RefreshFramePanel(); }
