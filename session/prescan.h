// The prescan: the image read through the device layer at the size of the
// preview control (or a whole multiple of it), point-sampled into the
// preview buffers, kept in the prescan file and the preview file.
#pragma once

#include <cstdint>

#include "foundation/geometry.h"

// What the prescan needs of the main window.
class PrescanView {
 public:
  virtual ~PrescanView() = default;
  // The client size of the preview control, as the control shows it.
  virtual void PreviewSize(int32_t* width, int32_t* height) = 0;
  // Lets the window's pending input through between bands; true when the user stopped the prescan.
  virtual bool StopRequested() = 0;
  // Preview rows [first, first + count) drawn into the control.
  virtual void DrawRows(int32_t first, int32_t count) = 0;
  // The Stop face of the palette's cancel button while the prescan runs.
  virtual void ShowPrescanRunning(bool running) = 0;
};

// The prescan into the view: 0 when it ran to its end or was stopped, -1 when
// the read could not start or memory ran out (the user is told either way).
// With fromStoredRect the preview keeps its stored size and nothing is drawn.
int16_t RunPrescan(PrescanView& view, bool fromStoredRect);

// The oversampling factor for a preview of width x height within an image of
// that many pixels: at most wanted, lowered while the prescan would be wider
// or higher than the image; 1 when even 2 does not fit.
int32_t FitPrescanFactor(int32_t wanted, int32_t width, int32_t height, uint32_t imageWidth, uint32_t imageHeight);

// The Ctrl+"." (or Ctrl with the keypad's decimal key) that stops a prescan.
bool PrescanCancelKeysDown();
