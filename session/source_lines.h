// Source lines of the image file for the resampling engine: lines are read
// through the open reader as planes (8-bit colour lines hold green, red, blue;
// 16-bit lines red, green, blue), and the reader is given per-channel output
// tables that carry the frame's tone curves into its 8-bit samples.
#pragma once

#include <cstdint>
#include <vector>

#include "readers/image_file_reader.h"
#include "records/frame_record.h"

// The read the device layer has open, as the source lines see it.
struct SourceLineRead {
  ImageFileReader* reader = nullptr;  // null: no read open
  uint32_t left = 0;                  // source rectangle in image pixels
  uint32_t top = 0;
  uint32_t linesRead = 0;             // lines of the rectangle delivered so far
  uint16_t bitsPerSample = 8;         // of the delivered samples: 8 or 16 (grey reads below 8 deliver nothing)
  uint16_t imagePlanes = 3;           // colour planes of the image file
  int16_t greyChannel = 0;            // reader channel of grey reads
};

extern SourceLineRead gSourceLineRead;

// Reads the next `lines` lines of the rectangle into buffer (each line
// channels x width samples, planar) and advances linesRead by them. True with
// no open reader (nothing read); false when the reader fails (the line and the
// rest are left).
bool ReadSourceLines(void* buffer, uint32_t lines, uint32_t width, uint32_t channels);

// Installs the reader's output tables for a read of the frame. gammaTables
// and gammaBits are the reader's four gamma tables (GetGammaTable). A read of
// 16 bits per sample removes the output tables instead. False when a table
// cannot be made, or when the image has 16 bits per sample and a channel's
// gamma table is missing or not 14 bits wide (nothing is installed then).
bool PrepareSourceLines(ImageFileReader* reader, FrameRecord* frame, const std::vector<uint16_t>* const gammaTables[4],
                        const uint32_t gammaBits[4]);
