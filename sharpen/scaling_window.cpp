#include "sharpen/scaling_window.h"

#include <algorithm>

#include "records/frame_record.h"
#include "sharpen/scale_kernels.h"

ScalingWindow gScalingWindow = {};

namespace {

template <typename Sample>
struct Kernels;

template <>
struct Kernels<uint8_t> {
  static void Halve(const uint8_t* a, const uint8_t* b, uint8_t* out, uint32_t w, uint32_t hw, int32_t planes) {
    if (planes == 3) HalveRows8Rgb(a, b, out, w, hw);
    else HalveRows8Grey(a, b, out, w, hw);
  }
  static constexpr auto Blur = BlurRowPair8;
  static constexpr auto Linear = ResampleLineLinear8;
  static constexpr auto Cubic = ResampleLineCubic8;
};

template <>
struct Kernels<uint16_t> {
  static void Halve(const uint16_t* a, const uint16_t* b, uint16_t* out, uint32_t w, uint32_t hw, int32_t planes) {
    if (planes == 3) HalveRows16Rgb(a, b, out, w, hw);
    else HalveRows16Grey(a, b, out, w, hw);
  }
  static constexpr auto Blur = BlurRowPair16;
  static constexpr auto Linear = ResampleLineLinear16;
  static constexpr auto Cubic = ResampleLineCubic16;
};

struct BandCall {
  int32_t planes;
  bool stop;
  uint8_t* finished;
  uint8_t* destination;
  int32_t firstOutputRow;
  int32_t rowsWanted;
  int32_t maxRowsPerRead;
  int32_t sourceRowBytes;
  int32_t workRowBytes;
  int32_t outputRowBytes;
  int32_t outputWidth;
  int32_t outputRows;
  LineSource readLines;
};

uint8_t* Data(MemHandle handle) { return handle ? static_cast<uint8_t*>(handle->data) : nullptr; }

int64_t RowsIn(MemHandle handle, int32_t rowBytes) {
  return handle && rowBytes > 0 ? static_cast<int64_t>(handle->size) / rowBytes : 0;
}

// Position of output row `row` in work rows, the work buffer starting at source row `base`.
double WorkPosition(int64_t row, int64_t sourceRows, int64_t outputRows, int64_t base) {
  return (static_cast<double>(row * sourceRows) / outputRows - static_cast<double>(base)) * 0.5;
}

// Source rows to read: those up to the end of the band, at least enough for
// three work rows, within a read; and always the rows the band's last output
// row needs, so that no row is made from rows that are not final yet.
struct ReadPlan {
  int64_t need;
  int64_t required;
};

ReadPlan PlanRead(const BandCall& c, const ScalingWindow& w, bool cubic) {
  const int64_t S = w.sourceRows;
  const int64_t D = c.outputRows;
  const int64_t consumed = w.rowsConsumed;
  int64_t need = (static_cast<int64_t>(c.firstOutputRow) + c.rowsWanted) * S / D - consumed;
  need = std::max<int64_t>(need, std::max(0, (3 - w.rowsHeld) * 2));
  need = std::min<int64_t>(need, c.maxRowsPerRead);
  const int64_t lastRow = std::min<int64_t>(static_cast<int64_t>(c.firstOutputRow) + c.rowsWanted, D) - 1;
  const int64_t lastPosition = static_cast<int64_t>(WorkPosition(lastRow, S, D, 0));
  const int64_t required = std::max<int64_t>(0, 2 * (lastPosition + (cubic ? 4 : 3)) - consumed);
  need = std::max(need, required);
  // What the buffers hold and what the source has left.
  need = std::min(need, RowsIn(w.sourceBuffer, c.sourceRowBytes));
  need = std::min(need, 2 * (RowsIn(w.workBuffer, c.workRowBytes) - w.rowsHeld));
  need = std::max<int64_t>(std::min(need, S - consumed), 0);
  // Rows in pairs; the odd last row of the source is read all the same, so
  // that the source reports its end.
  if (need > 2 && need < S - consumed) need &= ~int64_t{1};
  return ReadPlan{need, std::min(required, need)};
}

// Reads until no more than a quarter of the request is outstanding, the rows
// the band must have are there and the rows pair up; the rows got.
int64_t ReadSource(const BandCall& c, ScalingWindow& w, const ReadPlan& plan) {
  uint8_t* source = Data(w.sourceBuffer);
  const int64_t quarter = plan.need / 4;
  int64_t got = 0;
  int64_t remaining = plan.need;
  while (remaining > 0 && (remaining > quarter || got < plan.required || (got & 1)) && !*c.finished) {
    uint32_t delivered = 0;
    *c.finished = c.readLines(c.stop, source + got * c.sourceRowBytes, static_cast<uint32_t>(w.rowsConsumed + got),
                              static_cast<uint32_t>(remaining), &delivered);
    const int64_t rows = std::min<int64_t>(delivered, remaining);
    got += rows;
    remaining -= rows;
    // A source that gives nothing and goes on would be asked forever.
    if (rows == 0) break;
  }
  return got;
}

template <typename Sample>
void Scale(const BandCall& c, int16_t* rowsProduced) {
  using K = Kernels<Sample>;
  ScalingWindow& w = gScalingWindow;
  const int64_t S = w.sourceRows;
  const int64_t D = c.outputRows;
  const bool cubic = (S * 0.5) / D < 1.0;
  const int64_t consumed = w.rowsConsumed;
  const int32_t held = w.rowsHeld;

  const ReadPlan plan = PlanRead(c, w, cubic);
  const int64_t got = ReadSource(c, w, plan);

  uint8_t* source = Data(w.sourceBuffer);
  uint8_t* work = Data(w.workBuffer);
  auto workRow = [&](int32_t i) { return reinterpret_cast<Sample*>(work + static_cast<size_t>(i) * c.workRowBytes); };
  auto sourceRow = [&](int64_t i) {
    return reinterpret_cast<const Sample*>(source + static_cast<size_t>(i) * c.sourceRowBytes);
  };
  const int32_t pairs = static_cast<int32_t>(got / 2);
  for (int32_t i = 0; i < pairs; ++i)
    K::Halve(sourceRow(2 * i), sourceRow(2 * i + 1), workRow(held + i), w.sourceWidth, w.halvedWidth, c.planes);
  const int32_t n = held + pairs;
  for (int32_t r = w.firstUnblurredRow; r <= n - 2; ++r) K::Blur(workRow(r), workRow(r + 1), w.halvedWidth, c.planes);
  if (*c.finished && n > 1) std::copy_n(workRow(n - 2), c.workRowBytes / sizeof(Sample), workRow(n - 1));

  if (c.stop) {
    w.rowsHeld = 0;
    w.firstUnblurredRow = 0;
    return;
  }

  // Rows past the last blurred one are final only at the end of the image.
  const bool atEnd = *c.finished || consumed >= S;
  // The work rows start at a source row pair: an odd last source row read
  // before this call never entered them.
  const int64_t pairedRows = consumed & ~int64_t{1};
  const int32_t last = std::max(n - 1, 0);
  auto clampRow = [last](int32_t y) { return std::min(std::max(y, 0), last); };
  int32_t keep = 0;
  int32_t produced = 0;
  for (int32_t out = 0; out < c.rowsWanted && c.firstOutputRow + out < D && n > 0; ++out) {
    const double p = WorkPosition(static_cast<int64_t>(c.firstOutputRow) + out, S, D, pairedRows - 2 * held);
    Sample* target = reinterpret_cast<Sample*>(c.destination + static_cast<size_t>(out) * c.outputRowBytes);
    bool wait = false;
    if (!cubic) {
      const int32_t y0 = std::max(static_cast<int32_t>(p), 0);
      int32_t y1 = y0 + 1;
      if (y1 >= n - 1) {
        if (atEnd) y1 = y0;
        else if (out > 0) wait = true;
        else y1 = std::max(n - 2, 0);
      }
      keep = std::min(y0, y1);
      if (wait) break;
      K::Linear(workRow(clampRow(y0)), workRow(clampRow(y1)), target, w.halvedWidth, c.outputWidth, p - y0, c.planes);
    } else {
      int32_t y = std::max(static_cast<int32_t>(p), 0);
      int32_t rows[4] = {std::max(y - 1, 0), y, y + 1, y + 2};
      if (y + 2 >= n - 1) {
        if (atEnd) {
          for (int32_t& r : rows)
            if (r >= n - 1) r = std::max(n - 2, 0);
        } else if (out > 0) {
          wait = true;
        } else {
          y = rows[1] = std::max(n - 4, 0);
          rows[2] = std::max(n - 3, 0);
          rows[3] = std::max(n - 2, 0);
        }
      }
      keep = std::min(rows[0], rows[1]);
      if (wait) break;
      const Sample* const taps[4] = {workRow(clampRow(rows[0])), workRow(clampRow(rows[1])), workRow(clampRow(rows[2])),
                                     workRow(clampRow(rows[3]))};
      K::Cubic(taps, target, w.halvedWidth, c.outputWidth, p - y, c.planes);
    }
    ++produced;
  }
  *rowsProduced = static_cast<int16_t>(produced);

  w.rowsConsumed = static_cast<uint32_t>(consumed + got);
  const int32_t kept = std::max(n - keep, 0);
  w.rowsHeld = static_cast<int16_t>(kept);
  w.firstUnblurredRow = static_cast<int16_t>(std::max(kept - 1, 0));
  if (w.rowsConsumed >= S) *c.finished = kept == 0 || c.firstOutputRow >= D ? 1 : 0;
  if (kept > 0 && keep > 0) MoveBytes(workRow(keep), work, static_cast<uint32_t>(kept) * c.workRowBytes);
}

}  // namespace

