// The system services over Win32 (the product).
#include <windows.h>
#include <shlwapi.h>

#include <cstring>

#include "foundation/system_services.h"

namespace {

HMODULE ModuleOrProgram(ModuleHandle module) {
  return module ? static_cast<HMODULE>(module) : GetModuleHandleA(nullptr);
}

// Named (not numbered) resources are left out: the callers ask for ids.
BOOL CALLBACK CollectResourceId(HMODULE, LPCSTR, LPSTR name, LONG_PTR list) {
  if (IS_INTRESOURCE(name))
    reinterpret_cast<std::vector<uint32_t>*>(list)->push_back(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(name)));
  return TRUE;
}

class Win32SystemServices : public SystemServices {
 public:
  bool AsyncKeyDown(int virtualKey) override { return (GetAsyncKeyState(virtualKey) & 0x8000) != 0; }

  WinPoint CursorPosition() override {
    POINT at{};
    GetCursorPos(&at);
    return WinPoint{at.x, at.y};
  }

  bool MouseButtonsSwapped() override { return GetSystemMetrics(SM_SWAPBUTTON) != 0; }

  int VirtualKeyForChar(char character) override {
    SHORT scan = VkKeyScanA(character);
    return scan == -1 ? -1 : (scan & 0xFF);
  }

  void SleepMilliseconds(uint32_t milliseconds) override { Sleep(milliseconds); }

  uint32_t TickCount() override { return GetTickCount(); }

  void SoundBeep(uint32_t soundType) override { MessageBeep(soundType); }

  bool WindowsNT() override { return GetVersion() < 0x80000000u; }

  bool LibraryVersion(const char* library, uint32_t* major, uint32_t* minor) override {
    HMODULE module = LoadLibraryA(library);
    if (!module) return false;
    auto getVersion = reinterpret_cast<DLLGETVERSIONPROC>(GetProcAddress(module, "DllGetVersion"));
    DLLVERSIONINFO info;
    std::memset(&info, 0, sizeof info);
    info.cbSize = sizeof info;
    bool ok = getVersion && SUCCEEDED(getVersion(&info));
    if (ok) {
      *major = info.dwMajorVersion;
      *minor = info.dwMinorVersion;
    }
    FreeLibrary(module);
    return ok;
  }

  int LoadStringResource(ModuleHandle module, uint32_t id, char* text, int size) override {
    if (size <= 0) return 0;
    text[0] = '\0';
    return LoadStringA(ModuleOrProgram(module), id, text, size);
  }

  const void* LoadResourceData(ModuleHandle module, const char* type, uint32_t id, uint32_t* size) override {
    HMODULE from = ModuleOrProgram(module);
    HRSRC found = FindResourceA(from, MAKEINTRESOURCEA(id), type);
    HGLOBAL loaded = found ? LoadResource(from, found) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (bytes) *size = SizeofResource(from, found);
    return bytes;
  }

  std::vector<uint32_t> ResourceIds(ModuleHandle module, const char* type) override {
    std::vector<uint32_t> ids;
    EnumResourceNamesA(ModuleOrProgram(module), type, CollectResourceId, reinterpret_cast<LONG_PTR>(&ids));
    return ids;
  }

  bool ModuleFileName(ModuleHandle module, char* path, int size) override {
    DWORD length = GetModuleFileNameA(ModuleOrProgram(module), path, static_cast<DWORD>(size));
    return length > 0 && length < static_cast<DWORD>(size);
  }
};

static_assert(sizeof(DLLVERSIONINFO) == 20, "the version record DllGetVersion fills");

}  // namespace

SystemServices& PlatformSystemServices() {
  static Win32SystemServices services;
  return services;
}
