// Reading the image in bands for a preview or a final scan: the source
// rectangle of a frame and the sizes of the two line buffers.
#pragma once

#include <cstdint>

struct FrameRecord;

struct SourceRect {
  int32_t left;
  int32_t top;
  int32_t width;
  int32_t height;
};

// The rectangle kept inside an image of the size: left and top at most the
// last column and row, width and height at least 1 and at most what is left.
SourceRect ClampSourceRect(SourceRect rect, uint32_t imageWidth, uint32_t imageHeight);
// The rectangle in an image reduced by the ratio (reduced width / image width), kept inside it.
SourceRect ReduceSourceRect(const SourceRect& rect, double ratio, uint32_t reducedWidth, uint32_t reducedHeight);

// The frame's area in image pixels (inches times the image's resolution),
// rounded, and kept inside the image: left and top at most the last column
// and row, width and height at most what is left of the image from there.
SourceRect FrameSourceRect(const FrameRecord& frame, uint32_t imageWidth, uint32_t imageHeight,
                           uint32_t resolution);

// Source lines per output line: (source height - 1) / (output height - 1);
// 1.0 for a single output line.
double ReadScale(int32_t sourceHeight, int32_t outputHeight);

// Bytes of the line buffers: the source buffer holds 60 samples a column of
// the source width; the output buffer 78 samples a column of the output
// width, more for a reduction (scale above 1) by the scale; both doubled for
// 16 bits.
struct LineBufferSizes {
  uint32_t source;
  uint32_t output;
};
LineBufferSizes ComputeLineBufferSizes(int32_t sourceWidth, int32_t outputWidth, double scale, int32_t bits);
