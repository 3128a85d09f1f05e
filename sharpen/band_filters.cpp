#include "sharpen/band_filters.h"

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

// Not built yet: the source rows are taken at the size they are read.
void ScaleBandBicubic(FrameRecord*, bool finish, uint8_t* passByte, uint8_t* out, uint32_t* lineCounter,
                      uint32_t rowsWanted, uint32_t* outRows, uint32_t, uint32_t, uint32_t, uint32_t, int32_t, int32_t,
                      SourceRowReader readRows) {
  *passByte = readRows(finish, out, *lineCounter, rowsWanted, outRows);
}
