// Sharpening and scaling of the band producer's rows.
#pragma once

#include <cstdint>

struct FrameRecord;

// Prepares the automatic sharpening parameters of the frame; once at the first band.
void PrepareAutoSharpen(FrameRecord* frame);

// Sharpen rows of the band in place with k context rows. The first call after
// the producer set firstBand clears it and hands on rows - k; a call made when
// sourceDone is set hands on rows + k; any other call hands on rows (never
// below 0). The carried rows are kept by the filters themselves.
int32_t SharpenBandA(uint8_t* band, int32_t k, uint32_t lineBytes, int32_t rows, uint8_t* firstBand,
                     uint8_t sourceDone);
int32_t SharpenBandB(uint8_t* band, int32_t k, uint32_t lineBytes, int32_t rows, uint8_t* firstBand,
                     uint8_t sourceDone);

// Reads source rows through readRows and scales them to the frame's size
// into out; sets *passByte when the source is done; the rows made go to *outRows.
typedef uint8_t (*SourceRowReader)(bool finish, uint8_t* out, uint32_t firstRow, uint32_t wanted, uint32_t* count);
void ScaleBandBicubic(FrameRecord* frame, bool finish, uint8_t* passByte, uint8_t* out, uint32_t* lineCounter,
                      uint32_t rowsWanted, uint32_t* outRows, uint32_t sourceRows, uint32_t fullRowBytes,
                      uint32_t halfRowBytes, uint32_t lineBytes, int32_t columns, int32_t rows,
                      SourceRowReader readRows);
