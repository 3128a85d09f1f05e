#include "readers/jpeg/jpeg_decoded_lines.h"

#include <cstring>
#include <vector>

namespace {

constexpr uint32_t kStampBytes = 24;

void PutLittleEndian64(uint8_t* p, uint64_t value) {
  for (int i = 0; i < 8; ++i) p[i] = static_cast<uint8_t>(value >> (8 * i));
}

std::vector<uint8_t> HeaderBytes(const DecodedLinesLayout& layout) {
  std::vector<uint8_t> header(kDecodedLinesHeaderBytes, 0);
  std::strncpy(reinterpret_cast<char*>(header.data()), layout.sourcePath, kDecodedLinesPathBytes - 1);
  std::memcpy(header.data() + kDecodedLinesPathBytes, layout.info, kDecodedLinesInfoBytes);
  return header;
}

std::vector<uint8_t> StampBytes(const FileStamp& stamp, uint64_t corrections) {
  std::vector<uint8_t> bytes(kStampBytes);
  PutLittleEndian64(bytes.data(), (uint64_t{stamp.sizeHigh} << 32) | stamp.sizeLow);
  PutLittleEndian64(bytes.data() + 8, (uint64_t{stamp.timeHigh} << 32) | stamp.timeLow);
  PutLittleEndian64(bytes.data() + 16, corrections);
  return bytes;
}

// The fixed file holds exactly this layout, completed.
bool HoldsComplete(FileHandle file, const DecodedLinesLayout& layout, uint64_t stampOffset) {
  uint64_t size = 0;
  if (!GetFileSize(file, &size) || size != stampOffset + kStampBytes) return false;
  std::vector<uint8_t> header(kDecodedLinesHeaderBytes);
  std::vector<uint8_t> stamp(kStampBytes);
  return ReadBytesAt(file, 0, header.data(), kDecodedLinesHeaderBytes) && header == HeaderBytes(layout) &&
         ReadBytesAt(file, stampOffset, stamp.data(), kStampBytes) && stamp == StampBytes(layout.stamp, layout.corrections);
}

}  // namespace

std::string FixedDecodedLinesPath() { return TemporaryFolder() + "~QBJ001.TMP"; }

uint64_t DecodedLinesFile::LineOffset(uint32_t line) const {
  return kDecodedLinesHeaderBytes + uint64_t{line - 1} * lineBytes_;
}

bool DecodedLinesFile::Open(bool unique, const DecodedLinesLayout& layout) {
  Close();
  unique_ = unique;
  stamp_ = layout.stamp;
  corrections_ = layout.corrections;
  lineBytes_ = layout.lineBytes;
  lines_ = layout.lines;
  path_ = unique ? CreateUniqueTemporaryFile() : FixedDecodedLinesPath();
  if (path_.empty()) return false;
  if (!unique) {
    file_ = OpenFileForReading(path_.c_str());
    if (file_ && HoldsComplete(file_, layout, LineOffset(lines_ + 1))) {
      complete_ = true;
      return true;
    }
    CloseFile(file_);
    DeleteFileAt(path_.c_str());
  }
  file_ = CreateFileForWriting(path_.c_str());
  std::vector<uint8_t> header = HeaderBytes(layout);
  if (!file_ || !WriteBytesAt(file_, 0, header.data(), kDecodedLinesHeaderBytes)) {
    CloseFile(file_);
    file_ = nullptr;
    DeleteFileAt(path_.c_str());
    return false;
  }
  return true;
}

bool DecodedLinesFile::WriteLine(uint32_t line, const void* samples) {
  return file_ && !complete_ && line >= 1 && line <= lines_ &&
         WriteBytesAt(file_, LineOffset(line), samples, lineBytes_);
}

bool DecodedLinesFile::ReadLine(uint32_t line, void* samples) const {
  return file_ && line >= 1 && line <= lines_ && ReadBytesAt(file_, LineOffset(line), samples, lineBytes_);
}

bool DecodedLinesFile::MarkComplete() {
  if (!file_ || complete_) return complete_;
  std::vector<uint8_t> stamp = StampBytes(stamp_, corrections_);
  complete_ = WriteBytesAt(file_, LineOffset(lines_ + 1), stamp.data(), kStampBytes);
  return complete_;
}

void DecodedLinesFile::Close() {
  if (!file_) return;
  CloseFile(file_);
  file_ = nullptr;
  if (unique_ || !complete_) DeleteFileAt(path_.c_str());
  complete_ = false;
}
