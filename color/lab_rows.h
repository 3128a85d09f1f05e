// RGB <-> CIE L*a*b* over the RGB basis of the defaults block (display gamma,
// primaries, white point): integer kernels for rows and double routines for
// single colours. Used by the band producer's Lab output, the separations, the
// densitometer and the colour tools.
#pragma once

#include <cstdint>

// Brackets every use of the routines below: the tables for the given gamma and
// the current primaries and white point of the defaults block.
void BuildLabTables(double gamma);
void FreeLabTables();

// Row kernels. 8-bit Lab keeps L in 0..255 (2.55 x L*); a and b either signed
// (-127..127, stored as two's complement bytes) or with an offset of 128.
// rows x width 8-bit planar RGB to L*a*b* in place.
void ConvertRgb8ToLab8(uint8_t* buffer, int32_t rows, int32_t width, bool signedAB);
// 8-bit RGB to 16-bit Lab (L x 256 of the 8-bit scale, a and b x 256 + 32768);
// steps and plane offsets in samples.
void ConvertRgb8ToLab16(const uint8_t* source, uint16_t* destination, int32_t count, int32_t sourceStep,
                        int32_t sourcePlaneOffset, int32_t destinationStep, int32_t destinationPlaneOffset);
// 16-bit RGB to 16-bit Lab: L x 655.35, a and b x 65535/254 (+127 unless signed,
// then stored as int16).
void ConvertRgb16ToLab16(const uint16_t* source, uint16_t* destination, int32_t count, int32_t sourceStep,
                         int32_t sourcePlaneOffset, int32_t destinationStep, int32_t destinationPlaneOffset,
                         bool signedAB);
// The inverses: rows x width 8-bit planar Lab to RGB in place, and 16-bit Lab in
// the form ConvertRgb16ToLab16 writes with the offset to 8-bit RGB.
void ConvertLab8ToRgb8(uint8_t* buffer, int32_t rows, int32_t width, bool signedAB);
void ConvertLab16ToRgb8(const uint16_t* source, uint8_t* destination, int32_t count, int32_t sourceStep,
                        int32_t sourcePlaneOffset, int32_t destinationStep, int32_t destinationPlaneOffset);

// One colour in doubles: RGB in 0..1, XYZ scaled so that the white is the sum
// of the RGB -> XYZ matrix rows, L* 0..100, a* and b* unbounded.
void RgbToXyz(const double rgb[3], double xyz[3]);
void XyzToLab(const double xyz[3], double lab[3]);
void RgbToLab(const double rgb[3], double lab[3]);
void LabToXyz(const double lab[3], double xyz[3]);
void XyzToRgb(const double xyz[3], double rgb[3]);
void LabToRgb(const double lab[3], double rgb[3]);

// Each sample of rows x 3 planes x width bytes := (sample x factor + 127) >> 8.
void MultiplyRgb8Rows(uint8_t* rows, const uint8_t* factors, int32_t rowCount, int32_t width);
// 255 - grey into each of three planes; steps and plane offset in samples.
void InvertGreyToRgb8(const uint8_t* grey, uint8_t* rgb, int32_t count, int32_t greyStep, int32_t rgbStep,
                      int32_t rgbPlaneOffset);
