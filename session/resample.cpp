#include "session/resample.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <new>
#include <vector>

#include "foundation/round.h"
#include "session/resample_table.h"

uint16_t gFilteredResampling = 0;

namespace {

// A source of one line makes as many output rows as are asked for.
const uint32_t kUnlimitedRows = std::numeric_limits<uint32_t>::max();

// Taps first .. first + count - 1 of an output, reading source samples
// start .. start + count - 1; count 0 when the taps are not contiguous.
struct TapSpan {
  uint32_t first;
  uint32_t count;
  uint32_t start;
};

struct ResampleState {
  bool ready = false;
  uint32_t sourceWidth = 0;
  uint32_t outputWidth = 0;
  uint32_t sourceRows = 0;
  double verticalScale = 0.0;
  uint32_t offsets[3] = {0, 0, 0};
  uint32_t smallestOffset = 0;
  uint32_t largestOffset = 0;
  bool swap = false;
  bool thirds = false;
  uint16_t filtered = 0;
  uint32_t pendingLines = 0;
  ContributionTable horizontal;  // empty in fast mode or when it could not be built
  ContributionTable vertical;

  uint32_t outputRows = 0;
  double centreLine = 0.0;     // the one position of a single-row output
  uint32_t totalLines = 0;     // source lines of the read: the rows plus the largest offset
  uint32_t linesSupplied = 0;  // always linesConsumed + pendingLines
  uint32_t linesConsumed = 0;  // source lines dropped from (or never put into) the queue
  uint32_t queueLines = 0;       // the pending capacity, at least one row's lines, plus the offsets' spread
  uint32_t firstRow = 0;
  uint32_t nextOutputRow = 0;

  // Fast horizontal step: outputs below fastInterior blend fastIndex and the
  // next sample by fastFraction / 65536; the others copy fastIndex.
  uint32_t fastInterior = 0;
  std::vector<uint32_t> fastIndex;
  std::vector<uint32_t> fastFraction;

  // The filtered horizontal step: each output's taps that weigh something,
  // when they read neighbouring source samples (all but a few at the edges).
  std::vector<TapSpan> horizontalSpans;
  std::vector<double> lineValues;  // the source line being resampled, as doubles

