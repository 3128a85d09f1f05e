#include "sharpen/negative_curves.h"

#include <cmath>

#include "foundation/round.h"

uint8_t gFilmCurvesInGamma = 0;
uint8_t gNegativeConversionOn = 0;
uint8_t gFixedPointFilmRemap = 0;
uint8_t gPreviewTableBuild = 0;

// Until the film profiles exist every film is linear: a straight line over the range.
void ComputeNegativeCurves(uint16_t* table, double x0, double x1, double y0, double y1, int16_t /*channel*/,
                           FrameRecord* /*frame*/, double /*gamma*/) {
  if (!table || !(x1 > x0)) return;
  for (int32_t i = static_cast<int32_t>(std::ceil(x0)); i <= x1; ++i) {
    table[i] = static_cast<uint16_t>(TruncRound((i - x0) * (y1 - y0) / (x1 - x0) + y0));
  }
}

// Until the film profiles exist the film curve leaves the table as it is.
void BuildNegativeTable8(uint8_t* /*table*/, FrameRecord* /*frame*/, int32_t /*size*/, int16_t /*channel*/) {}

// Until the film profiles exist the film curve leaves the table as it is.
void BuildNegativeTable16(uint16_t* /*table*/, FrameRecord* /*frame*/, int32_t /*size*/, int16_t /*channel*/) {}
