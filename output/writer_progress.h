// The progress window as the file writers use it, and its live preview pane.
// Only the product shows a window; the platform-neutral build writes without
// one and is never cancelled. The pane belongs to the user interface above,
// which installs it at module attach; until then no pane is drawn.
#pragma once

#include <cstdint>

#include "foundation/geometry.h"

void OpenWriterProgress(bool cancelAllowed, int32_t titleId, int32_t subtitleId);
// The top level's own title text.
void SetWriterProgressText(const char* text);
// The top level's subtitle (a string id), as each file of a batch starts.
void SetWriterProgressSubtitle(int32_t subtitleId);
// Sets bar and file counter; the cancel flag.
bool UpdateWriterProgress(int32_t done, int32_t total, int32_t n, int32_t of);
void CloseWriterProgress();
bool IsWriterCancelled();

// What the pane hands back when it is popped: the reduced preview's
// rectangle and its oriented block (null when not made).
struct PanePreview {
  WinRect rect = {};
  uint8_t* block = nullptr;
  // The thumbnail: 24-bit R, G, B rows top-down, padded to 4 bytes; null when none was made.
  WinRect thumbnailRect = {};
  const uint8_t* thumbnail = nullptr;
  void* thumbnailBitmap = nullptr;  // the pane's bitmap that holds it
};

// The progress window's live pane, through the user interface's hooks that
// the scan's band loop also uses.
struct ProgressPaneCalls {
  // A pane for an image of width x height (turned by a quarter with swapAxes); 0 or -109.
  int32_t (*push)(int32_t width, int32_t height, bool swapAxes, bool keepLarge);
  // One band of rows in the row format (layout) and channel view.
  bool (*drawRows)(const uint8_t* rows, int32_t firstRow, int32_t count, int32_t width, int32_t format,
                   int32_t view, bool invert, bool flipX, bool flipY, bool swapAxes);
  // Hands back the oriented preview and pops the pane.
  void (*pop)(bool flipX, bool flipY, bool swapAxes, PanePreview* preview);
  // Frees the block that pop handed back.
  void (*release)(PanePreview* preview);
};
const ProgressPaneCalls& ProgressPanes();
