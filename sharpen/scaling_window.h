// The descreening resampler: the source of a descreen mode arrives at twice
// the descreen resolution, is halved by 2 x 2 averages, blurred once more by
// a 2 x 2 box (which removes a printed page's screen) and resampled to the
// output size, band by band.
#pragma once

#include <cstdint>

#include "foundation/memory.h"

struct FrameRecord;

// The state of one scan's resampling, carried from band to band.
struct ScalingWindow {
  MemHandle sourceBuffer;     // rows as the line source delivers them
  MemHandle workBuffer;       // halved and blurred rows
  uint16_t sourceWidth;       // samples per plane of a source row
  uint32_t sourceRows;        // rows of the whole source (S)
  uint32_t halvedWidth;
  uint32_t halvedRows;
  uint32_t rowsConsumed;      // source rows read so far in this scan
  int16_t rowsHeld;           // work rows carried over from the previous band
  int16_t firstUnblurredRow;  // first held row not yet blurred with its successor
};

extern ScalingWindow gScalingWindow;

// Filter kinds 2 and 3 descreen.
inline bool IsDescreenKind(uint8_t filterKind) { return filterKind == 2 || filterKind == 3; }

// Source rows beyond a read that the band's last output row may need: the
// buffers are allocated with them.
constexpr uint32_t kScalingLookaheadRows = 8;

// A line source: reads up to count rows from firstRow on into destination
// (planar rows at the source width) and gives their number in *delivered; a
// set stop ends the read. Non-zero once the source is done.
typedef uint8_t (*LineSource)(bool stop, uint8_t* destination, uint32_t firstRow, uint32_t count,
                              uint32_t* delivered);

// Sets the source size of a scan and empties the window; the buffers are the caller's.
void StartScalingWindow(uint16_t sourceWidth, uint32_t sourceRows);

// Produces up to rowsWanted output rows (firstOutputRow is the sum of all rows
// produced before) of an image of outputRows rows into destination, reading
// at most maxRowsPerRead source rows through readLines. *finished is the
// scan's finished flag: set once no output row is left to make.
void ScaleBandBicubic(const FrameRecord* frame, bool stop, uint8_t* finished, uint8_t* destination,
                      int32_t firstOutputRow, int16_t rowsWanted, int16_t* rowsProduced, int32_t maxRowsPerRead,
                      int32_t sourceRowBytes, int32_t workRowBytes, int32_t outputRowBytes, int32_t outputWidth,
                      int32_t outputRows, LineSource readLines);
