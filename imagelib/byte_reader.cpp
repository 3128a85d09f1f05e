#include "imagelib/byte_reader.h"

#include <cstring>

namespace imagelib {

bool ByteReader::Refill() {
  next_ = 0;
  end_ = stream_.Read(buffer_, sizeof buffer_);
  return end_ != 0;
}

bool ByteReader::Byte(uint8_t* value) {
  if (next_ == end_ && !Refill()) return false;
  *value = buffer_[next_++];
  return true;
}

bool ByteReader::Bytes(void* buffer, uint32_t count) {
  auto* out = static_cast<uint8_t*>(buffer);
  while (count > 0) {
    if (next_ == end_ && !Refill()) return false;
    const uint32_t take = count < end_ - next_ ? count : end_ - next_;
    std::memcpy(out, buffer_ + next_, take);
    next_ += take;
    out += take;
    count -= take;
  }
  return true;
}

bool ByteReader::Skip(uint64_t count) {
  const uint32_t buffered = end_ - next_;
  if (count <= buffered) {
    next_ += static_cast<uint32_t>(count);
    return true;
  }
  count -= buffered;
  Reset();
  // Seeks take a long, which is 32 bits on Windows.
  constexpr uint64_t kStep = 1u << 30;
  for (; count > kStep; count -= kStep)
    if (!stream_.Seek(static_cast<long>(kStep), 1)) return false;
  return stream_.Seek(static_cast<long>(count), 1);
}

}  // namespace imagelib
