#include "output/writer_progress.h"

#include <utility>

#include "foundation/memory.h"
#include "session/user_interface_hooks.h"

namespace {

int32_t Push(int32_t width, int32_t height, bool swapAxes, bool keepLarge) {
  return SessionUserInterface().pushPreviewPane(width, height, swapAxes, keepLarge);
}

bool DrawRows(const uint8_t* rows, int32_t firstRow, int32_t count, int32_t width, int32_t format, int32_t view,
              bool invert, bool flipX, bool flipY, bool swapAxes) {
  return SessionUserInterface().drawRowsIntoPreviewPane(rows, firstRow, count, width, format, view, invert, flipX,
                                                        flipY, swapAxes);
}

// The pane's bitmap holds B, G, R: the thumbnail is compressed from R, G, B.
void SwapRedAndBlue(uint8_t* rows, const WinRect& rect) {
  const int32_t width = rect.right - rect.left, height = rect.bottom - rect.top;
  const size_t stride = (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x) std::swap(rows[y * stride + 3 * x], rows[y * stride + 3 * x + 2]);
}

void Pop(bool flipX, bool flipY, bool swapAxes, PanePreview* preview) {
  uint8_t* thumbnail = nullptr;
  SessionUserInterface().popPreviewPane(flipX, flipY, swapAxes, &preview->rect, &preview->block,
                                        &preview->thumbnailBitmap, &preview->thumbnailRect, &thumbnail);
  if (thumbnail) SwapRedAndBlue(thumbnail, preview->thumbnailRect);
  preview->thumbnail = thumbnail;
}

void Release(PanePreview* preview) {
  FreeBlock(preview->block);
  SessionUserInterface().freePaneBitmap(preview->thumbnailBitmap);
  *preview = PanePreview{};
}

const ProgressPaneCalls kPanes = {Push, DrawRows, Pop, Release};

}  // namespace

const ProgressPaneCalls& ProgressPanes() { return kPanes; }
