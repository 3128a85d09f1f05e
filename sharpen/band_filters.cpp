#include "sharpen/band_filters.h"

#include <algorithm>

#include "foundation/memory.h"
#include "records/defaults_block.h"
#include "records/frame_record.h"
#include "records/session_block.h"
#include "sharpen/sharpen_kernels.h"
#include "state/data_source_state.h"
#include "state/module_state.h"

namespace {

// Rows of the scan handed to the filters, and rows handed on, since the first band.
int32_t gRowsSeen = 0;
int32_t gRowsHandedOn = 0;

uint8_t* Data(MemHandle handle) { return handle ? static_cast<uint8_t*>(handle->data) : nullptr; }

template <typename Sample>
using RowKernel = void (*)(const Sample* const*, Sample*, int32_t, const SharpenSettings&);

template <typename Sample>
void FilterRows(const uint8_t* copy, uint8_t* band, uint32_t rowBytes, int32_t first, int32_t end, int32_t m,
                int32_t columns, const SharpenSettings& settings, RowKernel<Sample> kernel) {
  const Sample* rows[7];
  for (int32_t r = first; r < end; ++r) {
    for (int32_t k = -m; k <= m; ++k) rows[m + k] = reinterpret_cast<const Sample*>(copy + (r + k) * rowBytes);
    kernel(rows, reinterpret_cast<Sample*>(band + r * rowBytes), columns, settings);
  }
}

// The bookkeeping of both band functions around the row kernels. The band
// is prefixed with the carried rows (the last 2m rows seen, or all of them
// while fewer were seen); of the rows not yet handed on, those with m rows
// below them are filtered and handed on, all of them once the scan is finished.
int16_t FilterBand(uint8_t* band, int32_t m, uint32_t rowBytes, int32_t rows, bool colour) {
  ScanBandState& state = gBand;
  const FrameRecord& frame = gScanFrame;
  m = std::min(std::max(m, 1), 3);
  rows = std::max(rows, 0);
  if (state.firstBand) {
    state.firstBand = 0;
    gRowsSeen = gRowsHandedOn = 0;
  }
  uint8_t* carry = static_cast<uint8_t*>(state.filterCarryBlock);
  const int32_t carried = std::min(2 * m, gRowsSeen);
  if (carried > 0) {
    MoveBytes(band, band + carried * rowBytes, static_cast<uint32_t>(rows) * rowBytes);
    MoveBytes(carry, band, static_cast<uint32_t>(carried) * rowBytes);
  }
  const int32_t topRow = gRowsSeen - carried;  // image row of the band's row 0
  gRowsSeen += rows;
  const int32_t total = carried + rows;
  const int32_t keep = std::min(2 * m, gRowsSeen);
  MoveBytes(band + (total - keep) * rowBytes, carry, static_cast<uint32_t>(keep) * rowBytes);

  const int32_t start = gRowsHandedOn - topRow;
  const int32_t waiting = gRowsSeen - gRowsHandedOn;
  const int32_t count = state.passByte ? waiting : std::max(waiting - m, 0);
  if (IsSharpeningKind(frame.filterMode)) {
    uint8_t* copy = Data(state.filterCopyBuffer);
    MoveBytes(band, copy, static_cast<uint32_t>(total) * rowBytes);
    const int32_t first = std::max(start, m - topRow);
    const int32_t end = std::min(start + count, total - m);
    const int32_t columns = static_cast<uint16_t>(gSession->columns);
    SharpenSettings settings = SharpenSettingsOf(frame, GetDefault(gDefaults, kDefaultNegativeMode) != 0);
    settings.matrix = m - 1;  // the radius the caller made room for
    if (frame.bitsPerChannel == 16)
      FilterRows<uint16_t>(copy, band, rowBytes, first, end, m, columns, settings,
                           colour ? SharpenRowColor16 : SharpenRowGrey16);
    else
      FilterRows<uint8_t>(copy, band, rowBytes, first, end, m, columns, settings,
                          colour ? SharpenRowColor8 : SharpenRowGrey8);
  }
  if (start > 0 && count > 0) MoveBytes(band + start * rowBytes, band, static_cast<uint32_t>(count) * rowBytes);
  gRowsHandedOn += count;
  return static_cast<int16_t>(count);
}

}  // namespace

bool IsSharpeningKind(uint8_t filterKind) {
  switch (filterKind) {
    case 1: case 3: case 4: case 5: case 6: case 9: case 10: case 11: case 12: return true;
    default: return false;
  }
}

// The automatic kinds would take their matrix and amount from a parameter
// source's table of {size key, radius, amount} rows; this system has no such
// source, so they filter with the frame's stored parameters.
void PrepareAutoSharpen(FrameRecord*) {}

int16_t SharpenBandA(uint8_t* band, int32_t m, uint32_t rowBytes, int32_t rows) {
  return FilterBand(band, m, rowBytes, rows, true);
}
int16_t SharpenBandB(uint8_t* band, int32_t m, uint32_t rowBytes, int32_t rows) {
  return FilterBand(band, m, rowBytes, rows, false);
}
