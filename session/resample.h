// Line resampling engine: brings source lines to the output size while they
// stream in. Each new source line is resampled horizontally into a queue of
// pending lines; output rows are made from the queue by vertical resampling as
// soon as the lines they need are present. One engine at a time.
//
// Lines are planar: channel 0, 1 and 2 each width samples in a row (one plane
// for grey). Fast mode interpolates linearly in 16.16 fixed point; the filtered
// mode uses contribution tables (sinc to reduce, cubic to enlarge).
#pragma once

#include <cstdint>

// The user's filtered-resampling setting (non-zero: filtered); copied at set-up.
extern uint16_t gFilteredResampling;

// Prepares a read of sourceRows lines of sourceWidth samples into outputWidth
// samples, verticalScale source lines per output line. Channel c is taken
// offset c lines later in the queue (negative offsets count as 0); swap
// exchanges output channels 0 and 1; thirds mixes channels 1 and 2 from
// neighbouring lines (8-bit colour, fast mode). pendingCapacity is how many
// lines the queue may hold beyond the offsets. False when the engine's own
// working tables cannot be allocated (the members then make nothing).
bool ResampleSetup(uint32_t sourceWidth, uint32_t outputWidth, uint32_t sourceRows, double verticalScale,
                   int16_t offset0, int16_t offset1, int16_t offset2, uint8_t swap, uint8_t thirds,
                   uint16_t pendingCapacity);

// Frees the contribution tables and working buffers.
void ResampleTeardown();

// Lines the caller's queue buffer must hold after set-up (each of output width
// samples per channel).
uint32_t ResampleQueueLines();

// Number of output rows of the whole read.
uint32_t ResampleOutputRows();

// Source lines to supply next so that up to outputLinesWanted more rows can be
// made; never more than the queue has room for or the read has left. A member
// must not be given more source lines than this.
uint32_t ResampleLinesNeeded(uint32_t outputLinesWanted);

// The members: take sourceLineCount new source lines, then write up to
// outputRowsWanted rows to output (rows follow each other without gaps) and
// return how many were made. outputRow counts the rows made before this call;
// firstRow is added to it to place the rows in the source and stays the same
// through a read. Widths must be those given at set-up.
uint32_t ResampleRgb8(const uint8_t* sourceLines, uint8_t* queue, uint8_t* output, uint32_t sourceLineCount,
                      uint32_t firstRow, uint32_t sourceWidth, uint32_t outputRow, uint32_t outputRowsWanted,
                      uint32_t outputWidth);
uint32_t ResampleRgb16(const uint16_t* sourceLines, uint16_t* queue, uint16_t* output, uint32_t sourceLineCount,
                       uint32_t firstRow, uint32_t sourceWidth, uint32_t outputRow, uint32_t outputRowsWanted,
                       uint32_t outputWidth);
uint32_t ResampleGrey8(const uint8_t* sourceLines, uint8_t* queue, uint8_t* output, uint32_t sourceLineCount,
                       uint32_t firstRow, uint32_t sourceWidth, uint32_t outputRow, uint32_t outputRowsWanted,
                       uint32_t outputWidth);
uint32_t ResampleGrey16(const uint16_t* sourceLines, uint16_t* queue, uint16_t* output, uint32_t sourceLineCount,
                        uint32_t firstRow, uint32_t sourceWidth, uint32_t outputRow, uint32_t outputRowsWanted,
                        uint32_t outputWidth);
// Grey 8-bit in, one bit per sample out, most significant bit first; a set bit
// is a dark sample (below 128). Output rows are (width + 7) / 8 bytes apart.
uint32_t ResampleLineArt(const uint8_t* sourceLines, uint8_t* queue, uint8_t* output, uint32_t sourceLineCount,
                         uint32_t firstRow, uint32_t sourceWidth, uint32_t outputRow, uint32_t outputRowsWanted,
                         uint32_t outputWidth);
