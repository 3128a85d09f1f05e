// The state behind a stream handle: one global-memory block that a file, a
// memory block or the caller's callbacks stand behind. Its layout is fixed.
#ifndef IMAGELIB_IO_STATE_H
#define IMAGELIB_IO_STATE_H

#include <cstddef>
#include <cstdint>
#include <cstdio>

namespace imagelib {

constexpr uint32_t kIoStartMagic = 0x03031996;
constexpr uint32_t kIoEndMagic = 0x09241996;
constexpr size_t kIoPathLength = 260;

enum IoKind { kIoFile = 1, kIoMemory = 2, kIoCallbacks = 3 };

using IoReadCallback = uint32_t (*)(void* buffer, uint32_t count, void* user_data);
using IoWriteCallback = int (*)(const void* buffer, uint32_t bytes, void* user_data);
using IoSeekCallback = int (*)(long offset, int origin, void* user_data);
using IoTellCallback = long (*)(void* user_data);
using IoSizeCallback = long (*)(void* user_data);
using IoCloseCallback = int (*)(void* user_data);

struct IoState {
  uint32_t start_magic;
  FILE* file;
  int kind;
  uint8_t* memory_base;
  uint32_t capacity;
  uint32_t position;
  uint32_t high_water;  // highest offset written to a memory sink
  char path[kIoPathLength];
  int write_mode;
  int reserved1;
  IoReadCallback read;
  IoWriteCallback write;
  IoSeekCallback seek;
  IoTellCallback tell;
  IoSizeCallback size;
  int reserved2;
  IoCloseCallback close;
  void* user_data;
  uint32_t end_magic;
};

#if UINTPTR_MAX == 0xFFFFFFFFu
static_assert(sizeof(IoState) == 332, "stream state layout");
static_assert(offsetof(IoState, file) == 4, "stream state layout");
static_assert(offsetof(IoState, kind) == 8, "stream state layout");
static_assert(offsetof(IoState, memory_base) == 12, "stream state layout");
static_assert(offsetof(IoState, capacity) == 16, "stream state layout");
static_assert(offsetof(IoState, position) == 20, "stream state layout");
static_assert(offsetof(IoState, high_water) == 24, "stream state layout");
static_assert(offsetof(IoState, path) == 28, "stream state layout");
static_assert(offsetof(IoState, write_mode) == 288, "stream state layout");
static_assert(offsetof(IoState, read) == 296, "stream state layout");
static_assert(offsetof(IoState, write) == 300, "stream state layout");
static_assert(offsetof(IoState, seek) == 304, "stream state layout");
static_assert(offsetof(IoState, tell) == 308, "stream state layout");
static_assert(offsetof(IoState, size) == 312, "stream state layout");
static_assert(offsetof(IoState, close) == 320, "stream state layout");
static_assert(offsetof(IoState, user_data) == 324, "stream state layout");
static_assert(offsetof(IoState, end_magic) == 328, "stream state layout");
#endif

}  // namespace imagelib

#endif
