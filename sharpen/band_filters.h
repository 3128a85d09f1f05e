// Sharpening of the band producer's rows: the bands of a scan pass through
// the unsharp mask with context rows carried from one band to the next.
#pragma once

#include <cstdint>

struct FrameRecord;

// Kinds 1, 3 to 6 and 9 to 12 sharpen; the others pass rows unchanged.
bool IsSharpeningKind(uint8_t filterKind);

// Prepares the automatic sharpening kinds for a scan; once, before the first band.
void PrepareAutoSharpen(FrameRecord* frame);

// Filters the band (rows new planar rows at `band`, room for 2m rows more)
// with the scan frame's filter and neighbourhood radius m, and gives the
// number of rows, now at the top of the band, that will not change any more.
// The rows of the scan's first band follow its first-band flag; the last rows
// come once the scan's finished flag is set. SharpenBandA filters three
// planes, SharpenBandB the first plane of the session's columns.
int16_t SharpenBandA(uint8_t* band, int32_t m, uint32_t rowBytes, int32_t rows);
int16_t SharpenBandB(uint8_t* band, int32_t m, uint32_t rowBytes, int32_t rows);
