// The system services of the source's entry over Win32.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>

#include "color/matrix_presets.h"
#include "foundation/system.h"
#include "frames/win32/record_cleanup_win32.h"
#include "state/data_source_state.h"
#include "twain/capability_containers.h"
#include "twain/platform.h"
#include "twain/twain_state.h"

ModuleRef LoadSystemLibrary(const char* name) { return LoadLibraryA(name); }

void InstallRecordCleanupHook() {
  InstallRecordCleanupDialog([](WindowHandle owner, FileHandle store, RecordType type, int32_t minimumId) {
    RunRecordCleanupDialog(static_cast<HWND>(owner), store, type, minimumId, false, nullptr, nullptr);
  });
}

void FreeSystemLibrary(ModuleRef module) {
  if (module) FreeLibrary(static_cast<HMODULE>(module));
}

bool DialogTakesEvent(WindowRef dialog, TW_MEMREF event) {
  return event && IsDialogMessageA(static_cast<HWND>(dialog), static_cast<MSG*>(event));
}

AcceleratorRef LoadModuleAccelerators(int id) {
  return LoadAcceleratorsA(static_cast<HINSTANCE>(gResModule), MAKEINTRESOURCEA(id));
}

void PostToSourceManager(TW_IDENTITY* origin, TW_IDENTITY* destination, TW_UINT16 message) {
  HMODULE manager = LoadLibraryA(kSourceManagerModule);
  if (!manager) return;
  auto entry = reinterpret_cast<DSMENTRYPROC>(GetProcAddress(manager, MAKEINTRESOURCEA(1)));
  if (entry) entry(origin, destination, DG_CONTROL, DAT_NULL, message, nullptr);
  FreeLibrary(manager);
}

void StartCloseCompanion(const char* settingsFolder) {
  char helpFolder[128] = {};
  LoadResourceString(gResModule, 474, helpFolder, sizeof helpFolder);
  char path[MAX_PATH * 2];
  std::snprintf(path, sizeof path, "%s%s\\close.exe", settingsFolder, helpFolder);
  HWND owner = static_cast<HWND>(gMainDialog ? gMainDialog : gPlatformData);
  ShellExecuteA(owner, "open", path, nullptr, nullptr, SW_MINIMIZE);
  Sleep(500);
}

namespace {

TW_HANDLE AllocateGlobal(uint32_t size) { return GlobalAlloc(GMEM_MOVEABLE, size); }
void* LockGlobal(TW_HANDLE handle) { return GlobalLock(handle); }
void UnlockGlobal(TW_HANDLE handle) { GlobalUnlock(handle); }
void FreeGlobal(TW_HANDLE handle) { GlobalFree(handle); }

}  // namespace

const ContainerAllocator kPlatformContainerAllocator = {AllocateGlobal, LockGlobal, UnlockGlobal, FreeGlobal};
