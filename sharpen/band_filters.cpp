#include "sharpen/band_filters.h"

#include <cstring>
#include <vector>

#include "records/frame_record.h"

// Not built yet: no automatic sharpening parameters.
void PrepareAutoSharpen(FrameRecord*) {}

// Not built yet: the rows pass unsharpened and without a delay.
int32_t SharpenBandA(uint8_t*, int32_t, uint32_t, int32_t rows, uint8_t* firstBand, uint8_t) {
  *firstBand = 0;
  return rows;
}
int32_t SharpenBandB(uint8_t*, int32_t, uint32_t, int32_t rows, uint8_t* firstBand, uint8_t) {
  *firstBand = 0;
  return rows;
}

// Not built yet: instead of the bicubic kernel every second source row and
// column is taken, so that the rows have the size the band expects.
void ScaleBandBicubic(FrameRecord* frame, bool finish, uint8_t* passByte, uint8_t* out, uint32_t*,
                      uint32_t rowsWanted, uint32_t* outRows, uint32_t, uint32_t fullRowBytes, uint32_t, uint32_t lineBytes,
                      int32_t columns, int32_t, SourceRowReader readRows) {
  static std::vector<uint8_t> source;
  const uint32_t sampleBytes = frame->bitsPerChannel == 16 ? 2 : 1;
  const uint32_t planes = frame->colorMode == 2 ? 3 : 1;
  const uint32_t sourceWidth = fullRowBytes / (sampleBytes * planes);
  if (source.size() < size_t{2} * rowsWanted * fullRowBytes) source.resize(size_t{2} * rowsWanted * fullRowBytes);
  uint32_t read = 0;
  *passByte = readRows(finish, source.data(), 0, 2 * rowsWanted, &read);
  *outRows = (read + 1) / 2;
  for (uint32_t y = 0; y < *outRows; ++y) {
    const uint8_t* from = source.data() + size_t{2} * y * fullRowBytes;
    uint8_t* to = out + size_t{y} * lineBytes;
    for (uint32_t p = 0; p < planes; ++p)
      for (int32_t x = 0; x < columns; ++x) {
        const uint32_t column = static_cast<uint32_t>(2 * x) < sourceWidth ? 2 * x : sourceWidth - 1;
        std::memcpy(to + (p * columns + x) * sampleBytes, from + (p * sourceWidth + column) * sampleBytes, sampleBytes);
      }
  }
}
