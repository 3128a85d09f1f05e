#include "imagelib/result_block.h"

#include "imagelib/platform.h"

namespace imagelib {

void* AllocateBlock(uint64_t bytes) {
  if (bytes == 0 || bytes > kLargestBlock) return nullptr;
  return GlobalBlockAlloc(static_cast<size_t>(bytes));
}

ScratchBlock::~ScratchBlock() { GlobalBlockFree(data_); }

}  // namespace imagelib
