// The band producer: reads the frozen scan frame from the source in reads of
// a few rows, corrects and converts them in place, and leaves one band of at
// most kBandBytes in the session block per call.
#pragma once

#include <cstdint>
#include <vector>

#include "foundation/geometry.h"

struct FrameRecord;

constexpr uint32_t kBandBytes = 1000000;

// How the rows of a scan are read.
struct BandReadPlan {
  int32_t rowsPerRead;    // n
  uint32_t bandRowBytes;  // a row as the band holds it: all session planes
  uint32_t lineBytes;     // a row as a read delivers it: the frame's planes
  uint32_t bandLimit;     // reads follow one another while fewer bytes are written
};

// readPlanes: 3 for RGB frames, else 1; bits 1, 8 or 16.
BandReadPlan PlanBandReads(int32_t readPlanes, int32_t sessionPlanes, int32_t columns, int32_t bits);

// The descreen modes: the plan's reads in proportion to the scaling window's
// halved rows for an image of `rows` output rows, within the band buffer; the
// source rows the resampler may read at once (0 before the window is set).
int32_t PlanDescreenReads(BandReadPlan* plan, int32_t rows);
// Reads up to n rows of the frame's planes at `at`: through the descreening
// resampler in the descreen modes (not for ZIR data), else from the scan
// read; sets the band's pass byte and gives the rows made.
uint32_t ReadBandRows(FrameRecord& frame, bool cancel, uint8_t* at, int32_t n, int32_t windowRows, uint32_t lineBytes,
                      int32_t columns, int32_t rows, int32_t planes, int32_t bits, bool zir);

// ZIR data: 16 bits per channel with a bit-depth choice above 0.
bool IsZirData(const FrameRecord& frame);

// The 16-bit reduction of ZIR output, built by PrepareScan.
struct ScanReduction {
  std::vector<uint16_t> table;
  uint16_t inBits = 0;
  uint16_t outBits = 0;
};
extern ScanReduction gScanReduction;
// Builds gScanReduction for ZIR data with the reduction switched on, else empties it.
void PrepareScanReduction(const FrameRecord& frame);

// The current band in the frame's rows: top and bottom rows, left 0 and
// right the frame's width in pixels.
extern Rect16 gBandRect;

// Allocates (allocate) or frees the band buffers of the scan; non-zero when an allocation failed.
uint8_t AllocateBandBuffers(bool allocate, uint32_t lineBytes, int32_t sampleFactor, int32_t rowsPerRead,
                            int32_t windowRows, int32_t twiceWindowRows);
// The band as the host takes it when no orientation applies: interleaved in
// the second buffer for a "BUPP" host, else the planar band itself.
uint8_t* BandDataForHost(uint8_t* band, uint8_t* second, const Rect16& rect);
// Produces the next band into the session block; a null band ends the image.
void RunScan();
