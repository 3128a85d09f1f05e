#include "color/row_corrections.h"

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

template <typename Sample, typename Apply, typename Offset>
void SelectiveLine(Sample* row, int32_t width, Offset planeOffset, int32_t x, int32_t y, bool region, Apply apply) {
  const SelectiveColorLutSet& set = region ? gSelectiveFrameSet : FilmSelectiveSet();
  const SelectiveColorLut* entries = SelectiveColorEntries(set);
  if (!entries) return;
  const int32_t left = region ? x - gFrameLeft : x;
  apply(row, row, entries, set.entryCount, static_cast<uint16_t>(width), 1, planeOffset, static_cast<uint16_t>(left),
        static_cast<uint16_t>(y), region ? &set : nullptr);
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
  SelectiveLine(row, width, static_cast<int16_t>(planeOffset), x, y, region, ApplySelectiveColor8);
}

void SelectiveColorLine16(uint16_t* row, int32_t width, int32_t planeOffset, int32_t x, int32_t y, bool region) {
  SelectiveLine(row, width, static_cast<uint16_t>(planeOffset), x, y, region, ApplySelectiveColor16);
}