  std::vector<double> accumulator;  // one plane of sums for the filtered vertical step
  std::vector<uint8_t> greyRow;     // line art: the grey row before thresholding
};

ResampleState gResample;

struct ThirdsTables {
  uint8_t third[256];
  uint8_t twoThirds[256];
};

const ThirdsTables& Thirds() {
  static const ThirdsTables tables = [] {
    ThirdsTables t;
    for (int i = 0; i < 256; ++i) {
      t.third[i] = static_cast<uint8_t>(i / 3);
      t.twoThirds[i] = static_cast<uint8_t>(2 * i / 3);
    }
    return t;
  }();
  return tables;
}

bool HasTable(const ContributionTable& table) { return table.taps != 0; }

// Filtered sums: negative lobes can leave the sample range, and a flat area
// sums to its level only within rounding error, so round rather than truncate.
// Kept in range by max and min rather than by tests, so that loops of it vectorise.
template <typename Sample>
Sample ClampToSample(double value) {
  const double top = std::numeric_limits<Sample>::max();
  return static_cast<Sample>(TruncRound(std::min(std::max(value, 0.0), top)));
}

uint32_t OutputRowsFor(uint32_t sourceRows, double verticalScale) {
  if (sourceRows <= 1) return kUnlimitedRows;
  // Not a usable spacing: only an output of one line has none.
  if (!(verticalScale > 0.0) || !std::isfinite(verticalScale)) return 1;
  const double rows = std::trunc((sourceRows - 1) / verticalScale + 0.5) + 1;
  return rows >= kUnlimitedRows ? kUnlimitedRows - 1 : static_cast<uint32_t>(rows);
}

// Spans of the horizontal table's weighted taps; none when it has no table.
void BuildHorizontalSpans(ResampleState& s) {
  const ContributionTable& table = s.horizontal;
  if (!HasTable(table)) return;
  s.horizontalSpans.resize(table.outputSize);
  s.lineValues.resize(s.sourceWidth);
  for (uint32_t x = 0; x < table.outputSize; ++x) {
    const uint32_t* indices = &table.indices[static_cast<size_t>(x) * table.taps];
    const double* weights = &table.weights[static_cast<size_t>(x) * table.taps];
    uint32_t first = 0;
    uint32_t end = table.taps;
    while (first < end && weights[first] == 0.0) ++first;
    while (end > first && weights[end - 1] == 0.0) --end;
    bool contiguous = true;
    for (uint32_t t = first; t < end && contiguous; ++t) contiguous = indices[t] == indices[first] + (t - first);
    s.horizontalSpans[x] = contiguous ? TapSpan{first, end - first, first < end ? indices[first] : 0} : TapSpan{0, 0, 0};
  }
}

void BuildFastHorizontal(ResampleState& s) {
  s.fastInterior = 0;
  if (s.outputWidth == 1) {
    s.fastIndex[0] = TruncRound((s.sourceWidth - 1) / 2.0);
    return;
  }
  const double ratio = static_cast<double>(s.sourceWidth) / s.outputWidth;
  for (uint32_t x = 0; x < s.outputWidth; ++x) {
    const double position = x * ratio;
    const uint32_t base = std::min(static_cast<uint32_t>(position), s.sourceWidth - 1);
    s.fastIndex[x] = base;
    if (base + 1 < s.sourceWidth) {
      const uint32_t weightOfBase = TruncRound((base + 1 - position) * 65536);
      s.fastFraction[x] = 65536 - weightOfBase;
      s.fastInterior = x + 1;
    }
  }
}

// Source line of channel c for base line k: lines past the image end read the
// last line, then the channel's offset applies.
uint32_t ChannelLine(const ResampleState& s, uint64_t line, int channel) {
  return static_cast<uint32_t>(std::min<uint64_t>(line, s.sourceRows - 1)) + s.offsets[channel];
}

double SourcePosition(const ResampleState& s, uint32_t row) {
  if (s.outputRows == 1 || s.sourceRows == 1) return s.centreLine;
  return std::max(0.0, row * s.verticalScale);
}

struct LineSpan {
  uint64_t lowest;
  uint64_t highest;
};

// Base lines (before channel offsets) that output row reads.
LineSpan BaseLinesOfRow(const ResampleState& s, uint32_t row) {
  if (HasTable(s.vertical)) {
    const uint32_t* indices = &s.vertical.indices[static_cast<size_t>(row) * s.vertical.taps];
    const auto range = std::minmax_element(indices, indices + s.vertical.taps);
    return {*range.first, *range.second};
  }
  const uint64_t base = static_cast<uint64_t>(std::floor(SourcePosition(s, row)));
  return {base, base + 1 + (s.thirds ? 1 : 0)};
}

uint64_t LowestLineOfRow(const ResampleState& s, uint32_t row) {
  if (row >= s.outputRows) return s.totalLines;
  return std::min<uint64_t>(BaseLinesOfRow(s, row).lowest, s.sourceRows - 1) + s.smallestOffset;
}

uint64_t HighestLineOfRow(const ResampleState& s, uint32_t row) {
  return std::min<uint64_t>(BaseLinesOfRow(s, row).highest, s.sourceRows - 1) + s.largestOffset;
}

uint32_t LargestRowSpan(const ResampleState& s) {
  if (!HasTable(s.vertical)) return 2 + (s.thirds ? 1 : 0);
  uint32_t span = 1;
  for (uint32_t row = 0; row < s.vertical.outputSize; ++row) {
    const LineSpan lines = BaseLinesOfRow(s, row);
    span = std::max<uint32_t>(span, static_cast<uint32_t>(lines.highest - lines.lowest + 1));
  }
  return span;
}

// One output of the filtered horizontal step over the line's values. Taps of
// weight 0 add nothing, so a span of the weighted ones gives the same sum.
double FilteredSum(const ResampleState& s, const double* values, uint32_t x) {
  const uint32_t taps = s.horizontal.taps;
  const double* weights = &s.horizontal.weights[static_cast<size_t>(x) * taps];
  const TapSpan& span = s.horizontalSpans[x];
  double sum = 0.0;
  if (span.count) {
    const double* in = values + span.start;
    const double* w = weights + span.first;
    for (uint32_t t = 0; t < span.count; ++t) sum += in[t] * w[t];
  } else {
    const uint32_t* indices = &s.horizontal.indices[static_cast<size_t>(x) * taps];
    for (uint32_t t = 0; t < taps; ++t) sum += values[indices[t]] * weights[t];
  }
  return sum;
}

template <typename Sample>
void ResampleLineFiltered(ResampleState& s, const Sample* source, Sample* target) {
  // The samples as doubles once, not once for every tap that reads them.
  double* values = s.lineValues.data();
  for (uint32_t i = 0; i < s.sourceWidth; ++i) values[i] = source[i];
  const uint32_t taps = s.horizontal.taps;
  const double* weights = s.horizontal.weights.data();
  const TapSpan* spans = s.horizontalSpans.data();
  uint32_t x = 0;
  // Four outputs with spans of one length at a time: each sum still adds its
  // taps in order, but the four chains of additions run side by side.
  for (; x + 4 <= s.outputWidth; x += 4) {
    const TapSpan* span = spans + x;
    const uint32_t n = span[0].count;
    if (n == 0 || span[1].count != n || span[2].count != n || span[3].count != n) {
      for (uint32_t k = 0; k < 4; ++k) target[x + k] = ClampToSample<Sample>(FilteredSum(s, values, x + k));
      continue;
    }
    const double* in[4];
    const double* w[4];
    for (uint32_t k = 0; k < 4; ++k) {
      in[k] = values + span[k].start;
      w[k] = weights + static_cast<size_t>(x + k) * taps + span[k].first;
    }
    double sum0 = 0.0, sum1 = 0.0, sum2 = 0.0, sum3 = 0.0;
    for (uint32_t t = 0; t < n; ++t) {
      sum0 += in[0][t] * w[0][t];
      sum1 += in[1][t] * w[1][t];
      sum2 += in[2][t] * w[2][t];
      sum3 += in[3][t] * w[3][t];
    }
    target[x] = ClampToSample<Sample>(sum0);
    target[x + 1] = ClampToSample<Sample>(sum1);
    target[x + 2] = ClampToSample<Sample>(sum2);
    target[x + 3] = ClampToSample<Sample>(sum3);
  }
  for (; x < s.outputWidth; ++x) target[x] = ClampToSample<Sample>(FilteredSum(s, values, x));
}

template <typename Sample>
void ResampleLineHorizontally(ResampleState& s, const Sample* source, Sample* target) {
  if (s.sourceWidth == s.outputWidth) {
    std::memcpy(target, source, s.outputWidth * sizeof(Sample));
    return;
  }
  if (HasTable(s.horizontal)) {
    ResampleLineFiltered(s, source, target);
    return;
  }
  const uint32_t* index = s.fastIndex.data();
  const uint32_t* fraction = s.fastFraction.data();
  for (uint32_t x = 0; x < s.fastInterior; ++x) {
    const uint32_t i = index[x];
    const uint32_t f = fraction[x];
    target[x] = static_cast<Sample>((source[i] * (65536u - f) + source[i + 1] * f) >> 16);
  }
  for (uint32_t x = s.fastInterior; x < s.outputWidth; ++x) target[x] = source[index[x]];
}

// The queue: pendingLines horizontally resampled lines, each `planes` planes
// of output width; queue line 0 is source line linesConsumed.
template <typename Sample>
struct Queue {
  Sample* lines;
  uint32_t planes;

