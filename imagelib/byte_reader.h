// Buffered reading of a stream for the codecs that take their data a byte or
// a few at a time: one stream read per 4096 bytes instead of one per value.
#ifndef IMAGELIB_BYTE_READER_H
#define IMAGELIB_BYTE_READER_H

#include <cstdint>

#include "imagelib/io_stream.h"

namespace imagelib {

class ByteReader {
 public:
  explicit ByteReader(IoStream& stream) : stream_(stream) {}

  // False when the stream ends first.
  bool Byte(uint8_t* value);
  bool Bytes(void* buffer, uint32_t count);
  // Past the buffer by seeking: a skip beyond the end shows at the next read.
  bool Skip(uint64_t count);

  // The position of the next byte this reader hands out.
  long Tell() { return stream_.Tell() - static_cast<long>(end_ - next_); }


 private:
  // Drops what is buffered, so that the next read starts at the stream's position.
  void Reset() { next_ = end_ = 0; }
  bool Refill();

  IoStream& stream_;
  uint8_t buffer_[4096];
  uint32_t next_ = 0;
  uint32_t end_ = 0;
};

// Little- and big-endian fields of a header already in memory.
inline uint16_t LittleEndian16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
inline uint16_t BigEndian16(const uint8_t* p) { return static_cast<uint16_t>(p[0] << 8 | p[1]); }
inline uint32_t BigEndian32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 | static_cast<uint32_t>(p[2]) << 8 | p[3];
}
inline void PutLittleEndian16(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}
inline void PutBigEndian16(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v >> 8);
  p[1] = static_cast<uint8_t>(v);
}
inline void PutBigEndian32(uint8_t* p, uint32_t v) {
  PutBigEndian16(p, v >> 16);
  PutBigEndian16(p + 2, v);
}

}  // namespace imagelib

#endif
