// The shared progress window (dialog 199) of long operations and the small
// status window (dialog 307) of short waits, each over its level stack
// (foundation/progress/progress_stack.h). The progress window also offers
// cancelling, by its button or by Ctrl with the full-stop key.
#pragma once

#include <cstdint>

#include "foundation/progress/session_services.h"

enum : uint32_t {
  kProgressDialog = 199,
  kStatusDialog = 307,
  kProgressTextItem = 1114,
  kProgressBarItem = 1116,
  kProgressPictureItem = 1117,
  kProgressCounterItem = 1118,
  kProgressCancelItem = 1119,
  kIt8CalibrationTitleString = 1700,
};

// Smooth bar colours (COLORREF) of newer common controls.
constexpr uint32_t kProgressBarColor = 0x00EFBABA;
constexpr uint32_t kProgressBackgroundColor = 0x00DDDDDD;

// The version from which the common controls draw the smooth, coloured bar.
bool CommonControlsDrawSmoothBar(uint32_t packedVersion);

// Creates the window when it is not open, then pushes a level with its texts,
// the bar at 0 and an empty counter.
void ProgressOpen(bool cancelAllowed, int32_t title, int32_t subtitleId, WindowHandle owner);
// The top level's own title text (title -2).
void ProgressSetText(const char* text);
void ProgressSetSubtitle(int32_t subtitleId);
// Sets bar and counter and, in a cancellable level, lets mouse input reach
// the progress and job windows and watches Ctrl+"."; returns the cancel flag.
bool ProgressUpdate(int32_t done, int32_t total, int32_t n, int32_t of);
void ProgressSetBar(float fraction, int32_t n, int32_t of);
// Pops a level; the window goes with the last one.
void ProgressClose();
bool IsProgressCancelled();
void SetProgressCancelled(bool cancelled);
WindowHandle GetProgressWindow();

void StatusOpen(int32_t stringId, WindowHandle owner);
void StatusClose();

// The system's button face; without plain each channel made pale.
void GetPaleFaceColor(uint32_t* color, bool plain);
