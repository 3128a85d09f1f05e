// The corrections and output conversions of a band's rows, shared by the
// transfer's band producer and the file writers. The two differ only in the
// output form, which the job carries.
#pragma once

#include <cstdint>

struct BandServices;
struct FrameRecord;

struct BandCorrectionJob {
  const FrameRecord& frame;
  const BandServices& services;
  int32_t columns;
  int32_t planes;        // read planes: 3 for RGB, else 1
  int32_t outputPlanes;  // 4 for CMYK output, else planes
  int32_t bits;          // 1, 8 or 16
  int32_t sampleFactor;  // the sharpening filters' context m
  bool zir;              // 16-bit ZIR data: only the reduction table applies
  uint32_t lineBytes;    // a row of the read planes
  uint32_t rowBytes;     // a row of the output planes
  int32_t regionX;       // left of the rows in the region corrections' grid
  int32_t regionY;       // the grid row of the first row of the rows given
  uint8_t* work;         // at least as many bytes as the rows given hold, and four bytes a column
  void* transformLine;   // the scanner transform's line buffer, or null when it does not apply
  void* labLine;         // six bytes a column for the L*a*b* separation, or null
  // The transfer's form: CMYK samples complemented, L*a*b* a and b offset.
  bool complementCmyk;
  bool signedLab8;
};

// Corrections by the kind of data (reduction, input colour management,
// global selective colour, sharpening, region corrections) on the rows at
// `at`; the number of finished rows, which the sharpening filters may change.
int32_t CorrectBandRows(const BandCorrectionJob& job, uint8_t* at, int32_t rows);
// The output conversion (CMYK separation, output transform, L*a*b*) of
// corrected rows, not for ZIR data; the rows handed on.
int32_t ConvertBandRows(const BandCorrectionJob& job, uint8_t* at, int32_t rows);
