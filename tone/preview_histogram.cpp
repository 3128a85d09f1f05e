#include "tone/preview_histogram.h"

#include <algorithm>
#include <new>

#include "foundation/global_dib.h"
#include "foundation/system.h"
#include "tone/tone_engine_state.h"
#include "tone/tone_window_hooks.h"

PreviewHistogram* gPreviewHistogram = nullptr;

namespace {

WinRect AnalysedRect(bool wholePreview, bool storedRect, uint8_t shrinkPercent) {
  const ToneWindowHooks& window = ToneWindow();
  WinRect rect = window.previewClientRect(storedRect);
  if (wholePreview) {
    rect = WinRect{0, 0, rect.right - rect.left, rect.bottom - rect.top};
  } else if (const FrameRecord* frame = ToneCurrentFrame()) {
    rect = window.frameToPreviewRect(*frame, rect);
  }
  const int32_t p = std::min(shrinkPercent, kMaxPreviewShrinkPercent);
  const int32_t dx = (rect.right - rect.left) * p / 200;
  const int32_t dy = (rect.bottom - rect.top) * p / 200;
  return WinRect{rect.left + dx, rect.top + dy, rect.right - dx, rect.bottom - dy};
}

}  // namespace

bool ComputePreviewHistogram(bool wholePreview, bool corrected, bool storedRect, uint8_t shrinkPercent) {
  FreePreviewHistogram();
  const ToneWindowHooks& window = ToneWindow();
  const DibHeader* uncorrectedImage = window.previewImage(false);
  const DibHeader* correctedImage = window.previewImage(true);
  if (!uncorrectedImage || !correctedImage) return false;
  gPreviewHistogram = new (std::nothrow) PreviewHistogram();
  if (!gPreviewHistogram) return false;

  const WinRect rect = AnalysedRect(wholePreview, storedRect, shrinkPercent);
  const FrameRecord* frame = ToneCurrentFrame();
  PreviewHistogram& h = *gPreviewHistogram;
  HistogramGlobalDibRect(corrected ? correctedImage : uncorrectedImage, frame && frame->invert != 0, h.red, h.green,
                         h.blue, h.grey, rect.left, rect.top, rect.right, rect.bottom);
  // The uncorrected preview has gaps from the scanner's quantisation; Shift shows the raw counts.
  if (!corrected && !IsKeyDown(kVirtualKeyShift)) {
    for (uint32_t* bins : {h.grey, h.red, h.green, h.blue}) window.fillHistogramGaps(bins, 256);
  }
  return true;
}

void FreePreviewHistogram() {
  delete gPreviewHistogram;
  gPreviewHistogram = nullptr;
}
