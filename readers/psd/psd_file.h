// A PSD file opened for reading: its header, where its sections lie, its
// image resources and the row tables of the composite image.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "foundation/file_io.h"
#include "readers/psd/psd_format.h"

struct PsdSections {
  uint64_t resourcesOffset = 0;  // of the resource blocks, behind their length
  uint32_t resourcesLength = 0;
  uint64_t imageDataOffset = 0;  // of the compression word
};

// Finds the sections behind the header: colour mode data, image resources,
// layer and mask data. Only their lengths are read; false when one of them
// is missing or runs past the end of the file.
bool LocatePsdSections(FileHandle file, PsdSections* sections);

// The image-resources section's blocks; empty when they cannot be read.
std::vector<uint8_t> ReadPsdResources(FileHandle file, const PsdSections& sections);

enum class PsdTablesResult { kOk, kNoMemory, kBadData };

// The composite image: per sample channel and row, where the row lies and
// how many bytes it takes in the file.
class PsdRowTables {
 public:
  // Reads the compression and, for packed data, the byte-count table. Bad
  // data: a short read, fewer channels in the file than samples per pixel,
  // or an image the file is too small to hold.
  PsdTablesResult Build(FileHandle file, const PsdHeader& header, uint16_t samplesPerPixel, uint64_t imageDataOffset);
  void Clear();

  bool Packed() const { return packed_; }
  uint32_t RowBytes() const { return rowBytes_; }

  // Reads rows first..first+count-1 (0-based) of every sample channel into
  // planes of count x RowBytes() bytes each, planeBytes apart; 16-bit samples
  // end in host order. Rows that cannot be read whole are zero. The packed
  // buffer is the caller's scratch space.
  void LoadRows(FileHandle file, uint32_t first, uint32_t count, uint8_t* planes, size_t planeBytes,
                std::vector<uint8_t>* packedBuffer) const;
  uint32_t LargestPackedRow() const { return largestPackedRow_; }

 private:
  struct Row {
    uint64_t offset;
    uint32_t bytes;
  };
  std::vector<Row> rows_[3];  // per sample channel
  bool packed_ = false;
  uint32_t rowBytes_ = 0;
  uint16_t depth_ = 8;
  uint32_t largestPackedRow_ = 0;
};