void StartScalingWindow(uint16_t sourceWidth, uint32_t sourceRows) {
  ScalingWindow& w = gScalingWindow;
  w.sourceWidth = sourceWidth;
  w.sourceRows = sourceRows;
  w.halvedWidth = sourceWidth / 2u;
  w.halvedRows = sourceRows / 2;
  w.rowsConsumed = 0;
  w.rowsHeld = 0;
  w.firstUnblurredRow = 0;
}

void ScaleBandBicubic(const FrameRecord* frame, bool stop, uint8_t* finished, uint8_t* destination,
                      int32_t firstOutputRow, int16_t rowsWanted, int16_t* rowsProduced, int32_t maxRowsPerRead,
                      int32_t sourceRowBytes, int32_t workRowBytes, int32_t outputRowBytes, int32_t outputWidth,
                      int32_t outputRows, LineSource readLines) {
  *rowsProduced = 0;
  const ScalingWindow& w = gScalingWindow;
  // Without a window or an output there is nothing to make.
  if (outputRows <= 0 || outputWidth <= 0 || w.halvedWidth == 0 || !w.sourceBuffer || !w.workBuffer) {
    *finished = 1;
    return;
  }
  const BandCall call{frame->colorMode == 2 ? 3 : 1, stop, finished, destination, firstOutputRow, rowsWanted,
                      maxRowsPerRead, sourceRowBytes, workRowBytes, outputRowBytes, outputWidth, outputRows,
                      readLines};
  if (frame->bitsPerChannel == 16) Scale<uint16_t>(call, rowsProduced);
  else Scale<uint8_t>(call, rowsProduced);
}