  size_t LineSamples() const { return static_cast<size_t>(planes) * gResample.outputWidth; }
  const Sample* Plane(uint32_t sourceLine, int channel) const {
    return lines + (sourceLine - gResample.linesConsumed) * LineSamples() +
           static_cast<size_t>(channel) * gResample.outputWidth;
  }
};

int OutputPlane(const ResampleState& s, int channel) {
  if (!s.swap || channel > 1) return channel;
  return 1 - channel;
}

// Each side of the interpolation is line k at 1/3 mixed with line k + 1 at 2/3.
template <typename Sample>
void MixThirdsRow(const Sample* a, const Sample* b, const Sample* c, uint32_t f, uint32_t width, Sample* out) {
  if constexpr (sizeof(Sample) == 1) {
    const ThirdsTables& t = Thirds();
    for (uint32_t x = 0; x < width; ++x) {
      const uint32_t upper = t.third[a[x]] + t.twoThirds[b[x]];
      const uint32_t lower = t.third[b[x]] + t.twoThirds[c[x]];
      out[x] = static_cast<Sample>((upper * (65536u - f) + lower * f) >> 16);
    }
  }
}

template <typename Sample>
void MakeRowFast(const ResampleState& s, const Queue<Sample>& queue, uint32_t row, Sample* target) {
  const double position = SourcePosition(s, row);
  const double base = std::floor(position);
  const uint32_t f = TruncRound((position - base) * 65536);
  const uint64_t n = static_cast<uint64_t>(base);
  const uint32_t width = s.outputWidth;
  for (uint32_t c = 0; c < queue.planes; ++c) {
    const int channel = static_cast<int>(c);
    Sample* out = target + static_cast<size_t>(OutputPlane(s, channel)) * width;
    const Sample* a = queue.Plane(ChannelLine(s, n, channel), channel);
    const Sample* b = queue.Plane(ChannelLine(s, n + 1, channel), channel);
    if (s.thirds && channel > 0 && sizeof(Sample) == 1) {
      MixThirdsRow(a, b, queue.Plane(ChannelLine(s, n + 2, channel), channel), f, width, out);
    } else if (f == 0 || a == b) {
      std::memcpy(out, a, width * sizeof(Sample));
    } else {
      for (uint32_t x = 0; x < width; ++x) {
        out[x] = static_cast<Sample>((a[x] * (65536u - f) + b[x] * f) >> 16);
      }
    }
  }
}

template <typename Sample>
void MakeRowFiltered(ResampleState& s, const Queue<Sample>& queue, uint32_t row, Sample* target) {
  const uint32_t taps = s.vertical.taps;
  const uint32_t* indices = &s.vertical.indices[static_cast<size_t>(row) * taps];
  const double* weights = &s.vertical.weights[static_cast<size_t>(row) * taps];
  const uint32_t width = s.outputWidth;
  double* sum = s.accumulator.data();
  // Taps of weight 0 add nothing. The first weighted tap sets the sums and the
  // last one goes straight into the row: the same sums as adding every tap to
  // zeros (a sign of zero aside, which the clamp does not see), with two passes fewer.
  uint32_t first = 0;
  uint32_t last = taps;
  while (first < last && weights[first] == 0.0) ++first;
  while (last > first && weights[last - 1] == 0.0) --last;
  for (uint32_t c = 0; c < queue.planes; ++c) {
    const int channel = static_cast<int>(c);
    Sample* out = target + static_cast<size_t>(OutputPlane(s, channel)) * width;
    if (first == last) {
      std::fill(out, out + width, Sample{0});
      continue;
    }
    auto line = [&](uint32_t t) { return queue.Plane(ChannelLine(s, indices[t], channel), channel); };
    const Sample* top = line(first);
    const double w0 = weights[first];
    if (last - first == 1) {
      for (uint32_t x = 0; x < width; ++x) out[x] = ClampToSample<Sample>(top[x] * w0);
      continue;
    }
    for (uint32_t x = 0; x < width; ++x) sum[x] = top[x] * w0;
    for (uint32_t t = first + 1; t + 1 < last; ++t) {
      const double w = weights[t];
      if (w == 0.0) continue;
      const Sample* middle = line(t);
      for (uint32_t x = 0; x < width; ++x) sum[x] += middle[x] * w;
    }
    const Sample* bottom = line(last - 1);
    const double wn = weights[last - 1];
    for (uint32_t x = 0; x < width; ++x) out[x] = ClampToSample<Sample>(sum[x] + bottom[x] * wn);
  }
}

// Drops the queue lines below the first line that output row still needs.
template <typename Sample>
void DropLinesBefore(ResampleState& s, const Queue<Sample>& queue, uint32_t row) {
  const uint64_t lowest = LowestLineOfRow(s, row);
  if (lowest <= s.linesConsumed) return;
  const uint32_t drop = static_cast<uint32_t>(std::min<uint64_t>(lowest - s.linesConsumed, s.pendingLines));
  const size_t lineSamples = queue.LineSamples();
  std::memmove(queue.lines, queue.lines + drop * lineSamples, (s.pendingLines - drop) * lineSamples * sizeof(Sample));
  s.pendingLines -= drop;
  s.linesConsumed += drop;
}

// Where each made row goes: straight into the output, or (line art) through a
// grey row that is then packed to bits.
template <typename Sample>
struct DirectRows {
  Sample* output;
  size_t rowSamples;
  Sample* Target(uint32_t i) const { return output + i * rowSamples; }
  void Finish(uint32_t) const {}
};

struct LineArtRows {
  uint8_t* output;
  uint8_t* grey;
  uint32_t width;
  uint8_t* Target(uint32_t) const { return grey; }
  void Finish(uint32_t i) const {
    uint8_t* bits = output + static_cast<size_t>(i) * ((width + 7) / 8);
    std::memset(bits, 0, (width + 7) / 8);
    for (uint32_t x = 0; x < width; ++x) {
      if (grey[x] < 128) bits[x >> 3] |= static_cast<uint8_t>(0x80 >> (x & 7));
    }
  }
};

template <typename Sample, typename Rows>
uint32_t Resample(const Sample* sourceLines, Sample* queueLines, uint32_t sourceLineCount, uint32_t firstRow,
                  uint32_t sourceWidth, uint32_t outputRow, uint32_t outputRowsWanted, uint32_t outputWidth,
                  uint32_t planes, const Rows& rows) {
  ResampleState& s = gResample;
  if (!s.ready || sourceWidth != s.sourceWidth || outputWidth != s.outputWidth) return 0;
  if (sourceLineCount != 0 && sourceLines == nullptr) return 0;
  s.firstRow = firstRow;
  const Queue<Sample> queue = {queueLines, planes};
  const size_t sourceLineSamples = static_cast<size_t>(planes) * sourceWidth;
  const uint32_t firstImageRow = firstRow + outputRow;
  uint32_t made = 0;
  // Vertical step: every row whose lines are all present.
  auto makeReadyRows = [&] {
    while (made < outputRowsWanted && firstImageRow + made < s.outputRows &&
           HighestLineOfRow(s, firstImageRow + made) < s.linesSupplied) {
      const uint32_t row = firstImageRow + made;
      if (HasTable(s.vertical)) {
        MakeRowFiltered(s, queue, row, rows.Target(made));
      } else {
        MakeRowFast(s, queue, row, rows.Target(made));
      }
      rows.Finish(made);
      ++made;
    }
  };
  makeReadyRows();
  for (; sourceLineCount > 0 && s.linesSupplied < s.totalLines; --sourceLineCount, sourceLines += sourceLineSamples) {
    if (s.pendingLines == s.queueLines) {
      DropLinesBefore(s, queue, firstImageRow + made);
      if (s.pendingLines == s.queueLines) break;
    }
    // Horizontal step for the new line; a line that no row needs any more is
    // skipped without being resampled.
    if (s.pendingLines == 0 && s.linesSupplied < LowestLineOfRow(s, firstImageRow + made)) {
      ++s.linesConsumed;
    } else {
      Sample* target = queue.lines + s.pendingLines * queue.LineSamples();
      for (uint32_t c = 0; c < planes; ++c) {
        ResampleLineHorizontally(s, sourceLines + c * sourceWidth, target + c * outputWidth);
      }
      ++s.pendingLines;
    }
    ++s.linesSupplied;
    makeReadyRows();
    // When the next row starts past every queued line, the queue empties
    // without moving anything, and the lines up to that row can be skipped.
    if (s.pendingLines > 0 && LowestLineOfRow(s, firstImageRow + made) >= s.linesSupplied) {
      s.linesConsumed = s.linesSupplied;
      s.pendingLines = 0;
    }
  }
  DropLinesBefore(s, queue, firstImageRow + made);
  s.nextOutputRow = outputRow + made;
  return made;
}

}  // namespace

