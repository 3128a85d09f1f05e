// A view of one stream handle for the time of one library call; it owns
// nothing, and copies of it work on the same handle.
#ifndef IMAGELIB_IO_STREAM_H
#define IMAGELIB_IO_STREAM_H

#include <cstdint>

#include "imagelib/imagelib.h"
#include "imagelib/io_state.h"

namespace imagelib {

class IoStream {
 public:
  explicit IoStream(ImageStream handle) : handle_(handle) {}

  bool OpenForRead(const char* path);
  bool OpenForWrite(const char* path);
  void StampMagics();
  bool IsValid() const;

  uint32_t Read(void* buffer, uint32_t count);
  bool ReadExact(void* buffer, uint32_t count);
  bool Write(const void* buffer, uint32_t size, uint32_t count);
  bool WriteBlock(const void* buffer, uint32_t count);
  // Origin 0 from the start, 1 from the current position, 2 from the end.
  bool Seek(long offset, int origin);
  bool Rewind();
  long Tell();
  long Size();
  bool Close();
  // The path a file stream was opened with; empty for other kinds.
  const char* Path() const { return state().path; }

 private:
  IoState& state() const { return *static_cast<IoState*>(handle_); }
  bool OpenFile(const char* path, const char* mode, int write_mode);
  bool SeekMemory(long offset, int origin);

  ImageStream handle_;
};

}  // namespace imagelib

#endif
