// The library's system services over Win32: TLS, a critical section, GlobalAlloc.
#include <windows.h>

#include "imagelib/platform.h"

namespace imagelib {

long AllocThreadSlot() {
  DWORD index = TlsAlloc();
  return index == TLS_OUT_OF_INDEXES ? -1 : static_cast<long>(index);
}

void FreeThreadSlot(long slot) { TlsFree(static_cast<DWORD>(slot)); }

void* GetThreadSlot(long slot) { return TlsGetValue(static_cast<DWORD>(slot)); }

bool SetThreadSlot(long slot, void* value) { return TlsSetValue(static_cast<DWORD>(slot), value) != 0; }

struct PlatformLock {
  CRITICAL_SECTION section;
};

PlatformLock* CreateLock() {
  auto* lock = static_cast<PlatformLock*>(HeapAlloc(GetProcessHeap(), 0, sizeof(PlatformLock)));
  if (lock) InitializeCriticalSection(&lock->section);
  return lock;
}

void DestroyLock(PlatformLock* lock) {
  if (!lock) return;
  DeleteCriticalSection(&lock->section);
  HeapFree(GetProcessHeap(), 0, lock);
}

void EnterLock(PlatformLock* lock) { EnterCriticalSection(&lock->section); }

void LeaveLock(PlatformLock* lock) { LeaveCriticalSection(&lock->section); }

void* GlobalBlockAlloc(size_t bytes) {
  if (bytes == 0) return nullptr;
  // A fixed block's handle is its address.
  return GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, bytes);
}

void GlobalBlockFree(void* block) {
  if (block) GlobalFree(block);
}

size_t GlobalBlockSize(const void* block) {
  return block ? GlobalSize(const_cast<void*>(block)) : 0;
}

}  // namespace imagelib