bool ResampleSetup(uint32_t sourceWidth, uint32_t outputWidth, uint32_t sourceRows, double verticalScale,
                   int16_t offset0, int16_t offset1, int16_t offset2, uint8_t swap, uint8_t thirds,
                   uint16_t pendingCapacity) {
  ResampleTeardown();
  ResampleState& s = gResample;
  if (sourceWidth == 0 || outputWidth == 0 || sourceRows == 0) return false;
  s.sourceWidth = sourceWidth;
  s.outputWidth = outputWidth;
  s.sourceRows = sourceRows;
  s.verticalScale = verticalScale;
  const int16_t offsets[3] = {offset0, offset1, offset2};
  for (int c = 0; c < 3; ++c) s.offsets[c] = offsets[c] > 0 ? static_cast<uint32_t>(offsets[c]) : 0;
  s.smallestOffset = *std::min_element(s.offsets, s.offsets + 3);
  s.largestOffset = *std::max_element(s.offsets, s.offsets + 3);
  s.swap = swap != 0;
  s.thirds = thirds != 0;
  s.filtered = gFilteredResampling;
  s.outputRows = OutputRowsFor(sourceRows, verticalScale);
  s.centreLine = TruncRound((sourceRows - 1) / 2.0);
  s.totalLines = sourceRows + s.largestOffset;
  Thirds();
  try {
    s.fastIndex.resize(outputWidth);
    s.fastFraction.resize(outputWidth);
    s.accumulator.resize(outputWidth);
    s.greyRow.resize(outputWidth);
  } catch (const std::bad_alloc&) {
    ResampleTeardown();
    return false;
  }
  BuildFastHorizontal(s);
  if (s.filtered) {
    // A table that cannot be built leaves that direction to the fast step.
    BuildContributionTable(&s.horizontal, sourceWidth, outputWidth);
    if (s.outputRows != kUnlimitedRows) BuildContributionTable(&s.vertical, sourceRows, s.outputRows);
    try {
      BuildHorizontalSpans(s);
    } catch (const std::bad_alloc&) {
      ResampleTeardown();
      return false;
    }
  }
  s.queueLines = std::max<uint32_t>(pendingCapacity, LargestRowSpan(s)) + s.largestOffset - s.smallestOffset;
  s.ready = true;
  return true;
}

