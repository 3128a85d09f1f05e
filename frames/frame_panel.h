// The frame parameter panel of the main window.
#pragma once

#include <cstdint>

#include "frames/frame_tracking.h"

// Enables and selects the panel's controls for the current frame.
bool UpdateFramePanelEnabling();
// Rewrites every field of the panel from the current frame.
void RefreshFramePanel();
// After every change of the current frame (selection, load, undo, drop):
// enabling, fields, and the combos that show which record equals the frame.
void ReloadFramePanel();

// The panel's pages register what shows the frame; without pages both do nothing.
struct FramePanelView {
  void (*refresh)() = nullptr;
  void (*updateEnabling)() = nullptr;
  void (*reloadCombos)() = nullptr;
};
void SetFramePanelView(const FramePanelView& view);
// The general page's share of the enabling (its source combos), registered
// by the page that shows them; null without the page.
void SetGeneralPageEnabling(void (*update)());

// Writes into several fields are bracketed so that the change notifications
// they cause are not taken for the user's edits: false suspends, true resumes
// (never below 0).
void SuspendFieldUpdates(bool resume);
bool FieldUpdatesAllowed();
// Set while a popup menu is tracked.
void SetPopupMenuActive(bool active);
bool IsPopupMenuActive();

// The tone tools' channel selection follows the current frame (the three
// colour channels of an RGB frame, else the master) and their working copy
// is loaded from it.
void ReloadToneToolsForCurrentFrame();

// The width and height locks beside the output-size fields and the
// proportional link, as the panel's lock images set them.
extern SizeLocks gFrameSizeLocks;

// The panel's fields of the current frame: scales, output size, original
// size, data size.
void ShowScaleFields();
void ShowOutputSize();
void ShowOriginalSize();
void ShowDataSize();
