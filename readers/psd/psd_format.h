// Pieces of the layered-editor file format that need no open file: the
// fixed header, PackBits rows and image-resource blocks. All values in the
// file are big-endian.
#pragma once

#include <cstdint>
#include <vector>

constexpr uint32_t kPsdHeaderBytes = 26;
constexpr uint32_t kPsdMaxSide = 30000;  // pixels a side of a version-1 file

struct PsdHeader {
  uint16_t channels;  // channels stored in the file
  uint32_t height;
  uint32_t width;
  uint16_t depth;     // bits per channel
  uint16_t mode;      // colour mode: 1 greyscale, 3 RGB, ...
};

uint16_t BigEndian16(const uint8_t* p);
uint32_t BigEndian32(const uint8_t* p);

PsdHeader ParsePsdHeader(const uint8_t (&bytes)[kPsdHeaderBytes]);

// Samples per pixel of a colour mode the readers take (1 or 3), 0 for others.
uint16_t PsdSamplesPerPixel(uint16_t mode);

// Unpacks one PackBits row into rowBytes bytes. A run that would pass the row
// end or a count whose bytes run past the packed data stops the unpacking;
// the rest of the row is then zero and the result false. The result is also
// false when the packed data ends before the row is full.
bool UnpackBitsRow(const uint8_t* packed, uint32_t packedSize, uint8_t* row, uint32_t rowBytes);

// One image-resource block: a 4-byte signature, a u16 id, a length-prefixed
// name padded to an even length, a u32 size and the data padded likewise.
struct ImageResourceView {
  const uint8_t* name;  // length byte followed by the characters
  const uint8_t* data;
  uint32_t size;
};

// Walks the blocks from the start; true for the first block with the id.
// A block that does not fit in what is left ends the walk.
bool FindImageResourceBlock(const uint8_t* blocks, uint32_t length, uint16_t id, ImageResourceView* view);
// A copy of the first block's data with the id; empty when there is none or
// no memory. name (when given) receives the block's length-prefixed name.
// The TIFF reader finds the same blocks in its image-resources tag.
std::vector<uint8_t> CopyImageResource(const uint8_t* blocks, uint32_t length, uint16_t id, uint8_t* name);
