// The library's system services for the host build: thread_local slots, a
// mutex, and heap blocks that remember their size the way GlobalSize does.
#include <atomic>
#include <cstdlib>
#include <mutex>
#include <new>
#include <unordered_map>

#include "imagelib/platform.h"

namespace imagelib {

namespace {

constexpr long kThreadSlots = 64;
std::atomic<long> gNextThreadSlot{0};
thread_local void* gThreadSlotValues[kThreadSlots];

// Live blocks and their sizes, so that a pointer that is not a block has size 0.
std::mutex& BlockTableLock() {
  static std::mutex lock;
  return lock;
}

std::unordered_map<const void*, size_t>& BlockTable() {
  static auto* table = new std::unordered_map<const void*, size_t>;  // outlives every static user
  return *table;
}

}  // namespace

long AllocThreadSlot() {
  long slot = gNextThreadSlot.fetch_add(1);
  return slot < kThreadSlots ? slot : -1;
}

void FreeThreadSlot(long) {}

void* GetThreadSlot(long slot) { return gThreadSlotValues[slot]; }

bool SetThreadSlot(long slot, void* value) {
  gThreadSlotValues[slot] = value;
  return true;
}

struct PlatformLock {
  std::mutex mutex;
};

PlatformLock* CreateLock() { return new (std::nothrow) PlatformLock; }

void DestroyLock(PlatformLock* lock) { delete lock; }

void EnterLock(PlatformLock* lock) { lock->mutex.lock(); }

void LeaveLock(PlatformLock* lock) { lock->mutex.unlock(); }

void* GlobalBlockAlloc(size_t bytes) {
  if (bytes == 0) return nullptr;
  void* block = std::calloc(1, bytes);
  if (!block) return nullptr;
  std::lock_guard<std::mutex> guard(BlockTableLock());
  BlockTable()[block] = bytes;
  return block;
}

void GlobalBlockFree(void* block) {
  if (!block) return;
  {
    std::lock_guard<std::mutex> guard(BlockTableLock());
    if (BlockTable().erase(block) == 0) return;
  }
  std::free(block);
}

size_t GlobalBlockSize(const void* block) {
  std::lock_guard<std::mutex> guard(BlockTableLock());
  auto found = BlockTable().find(block);
  return found == BlockTable().end() ? 0 : found->second;
}

}  // namespace imagelib
