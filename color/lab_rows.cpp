#include "color/lab_rows.h"

// Not built yet: no Lab tables, and the rows keep their RGB values (8-bit
// samples widened to 16 bits where the destination is wider).
void BuildLabTables(double) {}
void FreeLabTables() {}
void ConvertRgb8ToLab8(uint8_t*, int32_t, int32_t, bool) {}
void ConvertRgb8ToLab16(const uint8_t* source, uint16_t* destination, int32_t count, int32_t sourceStep,
                        int32_t sourcePlaneOffset, int32_t destinationStep, int32_t destinationPlaneOffset) {
  for (int c = 0; c < 3; ++c)
    for (int32_t i = 0; i < count; ++i)
      destination[c * destinationPlaneOffset + i * destinationStep] =
          static_cast<uint16_t>(source[c * sourcePlaneOffset + i * sourceStep] * 257);
}
void ConvertRgb16ToLab16(const uint16_t* source, uint16_t* destination, int32_t count, int32_t sourceStep,
                         int32_t sourcePlaneOffset, int32_t destinationStep, int32_t destinationPlaneOffset, bool) {
  for (int c = 0; c < 3; ++c)
    for (int32_t i = 0; i < count; ++i)
      destination[c * destinationPlaneOffset + i * destinationStep] = source[c * sourcePlaneOffset + i * sourceStep];
}