void ResampleTeardown() { gResample = ResampleState(); }

uint32_t ResampleQueueLines() { return gResample.queueLines; }

uint32_t ResampleOutputRows() { return gResample.outputRows; }

uint32_t ResampleLinesNeeded(uint32_t outputLinesWanted) {
  const ResampleState& s = gResample;
  const uint64_t first = static_cast<uint64_t>(s.firstRow) + s.nextOutputRow;
  if (!s.ready || outputLinesWanted == 0 || first >= s.outputRows) return 0;
  const uint32_t last = static_cast<uint32_t>(std::min<uint64_t>(first + outputLinesWanted - 1, s.outputRows - 1));
  const uint64_t highest = HighestLineOfRow(s, last);
  if (highest < s.linesSupplied) return 0;
  uint64_t room = s.queueLines - s.pendingLines;
  const uint64_t lowest = LowestLineOfRow(s, static_cast<uint32_t>(first));
  if (s.pendingLines == 0 && s.linesSupplied < lowest) room += lowest - s.linesSupplied;
  const uint64_t needed = std::min({highest + 1 - s.linesSupplied, room, uint64_t(s.totalLines - s.linesSupplied)});
  return static_cast<uint32_t>(needed);
}

uint32_t ResampleRgb8(const uint8_t* sourceLines, uint8_t* queue, uint8_t* output, uint32_t sourceLineCount,
                      uint32_t firstRow, uint32_t sourceWidth, uint32_t outputRow, uint32_t outputRowsWanted,
                      uint32_t outputWidth) {
  const DirectRows<uint8_t> rows = {output, static_cast<size_t>(3) * outputWidth};
  return Resample(sourceLines, queue, sourceLineCount, firstRow, sourceWidth, outputRow, outputRowsWanted,
                  outputWidth, 3, rows);
}

