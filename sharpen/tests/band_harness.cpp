#include "sharpen/tests/band_harness.h"

#include <algorithm>
#include <cstring>

#include "foundation/memory.h"
#include "records/defaults_block.h"
#include "records/session_block.h"
#include "sharpen/band_filters.h"
#include "sharpen/scaling_window.h"
#include "state/data_source_state.h"
#include "state/module_state.h"

namespace {

const PlanarImage* gSource = nullptr;
int32_t gShortReads = 0;

uint8_t ReadImageRows(bool stop, uint8_t* destination, uint32_t firstRow, uint32_t count, uint32_t* delivered) {
  const uint32_t rows = static_cast<uint32_t>(gSource->rows);
  uint32_t n = stop || firstRow >= rows ? 0 : std::min(count, rows - firstRow);
  if (gShortReads > 0) n = std::min(n, static_cast<uint32_t>(gShortReads));
  std::memcpy(destination, gSource->data.data() + static_cast<size_t>(firstRow) * gSource->RowBytes(),
              static_cast<size_t>(n) * gSource->RowBytes());
  *delivered = n;
  return stop || firstRow + n >= rows ? 1 : 0;
}

void FreeHandle(MemHandle* handle) {
  if (*handle) DisposeMemHandle(*handle);
  *handle = nullptr;
}

}  // namespace

int32_t SampleFactorOf(const FrameRecord& frame) {
  return IsSharpeningKind(frame.filterMode) ? std::min<int32_t>(frame.sharpenFlag, 2) + 1 : 1;
}

PlanarImage SharpenInBands(const FrameRecord& frame, bool negative, const PlanarImage& image, int32_t bandRows,
                           bool releaseCall, std::vector<int32_t>* handedOn) {
  static SessionBlock session;
  session.columns = static_cast<int16_t>(image.width);
  session.rows = static_cast<int16_t>(image.rows);
  gSession = &session;
  gScanFrame = frame;
  SetDefault(gDefaults, kDefaultNegativeMode, static_cast<uint8_t>(negative ? 1 : 0));

  const int32_t m = SampleFactorOf(frame);
  const uint32_t rowBytes = image.RowBytes();
  ScanBandState& band = gBand;
  band = ScanBandState{};
  band.filterCopyBuffer = NewMemHandle((bandRows + 2 * m) * rowBytes);
  band.filterCarryBlock = AllocBlock(2 * m * rowBytes);
  band.firstBand = 1;
  std::vector<uint8_t> buffer((bandRows + 2 * m) * rowBytes);

  PlanarImage out = image;
  out.data.clear();
  const auto filter = image.planes == 3 ? SharpenBandA : SharpenBandB;
  auto take = [&](int32_t rows) {
    const int16_t done = filter(buffer.data(), m, rowBytes, rows);
    if (handedOn) handedOn->push_back(done);
    out.data.insert(out.data.end(), buffer.begin(), buffer.begin() + done * rowBytes);
  };
  for (int32_t first = 0; first < image.rows; first += bandRows) {
    const int32_t rows = std::min(bandRows, image.rows - first);
    std::memcpy(buffer.data(), image.data.data() + static_cast<size_t>(first) * rowBytes, rows * rowBytes);
    if (first + rows >= image.rows && !releaseCall) band.passByte = 1;
    take(rows);
  }
  if (releaseCall) {
    band.passByte = 1;
    take(0);
  }
  FreeHandle(&band.filterCopyBuffer);
  FreeBlock(band.filterCarryBlock);
  band = ScanBandState{};
  out.rows = static_cast<int32_t>(out.data.size() / rowBytes);
  return out;
}

PlanarImage ScaleInBands(const PlanarImage& image, int32_t outWidth, int32_t outRows, int32_t bandRows,
                         int32_t shortReads) {
  FrameRecord frame = {};
  frame.colorMode = image.planes == 3 ? 2 : 1;
  frame.bitsPerChannel = static_cast<uint8_t>(image.bits);
  gSource = &image;
  gShortReads = shortReads;

  const int32_t sampleBytes = image.bits == 16 ? 2 : 1;
  StartScalingWindow(static_cast<uint16_t>(image.width), static_cast<uint32_t>(image.rows));
  ScalingWindow& window = gScalingWindow;
  // The producer's sizes: twice the halved rows of a band per read, at least 3.
  const int32_t windowRows = std::max<int32_t>(3, static_cast<int32_t>(window.halvedRows) * bandRows / outRows);
  const int32_t maxRead = 2 * windowRows;
  const int32_t sourceRowBytes = static_cast<int32_t>(image.RowBytes());
  const int32_t workRowBytes = static_cast<int32_t>(sampleBytes * image.planes * window.halvedWidth);
  const int32_t outRowBytes = sampleBytes * image.planes * outWidth;
  window.sourceBuffer = NewMemHandle(static_cast<uint32_t>((maxRead + kScalingLookaheadRows) * sourceRowBytes));
  window.workBuffer = NewMemHandle(static_cast<uint32_t>((maxRead + kScalingLookaheadRows) * workRowBytes));

  PlanarImage out{outWidth, 0, image.planes, image.bits, {}};
  std::vector<uint8_t> band(static_cast<size_t>(bandRows) * outRowBytes);
  uint8_t finished = 0;
  int32_t made = 0;
  while (!finished) {
    int16_t produced = 0;
    ScaleBandBicubic(&frame, false, &finished, band.data(), made, static_cast<int16_t>(bandRows), &produced, maxRead,
                     sourceRowBytes, workRowBytes, outRowBytes, outWidth, outRows, ReadImageRows);
    out.data.insert(out.data.end(), band.begin(), band.begin() + produced * outRowBytes);
    made += produced;
    // The producer ends a band that brings nothing.
    if (produced == 0 && !finished) break;
  }
  FreeHandle(&window.sourceBuffer);
  FreeHandle(&window.workBuffer);
  out.rows = made;
  return out;
}
