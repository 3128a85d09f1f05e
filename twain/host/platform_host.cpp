// The system services of the source's entry for the host checks: libraries
// and windows do not exist, postings are recorded, containers live on the heap.
#include "twain/host/platform_host.h"

#include <cstdlib>

#include "twain/capability_containers.h"

std::vector<PostedMessage>& HostPostedMessages() {
  static std::vector<PostedMessage> posted;
  return posted;
}

ModuleRef LoadSystemLibrary(const char*) { return nullptr; }
void InstallRecordCleanupHook() {}
void FreeSystemLibrary(ModuleRef) {}

// Without windows, an event belongs to a dialog when it points at that dialog's handle.
bool DialogTakesEvent(WindowRef dialog, TW_MEMREF event) { return event == dialog; }

AcceleratorRef LoadModuleAccelerators(int) { return nullptr; }

void PostToSourceManager(TW_IDENTITY* origin, TW_IDENTITY* destination, TW_UINT16 message) {
  HostPostedMessages().push_back({origin->Id, destination->Id, message});
}

void StartCloseCompanion(const char*) {}

namespace {

TW_HANDLE AllocateHeap(uint32_t size) { return std::malloc(size); }
void* LockHeap(TW_HANDLE handle) { return handle; }
void UnlockHeap(TW_HANDLE) {}
void FreeHeap(TW_HANDLE handle) { std::free(handle); }

}  // namespace

const ContainerAllocator kPlatformContainerAllocator = {AllocateHeap, LockHeap, UnlockHeap, FreeHeap};