uint32_t ResampleRgb16(const uint16_t* sourceLines, uint16_t* queue, uint16_t* output, uint32_t sourceLineCount,
                       uint32_t firstRow, uint32_t sourceWidth, uint32_t outputRow, uint32_t outputRowsWanted,
                       uint32_t outputWidth) {
  const DirectRows<uint16_t> rows = {output, static_cast<size_t>(3) * outputWidth};
  return Resample(sourceLines, queue, sourceLineCount, firstRow, sourceWidth, outputRow, outputRowsWanted,
                  outputWidth, 3, rows);
}

uint32_t ResampleGrey8(const uint8_t* sourceLines, uint8_t* queue, uint8_t* output, uint32_t sourceLineCount,
                       uint32_t firstRow, uint32_t sourceWidth, uint32_t outputRow, uint32_t outputRowsWanted,
                       uint32_t outputWidth) {
  const DirectRows<uint8_t> rows = {output, outputWidth};
  return Resample(sourceLines, queue, sourceLineCount, firstRow, sourceWidth, outputRow, outputRowsWanted,
                  outputWidth, 1, rows);
}

uint32_t ResampleGrey16(const uint16_t* sourceLines, uint16_t* queue, uint16_t* output, uint32_t sourceLineCount,
                        uint32_t firstRow, uint32_t sourceWidth, uint32_t outputRow, uint32_t outputRowsWanted,
                        uint32_t outputWidth) {
  const DirectRows<uint16_t> rows = {output, outputWidth};
  return Resample(sourceLines, queue, sourceLineCount, firstRow, sourceWidth, outputRow, outputRowsWanted,
                  outputWidth, 1, rows);
}

uint32_t ResampleLineArt(const uint8_t* sourceLines, uint8_t* queue, uint8_t* output, uint32_t sourceLineCount,
                         uint32_t firstRow, uint32_t sourceWidth, uint32_t outputRow, uint32_t outputRowsWanted,
                         uint32_t outputWidth) {
  const LineArtRows rows = {output, gResample.greyRow.data(), outputWidth};
  return Resample(sourceLines, queue, sourceLineCount, firstRow, sourceWidth, outputRow, outputRowsWanted,
                  outputWidth, 1, rows);
}
