#include "readers/psd/psd_file.h"

#include <cstring>
#include <new>

namespace {

// A packed row's byte count is a u16, and PackBits turns two bytes into at
// most 128: longer rows cannot be stored packed.
constexpr uint64_t kLongestPackedRow = 0xFFFFull / 2 * 128;

// Reads a section's u32 length at the offset; false when it or the section
// it announces lies beyond the end of the file.
bool SectionLength(FileHandle file, uint64_t offset, uint64_t fileSize, uint32_t* length) {
  uint8_t bytes[4];
  if (!ReadBytesAt(file, offset, bytes, 4)) return false;
  *length = BigEndian32(bytes);
  return offset + 4 + *length <= fileSize;
}

void SwapWords(uint8_t* bytes, size_t count) {
  for (size_t i = 0; i + 1 < count; i += 2) {
    uint16_t word = BigEndian16(bytes + i);
    std::memcpy(bytes + i, &word, 2);
  }
}

}  // namespace

bool LocatePsdSections(FileHandle file, PsdSections* sections) {
  uint64_t fileSize = 0;
  uint32_t colourData = 0;
  uint32_t layers = 0;
  if (!GetFileSize(file, &fileSize) || !SectionLength(file, kPsdHeaderBytes, fileSize, &colourData)) return false;
  uint64_t resources = kPsdHeaderBytes + 4 + uint64_t{colourData};
  if (!SectionLength(file, resources, fileSize, &sections->resourcesLength)) return false;
  sections->resourcesOffset = resources + 4;
  uint64_t layerSection = sections->resourcesOffset + sections->resourcesLength;
  if (!SectionLength(file, layerSection, fileSize, &layers)) return false;
  sections->imageDataOffset = layerSection + 4 + layers;
  return true;
}

std::vector<uint8_t> ReadPsdResources(FileHandle file, const PsdSections& sections) {
  std::vector<uint8_t> blocks;
  try {
    blocks.resize(sections.resourcesLength);
  } catch (const std::bad_alloc&) {
    return {};
  }
  if (!blocks.empty() && !ReadBytesAt(file, sections.resourcesOffset, blocks.data(), sections.resourcesLength)) {
    return {};
  }
  return blocks;
}

void PsdRowTables::Clear() {
  for (std::vector<Row>& rows : rows_) std::vector<Row>().swap(rows);
  packed_ = false;
  rowBytes_ = 0;
  largestPackedRow_ = 0;
}

PsdTablesResult PsdRowTables::Build(FileHandle file, const PsdHeader& header, uint16_t samplesPerPixel,
                                    uint64_t imageDataOffset) {
  Clear();
  depth_ = header.depth;
  const uint64_t rowBytes = (uint64_t{header.width} * header.depth + 7) / 8;
  const uint32_t height = header.height;
  const uint64_t dataStart = imageDataOffset + 2;
  uint8_t compression[2];
  uint64_t fileSize = 0;
  if (samplesPerPixel > 3 || header.channels < samplesPerPixel || !GetFileSize(file, &fileSize) ||
      !ReadBytesAt(file, imageDataOffset, compression, 2)) {
    return PsdTablesResult::kBadData;
  }
  packed_ = BigEndian16(compression) != 0;
  // Every row of every channel takes at least a byte count (packed) or its bytes (raw).
  const uint64_t available = fileSize > dataStart ? fileSize - dataStart : 0;
  const uint64_t leastRowBytes = packed_ ? 2 * uint64_t{header.channels} : samplesPerPixel * rowBytes;
  if (rowBytes == 0 || height == 0 || (packed_ && rowBytes > kLongestPackedRow) ||
      height > available / leastRowBytes || leastRowBytes * height > UINT32_MAX) {
    Clear();
    return PsdTablesResult::kBadData;
  }
  const uint64_t leastBytes = leastRowBytes * height;
  rowBytes_ = static_cast<uint32_t>(rowBytes);
  std::vector<uint8_t> counts;
  try {
    for (uint16_t c = 0; c < samplesPerPixel; ++c) rows_[c].resize(height);
    if (packed_) counts.resize(leastBytes);
  } catch (const std::bad_alloc&) {
    Clear();
    return PsdTablesResult::kNoMemory;
  }
  if (!packed_) {
    for (uint16_t c = 0; c < samplesPerPixel; ++c) {
      for (uint32_t r = 0; r < height; ++r) {
        rows_[c][r] = Row{dataStart + (uint64_t{c} * height + r) * rowBytes_, rowBytes_};
      }
    }
    return PsdTablesResult::kOk;
  }
  if (!ReadBytesAt(file, dataStart, counts.data(), static_cast<uint32_t>(counts.size()))) {
    Clear();
    return PsdTablesResult::kBadData;
  }
  uint64_t offset = dataStart + counts.size();
  for (uint16_t c = 0; c < samplesPerPixel; ++c) {
    for (uint32_t r = 0; r < height; ++r) {
      uint32_t bytes = BigEndian16(counts.data() + 2 * (size_t{c} * height + r));
      rows_[c][r] = Row{offset, bytes};
      offset += bytes;
      if (bytes > largestPackedRow_) largestPackedRow_ = bytes;
    }
  }
  return PsdTablesResult::kOk;
}

void PsdRowTables::LoadRows(FileHandle file, uint32_t first, uint32_t count, uint8_t* planes, size_t planeBytes,
                            std::vector<uint8_t>* packedBuffer) const {
  for (int c = 0; c < 3 && !rows_[c].empty(); ++c) {
    for (uint32_t i = 0; i < count; ++i) {
      uint8_t* row = planes + c * planeBytes + size_t{i} * rowBytes_;
      const Row& source = rows_[c][first + i];
      bool whole;
      if (packed_) {
        whole = source.bytes <= packedBuffer->size() &&
                ReadBytesAt(file, source.offset, packedBuffer->data(), source.bytes) &&
                UnpackBitsRow(packedBuffer->data(), source.bytes, row, rowBytes_);
      } else {
        whole = ReadBytesAt(file, source.offset, row, rowBytes_);
      }
      if (!whole) std::memset(row, 0, rowBytes_);
      if (depth_ == 16) SwapWords(row, rowBytes_);
    }
  }
}
