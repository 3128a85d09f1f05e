#include "color/row_corrections.h"

#include <algorithm>
#include <limits>

#include "color/mask_region.h"
#include "color/selective_color.h"
#include "foundation/round.h"
#include "records/defaults_block.h"
#include "records/frame_record.h"
#include "state/data_source_state.h"

ColorMatrixLutSet gRegionMatrixSet;

namespace {

// The frame's left edge on the grid the rows are placed in; the frame set's
// mask is frame-relative.
int32_t gFrameLeft = 0;

// The engine addresses the planes with a 16-bit offset (signed in the 8-bit
// path) and counts at most 65535 pixels: wider rows go through a small
// planar scratch piece by piece rather than with a wrapped offset.
template <typename Sample, typename Offset, typename Apply>
void SelectiveLine(Sample* row, int32_t width, int32_t planeOffset, int32_t x, int32_t y, bool region, Apply apply) {
  const SelectiveColorLutSet& set = region ? gSelectiveFrameSet : FilmSelectiveSet();
  const SelectiveColorLut* entries = SelectiveColorEntries(set);
  if (!entries || width <= 0) return;
  const int32_t left = region ? x - gFrameLeft : x;
  const SelectiveColorLutSet* mask = region ? &set : nullptr;
  if (planeOffset <= std::numeric_limits<Offset>::max() && width <= 65535) {
    apply(row, row, entries, set.entryCount, static_cast<uint16_t>(width), 1, static_cast<Offset>(planeOffset),
          static_cast<uint16_t>(left), static_cast<uint16_t>(y), mask);
    return;
  }
  constexpr int32_t kPiece = 1024;
  Sample scratch[3 * kPiece];
  for (int32_t start = 0; start < width; start += kPiece) {
    const int32_t n = std::min(kPiece, width - start);
    for (int c = 0; c < 3; ++c) std::copy_n(row + c * static_cast<size_t>(planeOffset) + start, n, scratch + c * n);
    apply(scratch, scratch, entries, set.entryCount, static_cast<uint16_t>(n), 1, static_cast<Offset>(n),
          static_cast<uint16_t>(left + start), static_cast<uint16_t>(y), mask);
    for (int c = 0; c < 3; ++c) std::copy_n(scratch + c * n, n, row + c * static_cast<size_t>(planeOffset) + start);
  }
}

}  // namespace

bool IsSelectiveColorReady() {
  const SelectiveColorLutSet& film = FilmSelectiveSet();
  return film.entries != nullptr && film.entryCount > 0;
}

bool AreRegionCorrectionsReady() {
  if (!GetDefault(gDefaults, kDefaultColorCorrectionOn)) return false;
  return (gSelectiveFrameSet.entries && gSelectiveFrameSet.entryCount > 0) ||
         (gRegionMatrixSet.entries && gRegionMatrixSet.entryCount == kMatrixCells && gRegionMatrixSet.enabled);
}

void BuildRegionCorrectionLuts(const FrameRecord* frame) {
  gFrameLeft = TruncRound(frame->originX * frame->scanResolutionX);
  const int32_t top = TruncRound(frame->originY * frame->scanResolutionY);
  const WinRect rect = {gFrameLeft, top, gFrameLeft + frame->scanPixelWidth, top + frame->scanPixelHeight};
  const char* mask = frame->maskName[0] ? frame->maskName : nullptr;
  // Only the kind the frame uses keeps tables, so readiness speaks for that kind.
  if (frame->selectiveColorMode == 1) {
    BuildSelectiveColorLuts(frame->selectiveColorMatrix, &gSelectiveFrameSet, mask, &rect, 0);
    gRegionMatrixSet.enabled = 0;
  } else {
    gSelectiveFrameSet.entryCount = 0;
    ClearRegionSlot(&gSelectiveFrameSet.maskRegion, 0);
    BuildColorMatrixLuts(frame->colorMatrix12, &gRegionMatrixSet, mask, &rect, 0);
  }
}

void SelectiveColorLine8(uint8_t* row, int32_t width, int32_t planeOffset, int32_t x, int32_t y, bool region) {
  SelectiveLine<uint8_t, int16_t>(row, width, planeOffset, x, y, region, ApplySelectiveColor8);
}

void SelectiveColorLine16(uint16_t* row, int32_t width, int32_t planeOffset, int32_t x, int32_t y, bool region) {
  SelectiveLine<uint16_t, uint16_t>(row, width, planeOffset, x, y, region, ApplySelectiveColor16);
}
