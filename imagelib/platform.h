// What the library needs of the system: one thread-local slot, one lock and
// global-memory blocks. Implemented over Win32 (platform_win32.cpp) and over
// the C++ runtime for the host build (platform_host.cpp).
#ifndef IMAGELIB_PLATFORM_H
#define IMAGELIB_PLATFORM_H

#include <cstddef>

namespace imagelib {

// Thread-local slots; AllocThreadSlot answers -1 when none is left.
long AllocThreadSlot();
void FreeThreadSlot(long slot);
void* GetThreadSlot(long slot);
bool SetThreadSlot(long slot, void* value);

// A lock for state that threads share; null when it cannot be made.
struct PlatformLock;
PlatformLock* CreateLock();
void DestroyLock(PlatformLock* lock);
void EnterLock(PlatformLock* lock);
void LeaveLock(PlatformLock* lock);

// Fixed, zero-filled global-memory blocks, the kind the caller frees with
// GlobalFree. A request of 0 bytes fails like any other failed allocation.
void* GlobalBlockAlloc(size_t bytes);
void GlobalBlockFree(void* block);
// 0 when the pointer is not a live block.
size_t GlobalBlockSize(const void* block);

}  // namespace imagelib

#endif
