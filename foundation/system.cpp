#include "foundation/system.h"

#include <cstring>

#include "foundation/system_services.h"

bool IsKeyDown(int virtualKey) {
  if ((virtualKey == kVirtualKeyLeftButton || virtualKey == kVirtualKeyRightButton) &&
      System().MouseButtonsSwapped())
    virtualKey = virtualKey == kVirtualKeyLeftButton ? kVirtualKeyRightButton : kVirtualKeyLeftButton;
  return System().AsyncKeyDown(virtualKey);
}

WinPoint CursorScreenPosition() { return System().CursorPosition(); }

bool IsCharKeyDown(char character) {
  int key = System().VirtualKeyForChar(character);
  return key >= 0 && IsKeyDown(key);
}

void DelayTicks(uint32_t ticks) { SleepMs(ticks * 1000 / 60); }

void SleepMs(uint32_t milliseconds) { System().SleepMilliseconds(milliseconds); }

uint32_t TickCountMs() { return System().TickCount(); }

void PlayBeep(uint32_t soundType) { System().SoundBeep(soundType); }

bool IsWindowsNT() { return System().WindowsNT(); }

uint32_t GetDllVersion(const char* library) {
  uint32_t major = 0, minor = 0;
  return System().LibraryVersion(library, &major, &minor) ? PackDllVersion(major, minor) : 0;
}

int LoadResourceString(ModuleHandle module, uint32_t id, char* text, int size) {
  return System().LoadStringResource(module, id, text, size);
}

int LoadStringField(ModuleHandle module, uint32_t id, int field, char* text, int size) {
  if (size <= 0) return 0;
  text[0] = '\0';
  char whole[512];
  if (field < 1 || LoadResourceString(module, id, whole, sizeof whole) <= 0) return 0;
  const char* start = whole;
  for (int i = 1; i < field; ++i) {
    start = std::strchr(start, ';');
    if (!start) return 0;
    ++start;
  }
  size_t length = std::strcspn(start, ";");
  if (length > static_cast<size_t>(size - 1)) length = static_cast<size_t>(size - 1);
  std::memcpy(text, start, length);
  text[length] = '\0';
  return static_cast<int>(length);
}

std::vector<uint32_t> CustomResourceIds(ModuleHandle module, const char* type) {
  return System().ResourceIds(module, type);
}

const void* LoadCustomResource(ModuleHandle module, const char* type, uint32_t id, uint32_t* size) {
  uint32_t bytes = 0;
  const void* data = System().LoadResourceData(module, type, id, &bytes);
  if (data && size) *size = bytes;
  return data;
}
