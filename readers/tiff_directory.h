// The byte-order aware view of a TIFF file and one of its image file directories
// (IFDs). Every value is read at an absolute offset and only when it lies wholly
// inside the file, so that no count or offset from the file is followed blindly.
#pragma once

#include <cstdint>
#include <vector>

#include "foundation/file_io.h"

class TiffSource {
 public:
  TiffSource() = default;
  TiffSource(FileHandle file, uint64_t fileSize, bool bigEndian)
      : file_(file), fileSize_(fileSize), bigEndian_(bigEndian) {}

  // False when the bytes are not all inside the file or cannot be read.
  bool Read(uint64_t offset, void* buffer, uint64_t count) const;
  // Reads what the file holds of the range and zero-fills the rest; false when short.
  bool ReadOrZero(uint64_t offset, uint8_t* buffer, uint32_t count) const;

  uint16_t U16(const uint8_t* bytes) const;
  uint32_t U32(const uint8_t* bytes) const;
  uint64_t fileSize() const { return fileSize_; }
  bool bigEndian() const { return bigEndian_; }

 private:
  FileHandle file_ = nullptr;
  uint64_t fileSize_ = 0;
  bool bigEndian_ = false;
};

// One 12-byte directory entry: the value field holds the value itself when it
// fits in four bytes, else the offset of the value.
struct TiffEntry {
  uint16_t tag;
  uint16_t type;
  uint32_t count;
  uint8_t field[4];
};

enum TiffType : uint16_t { kTiffByte = 1, kTiffAscii = 2, kTiffShort = 3, kTiffLong = 4, kTiffRational = 5 };

class TiffDirectory {
 public:
  // Reads the directory at the offset; false when it is not wholly inside the file.
  bool Load(const TiffSource* source, uint32_t offset);

  // The first entry of the tag in file order, or null.
  const TiffEntry* Find(uint16_t tag) const;
  uint32_t nextOffset() const { return next_; }

  // The entry as one number: BYTE and SHORT of count 1 as their value, anything
  // else as the 32-bit value field.
  uint32_t Value(const TiffEntry& entry) const;
  // Bytes the value takes: count x the type's size.
  static uint64_t ValueBytes(const TiffEntry& entry);
  // True when the value has data: it sits in the entry, or at a non-zero offset.
  bool HasData(const TiffEntry& entry) const;
  // The whole value, from the entry or from its offset; false when outside the file.
  bool ReadBytes(const TiffEntry& entry, std::vector<uint8_t>* bytes) const;
  // The count numbers of a BYTE, SHORT or LONG entry (any other type is read as
  // LONG); false when outside the file.
  bool ReadNumbers(const TiffEntry& entry, std::vector<uint32_t>* numbers) const;

 private:
  const TiffSource* source_ = nullptr;
  std::vector<TiffEntry> entries_;
  uint32_t next_ = 0;
};
