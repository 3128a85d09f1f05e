#include "readers/tiff_directory.h"

#include <cstring>

namespace {

constexpr uint32_t kEntryBytes = 12;

uint32_t TypeSize(uint16_t type) {
  switch (type) {
    case 3: case 8: return 2;                  // SHORT, SSHORT
    case 4: case 9: case 11: case 13: return 4;  // LONG, SLONG, FLOAT, IFD
    case 5: case 10: case 12: return 8;        // RATIONAL, SRATIONAL, DOUBLE
    default: return 1;                         // BYTE, ASCII, SBYTE, UNDEFINED
  }
}

uint32_t NumberSize(uint16_t type) {
  if (type == kTiffByte) return 1;
  if (type == kTiffShort) return 2;
  return 4;
}

}  // namespace

bool TiffSource::Read(uint64_t offset, void* buffer, uint64_t count) const {
  if (offset > fileSize_ || count > fileSize_ - offset) return false;
  if (count == 0) return true;
  return ReadBytesAt(file_, offset, buffer, static_cast<uint32_t>(count));
}

bool TiffSource::ReadOrZero(uint64_t offset, uint8_t* buffer, uint32_t count) const {
  if (Read(offset, buffer, count)) return true;
  std::memset(buffer, 0, count);
  if (offset < fileSize_) {
    const uint64_t available = fileSize_ - offset < count ? fileSize_ - offset : count;
    if (!Read(offset, buffer, available)) std::memset(buffer, 0, count);
  }
  return false;
}

uint16_t TiffSource::U16(const uint8_t* bytes) const {
  return bigEndian_ ? static_cast<uint16_t>(bytes[0] << 8 | bytes[1])
                    : static_cast<uint16_t>(bytes[1] << 8 | bytes[0]);
}

uint32_t TiffSource::U32(const uint8_t* bytes) const {
  return bigEndian_ ? uint32_t{bytes[0]} << 24 | uint32_t{bytes[1]} << 16 | uint32_t{bytes[2]} << 8 | bytes[3]
                    : uint32_t{bytes[3]} << 24 | uint32_t{bytes[2]} << 16 | uint32_t{bytes[1]} << 8 | bytes[0];
}

bool TiffDirectory::Load(const TiffSource* source, uint32_t offset) {
  source_ = source;
  entries_.clear();
  next_ = 0;
  uint8_t countBytes[2];
  if (!source->Read(offset, countBytes, 2)) return false;
  const uint32_t count = source->U16(countBytes);
  std::vector<uint8_t> raw(size_t{count} * kEntryBytes + 4);
  if (!source->Read(uint64_t{offset} + 2, raw.data(), raw.size())) return false;
  entries_.resize(count);
  for (uint32_t i = 0; i < count; ++i) {
    const uint8_t* bytes = raw.data() + size_t{i} * kEntryBytes;
    TiffEntry& entry = entries_[i];
    entry.tag = source->U16(bytes);
    entry.type = source->U16(bytes + 2);
    entry.count = source->U32(bytes + 4);
    std::memcpy(entry.field, bytes + 8, 4);
  }
  next_ = source->U32(raw.data() + size_t{count} * kEntryBytes);
  return true;
}

const TiffEntry* TiffDirectory::Find(uint16_t tag) const {
  for (const TiffEntry& entry : entries_) {
    if (entry.tag == tag) return &entry;
  }
  return nullptr;
}

uint32_t TiffDirectory::Value(const TiffEntry& entry) const {
  if (entry.count == 1 && entry.type == kTiffByte) return entry.field[0];
  if (entry.count == 1 && entry.type == kTiffShort) return source_->U16(entry.field);
  return source_->U32(entry.field);
}

uint64_t TiffDirectory::ValueBytes(const TiffEntry& entry) { return uint64_t{entry.count} * TypeSize(entry.type); }

bool TiffDirectory::HasData(const TiffEntry& entry) const {
  return ValueBytes(entry) <= 4 || source_->U32(entry.field) != 0;
}

bool TiffDirectory::ReadBytes(const TiffEntry& entry, std::vector<uint8_t>* bytes) const {
  const uint64_t size = ValueBytes(entry);
  if (size <= 4) {
    bytes->assign(entry.field, entry.field + size);
    return true;
  }
  // Checked before allocating: a huge count cannot make a huge buffer.
  if (size > source_->fileSize()) return false;
  bytes->resize(static_cast<size_t>(size));
  return source_->Read(source_->U32(entry.field), bytes->data(), size);
}

bool TiffDirectory::ReadNumbers(const TiffEntry& entry, std::vector<uint32_t>* numbers) const {
  const uint32_t size = NumberSize(entry.type);
  const uint64_t total = uint64_t{entry.count} * size;
  std::vector<uint8_t> raw;
  if (total <= 4) {
    raw.assign(entry.field, entry.field + total);
  } else {
    if (total > source_->fileSize()) return false;
    raw.resize(static_cast<size_t>(total));
    if (!source_->Read(source_->U32(entry.field), raw.data(), total)) return false;
  }
  numbers->resize(entry.count);
  for (uint32_t i = 0; i < entry.count; ++i) {
    const uint8_t* bytes = raw.data() + size_t{i} * size;
    (*numbers)[i] = size == 1 ? bytes[0] : size == 2 ? source_->U16(bytes) : source_->U32(bytes);
  }
  return true;
}
