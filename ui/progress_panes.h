// The live preview panes of the progress window: while a scan, a preview pass
// or a file runs, subsampled copies of its rows are kept and the small one is
// drawn into the picture area of the progress window. Panes nest up to ten
// deep, one per running operation.
#pragma once

#include <cstdint>

#include "foundation/dialogs/prompts.h"
#include "foundation/geometry.h"
#include "foundation/global_dib.h"

constexpr int kMaxPreviewPanes = 10;
constexpr int32_t kLargeCopyMinPixels = 10000001;
constexpr int32_t kSmallCopyPixelLimit = 25000;
constexpr int32_t kLargeCopyPixelLimit = 1500000;
constexpr int32_t kPaneRowByteLimit = 16383;
constexpr int32_t kPaneNoMemory = -109;

// Row formats of the bands a pane takes: bytes per pixel of planar rows, 0 for 1 bit.
enum PaneRowFormat : int32_t {
  kPaneRows1Bit = 0,
  kPaneRowsGrey8 = 1,
  kPaneRowsGrey16 = 2,
  kPaneRowsRgb8 = 3,
  kPaneRowsRgb16 = 6,
};
// Channel views: 2 to 4 one channel of RGB, 5 the first plane as grey, 1 the
// first two planes exchanged, anything else RGB as it is.
enum PaneChannelView : int32_t {
  kPaneViewRgb = 0,
  kPaneViewSwapFirstTwo = 1,
  kPaneViewRed = 2,
  kPaneViewGreen = 3,
  kPaneViewBlue = 4,
  kPaneViewGrey = 5,
};

// One copy: the subsampling divisor, its rectangle (0, 0, width, height) and
// its pixels: the small copy a 32-bit top-down GlobalDib (image) of B, G, R, 0
// rows; the large one plain interleaved samples at the image's own depth,
// pixelBytes per pixel.
struct PaneCopy {
  int16_t divisor;
  WinRect rect;
  uint8_t* pixels;
  int32_t pixelBytes;
  GlobalDib image;
};

struct PreviewPane {
  WinRect paneRect;  // client rectangle of the progress window's picture area
  WindowHandle control;
  PaneCopy small;
  PaneCopy large;
};

struct PreviewPaneStack {
  int16_t top;  // 0: no pane open
  PreviewPane entries[kMaxPreviewPanes + 1];  // 1 to 10
};
extern PreviewPaneStack gPreviewPanes;

// Chooses and allocates one copy of the top pane for an image of width x
// height pixels; large copies only when wanted, over 10000000 pixels and not
// 1 bit deep. The buffer: a plain block for the large copy, a GlobalDib for the small one.
void ChoosePaneSubsampling(int32_t width, int32_t height, bool swapAxes, bool wanted, bool large, int16_t* divisor,
                           WinRect* rect, void** buffer);
// 0, or kPaneNoMemory when the small copy could not be had.
int32_t PushProgressPreviewPane(int32_t width, int32_t height, bool swapAxes, bool keepLarge);
// Takes rows first .. first + count - 1 of the image into both copies and
// shows the small one; true when a row was taken.
bool DrawRowsIntoProgressPane(const uint8_t* rows, int32_t first, int32_t count, int32_t width, int32_t rowFormat,
                              int32_t channelView, bool invert, bool flipX, bool flipY, bool swapAxes);
// Hands over oriented copies of what is asked for (a null pointer: not
// wanted; the caller frees them: the large block with FreeBlock, the small
// bitmap as the platform's bitmap), frees the pane's copies and pops it.
// The small bitmap PopProgressPreviewPane handed over: a top-down 24-bit
// bitmap (B, G, R, rows padded to 4 bytes) of the platform.
void FreePaneBitmap(void* bitmap);
int32_t PopProgressPreviewPane(bool flipX, bool flipY, bool swapAxes, WinRect* largeRect, uint8_t** largeBlock,
                               void** smallBitmap, WinRect* smallRect, uint8_t** smallBits);
