// Conversions of planar RGB rows to L*a*b* for the output of the band producer.
#pragma once

#include <cstdint>

// Brackets every use of the row kernels: tables for the display gamma.
void BuildLabTables(double gamma);
void FreeLabTables();

// rows x width 8-bit planar RGB to L*a*b* in place; a and b signed or with the offset.
void ConvertRgb8ToLab8(uint8_t* buffer, int32_t rows, int32_t width, bool signedAB);
// One planar row to three 16-bit L*a*b* planes; steps and plane offsets in samples.
void ConvertRgb8ToLab16(const uint8_t* source, uint16_t* destination, int32_t count, int32_t sourceStep,
                        int32_t sourcePlaneOffset, int32_t destinationStep, int32_t destinationPlaneOffset);
void ConvertRgb16ToLab16(const uint16_t* source, uint16_t* destination, int32_t count, int32_t sourceStep,
                         int32_t sourcePlaneOffset, int32_t destinationStep, int32_t destinationPlaneOffset,
                         bool signedAB);
