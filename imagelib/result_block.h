// Blocks that the library hands to its caller (pixel buffers, text and byte
// copies) and its own scratch buffers: global memory, zero-filled.
#ifndef IMAGELIB_RESULT_BLOCK_H
#define IMAGELIB_RESULT_BLOCK_H

#include <cstdint>

namespace imagelib {

// The largest block the library asks for; larger requests fail as out of memory.
constexpr uint64_t kLargestBlock = 2147348478;

// Null when the request is 0 bytes, above the largest block, or cannot be had.
void* AllocateBlock(uint64_t bytes);

// A block owned by one piece of work and freed with it.
class ScratchBlock {
 public:
  explicit ScratchBlock(uint64_t bytes) : data_(AllocateBlock(bytes)) {}
  ~ScratchBlock();
  ScratchBlock(const ScratchBlock&) = delete;
  ScratchBlock& operator=(const ScratchBlock&) = delete;

  template <typename T>
  T* As() const { return static_cast<T*>(data_); }
  // Hands the block over (to the caller of an entry point): no longer freed here.
  void* Release() {
    void* data = data_;
    data_ = nullptr;
    return data;
  }
  explicit operator bool() const { return data_ != nullptr; }

 private:
  void* data_;
};

}  // namespace imagelib

#endif
