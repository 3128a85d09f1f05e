// System services whose answers are plain data: the host build's platform
// services, and what tests install to script key state, strings and resources.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "foundation/system_services.h"

class ScriptedSystem : public SystemServices {
 public:
  std::set<int> keysDown;
  bool buttonsSwapped = false;
  uint32_t sleptMilliseconds = 0;
  // The tick clock; scripted sleeps advance it too.
  uint32_t ticks = 0;
  std::vector<uint32_t> beeps;
  bool windowsNT = true;
  // Library name -> (major, minor); libraries not listed have no DllGetVersion.
  std::map<std::string, std::pair<uint32_t, uint32_t>> libraryVersions;
  std::map<uint32_t, std::string> strings;
  // (type as given to ResourceTypeKey, id) -> bytes.
  std::map<std::pair<std::string, uint32_t>, std::vector<uint8_t>> resources;
  std::string modulePath;
  // A scripted mouse drag: each cursor read takes the next step, whose point
  // the cursor is at and whose buttons and keys are held (keysDown); past the
  // last step every button and key is up.
  struct InputStep {
    WinPoint point;
    std::set<int> keys;
  };
  std::vector<InputStep> inputSteps;
  size_t nextInputStep = 0;
  WinPoint cursor = {};

  // "#3" for a numbered type, else the type's name.
  static std::string ResourceTypeKey(const char* type);

  bool AsyncKeyDown(int virtualKey) override;
  bool MouseButtonsSwapped() override;
  int VirtualKeyForChar(char character) override;
  void SleepMilliseconds(uint32_t milliseconds) override;
  void SoundBeep(uint32_t soundType) override;
  bool WindowsNT() override;
  bool LibraryVersion(const char* library, uint32_t* major, uint32_t* minor) override;
  int LoadStringResource(ModuleHandle module, uint32_t id, char* text, int size) override;
  const void* LoadResourceData(ModuleHandle module, const char* type, uint32_t id, uint32_t* size) override;
  std::vector<uint32_t> ResourceIds(ModuleHandle module, const char* type) override;
  bool ModuleFileName(ModuleHandle module, char* path, int size) override;
  WinPoint CursorPosition() override;
  uint32_t TickCount() override;
};

// Installs a ScriptedSystem for the lifetime of a test scope.
class ScopedScriptedSystem {
 public:
  ScopedScriptedSystem() { InstallSystemServices(&system_); }
  ~ScopedScriptedSystem() { InstallSystemServices(nullptr); }
  ScriptedSystem* operator->() { return &system_; }
  ScriptedSystem& operator*() { return system_; }

 private:
  ScriptedSystem system_;
};

// The platform's own services for tests that script only a few answers:
// they override those and the rest reach the real system.
class PlatformServicesForwarder : public SystemServices {
 public:
  bool AsyncKeyDown(int key) override { return Real().AsyncKeyDown(key); }
  bool MouseButtonsSwapped() override { return Real().MouseButtonsSwapped(); }
  int VirtualKeyForChar(char c) override { return Real().VirtualKeyForChar(c); }
  void SleepMilliseconds(uint32_t ms) override { Real().SleepMilliseconds(ms); }
  void SoundBeep(uint32_t type) override { Real().SoundBeep(type); }
  bool WindowsNT() override { return Real().WindowsNT(); }
  bool LibraryVersion(const char* library, uint32_t* major, uint32_t* minor) override {
    return Real().LibraryVersion(library, major, minor);
  }
  int LoadStringResource(ModuleHandle module, uint32_t id, char* text, int size) override {
    return Real().LoadStringResource(module, id, text, size);
  }
  const void* LoadResourceData(ModuleHandle module, const char* type, uint32_t id, uint32_t* size) override {
    return Real().LoadResourceData(module, type, id, size);
  }
  std::vector<uint32_t> ResourceIds(ModuleHandle module, const char* type) override {
    return Real().ResourceIds(module, type);
  }
  bool ModuleFileName(ModuleHandle module, char* path, int size) override {
    return Real().ModuleFileName(module, path, size);
  }
  WinPoint CursorPosition() override { return Real().CursorPosition(); }
  uint32_t TickCount() override { return Real().TickCount(); }

 private:
  static SystemServices& Real() { return PlatformSystemServices(); }
};
