#include "output/writer_progress.h"

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

void Pop(bool flipX, bool flipY, bool swapAxes, PanePreview* preview) {
  SessionUserInterface().popPreviewPane(flipX, flipY, swapAxes, &preview->rect, &preview->block, nullptr, nullptr,
                                        nullptr);
}

void Release(PanePreview* preview) {
  FreeBlock(preview->block);
  preview->block = nullptr;
}

const ProgressPaneCalls kPanes = {Push, DrawRows, Pop, Release};

}  // namespace

const ProgressPaneCalls& ProgressPanes() { return kPanes; }
