#include "imagelib/io_stream.h"

#include <algorithm>
#include <cstring>

#include "imagelib/platform.h"

namespace imagelib {

bool IoStream::OpenFile(const char* path, const char* mode, int write_mode) {
  if (!path || !*path) return false;
  FILE* file = std::fopen(path, mode);
  if (!file) return false;
  IoState& s = state();
  s.file = file;
  s.kind = kIoFile;
  s.write_mode = write_mode;
  s.high_water = 0;
  std::strncpy(s.path, path, kIoPathLength - 1);
  s.path[kIoPathLength - 1] = '\0';
  StampMagics();
  return true;
}

bool IoStream::OpenForRead(const char* path) { return OpenFile(path, "rb", 0); }

bool IoStream::OpenForWrite(const char* path) { return OpenFile(path, "wb+", 1); }

void IoStream::StampMagics() {
  state().start_magic = kIoStartMagic;
  state().end_magic = kIoEndMagic;
}

bool IoStream::IsValid() const {
  if (!handle_ || GlobalBlockSize(handle_) < sizeof(IoState)) return false;
  const IoState& s = state();
  if (s.start_magic != kIoStartMagic || s.end_magic != kIoEndMagic) return false;
  switch (s.kind) {
    case kIoFile: return s.file != nullptr;
    case kIoMemory: return s.memory_base != nullptr && s.capacity != 0;
    case kIoCallbacks: return true;
    default: return false;
  }
}

uint32_t IoStream::Read(void* buffer, uint32_t count) {
  IoState& s = state();
  switch (s.kind) {
    case kIoFile:
      return s.file ? static_cast<uint32_t>(std::fread(buffer, 1, count, s.file)) : 0;
    case kIoMemory: {
      uint32_t end = s.write_mode ? s.high_water : s.capacity;
      if (s.position >= end) return 0;
      uint32_t n = std::min(count, end - s.position);
      std::memcpy(buffer, s.memory_base + s.position, n);
      s.position += n;
      return n;
    }
    case kIoCallbacks:
      return s.read ? s.read(buffer, count, s.user_data) : 0;
    default:
      return 0;
  }
}

bool IoStream::ReadExact(void* buffer, uint32_t count) { return Read(buffer, count) == count; }

bool IoStream::Write(const void* buffer, uint32_t size, uint32_t count) {
  IoState& s = state();
  if (!s.write_mode) return false;
  uint64_t bytes = static_cast<uint64_t>(size) * count;
  switch (s.kind) {
    case kIoFile:
      return s.file && std::fwrite(buffer, size, count, s.file) == count;
    case kIoMemory:
      if (s.position + bytes >= s.capacity) return false;
      std::memcpy(s.memory_base + s.position, buffer, static_cast<size_t>(bytes));
      s.position += static_cast<uint32_t>(bytes);
      s.high_water = std::max(s.high_water, s.position);
      return true;
    case kIoCallbacks:
      return bytes <= UINT32_MAX && s.write && s.write(buffer, static_cast<uint32_t>(bytes), s.user_data) != 0;
    default:
      return false;
  }
}

bool IoStream::WriteBlock(const void* buffer, uint32_t count) { return Write(buffer, 1, count); }

// A memory sink keeps its position below the capacity, where the next write
// goes; a memory source may stand at its end, as a file can.
bool IoStream::SeekMemory(long offset, int origin) {
  IoState& s = state();
  int64_t target;
  switch (origin) {
    case 0: target = offset; break;
    case 1: target = static_cast<int64_t>(s.position) + offset; break;
    case 2:
      if (offset > 0) return false;
      target = static_cast<int64_t>(s.write_mode ? s.high_water : s.capacity) + offset;
      break;
    default: return false;
  }
  int64_t last = s.write_mode ? static_cast<int64_t>(s.capacity) - 1 : s.capacity;
  if (target < 0 || target > last) return false;
  s.position = static_cast<uint32_t>(target);
  if (s.write_mode) s.high_water = std::max(s.high_water, s.position);
  return true;
}

bool IoStream::Seek(long offset, int origin) {
  IoState& s = state();
  switch (s.kind) {
    case kIoFile: return s.file && std::fseek(s.file, offset, origin) == 0;
    case kIoMemory: return SeekMemory(offset, origin);
    case kIoCallbacks: return s.seek && s.seek(offset, origin, s.user_data) != 0;
    default: return false;
  }
}

bool IoStream::Rewind() { return Seek(0, 0); }

long IoStream::Tell() {
  IoState& s = state();
  switch (s.kind) {
    case kIoFile: return s.file ? std::ftell(s.file) : 0;
    case kIoMemory: return static_cast<long>(s.position);
    case kIoCallbacks: return s.tell ? s.tell(s.user_data) : 0;
    default: return 0;
  }
}

long IoStream::Size() {
  IoState& s = state();
  switch (s.kind) {
    case kIoFile: {
      if (!s.file) return 0;
      if (s.write_mode) std::fflush(s.file);
      long here = std::ftell(s.file);
      std::fseek(s.file, 0, SEEK_END);
      long size = std::ftell(s.file);
      std::fseek(s.file, here, SEEK_SET);
      return size;
    }
    case kIoMemory: return static_cast<long>(s.write_mode ? s.high_water : s.capacity);
    case kIoCallbacks: return s.size ? s.size(s.user_data) : 0;
    default: return 0;
  }
}

bool IoStream::Close() {
  IoState& s = state();
  switch (s.kind) {
    case kIoFile: {
      bool closed = s.file && std::fclose(s.file) == 0;
      s.file = nullptr;
      return closed;
    }
    case kIoMemory: return true;
    case kIoCallbacks: return s.close && s.close(s.user_data) != 0;
    default: return false;
  }
}

}  // namespace imagelib
