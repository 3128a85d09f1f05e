// The histograms of the preview inside a frame, for the automatic adjustment
// and the histogram tool.
#pragma once

#include <cstdint>

// Four 256-bin histograms in one 4096-byte block: grey ((R + G + B) / 3), red, green, blue.
struct PreviewHistogram {
  uint32_t grey[256];
  uint32_t red[256];
  uint32_t green[256];
  uint32_t blue[256];
};
static_assert(sizeof(PreviewHistogram) == 4096, "one 4096-byte block");

// The block of the last analysis, owned by the tone engine; null when none is held.
extern PreviewHistogram* gPreviewHistogram;

constexpr uint8_t kMaxPreviewShrinkPercent = 80;
// Keys read from the asynchronous key state at the moment of an analysis.
constexpr int kVirtualKeyShift = 16;
constexpr int kVirtualKeyControl = 17;

// Fills gPreviewHistogram from the corrected or the uncorrected preview: the
// whole preview, or the current frame's rectangle, shrunk by shrinkPercent of
// each extent (at most 80), inverted when the frame says so. The uncorrected
// histograms are smoothed unless Shift is held. False (and no block) without
// both preview images or memory.
bool ComputePreviewHistogram(bool wholePreview, bool corrected, bool storedRect, uint8_t shrinkPercent);
void FreePreviewHistogram();
