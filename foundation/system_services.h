// The few calls into the system that the foundation needs: key state, mouse
// button swapping, the tick clock, sleeping, beeps, library versions, resources and the
// module's file name. The product answers them from Win32; the host build and
// tests answer them from a ScriptedSystem, which tests of either
// configuration may install to script what a person does.
#pragma once

#include <cstdint>
#include <vector>

#include "foundation/geometry.h"
#include "foundation/memory.h"

class SystemServices {
 public:
  virtual ~SystemServices() = default;
  // The top bit of the key's asynchronous state, without any button swap.
  virtual bool AsyncKeyDown(int virtualKey) = 0;
  virtual bool MouseButtonsSwapped() = 0;
  // The virtual key that types the character; -1 when none does.
  virtual int VirtualKeyForChar(char character) = 0;
  virtual void SleepMilliseconds(uint32_t milliseconds) = 0;
  virtual void SoundBeep(uint32_t soundType) = 0;
  virtual bool WindowsNT() = 0;
  // The library's DllGetVersion answer; false when the library, the export or the call fails.
  virtual bool LibraryVersion(const char* library, uint32_t* major, uint32_t* minor) = 0;
  // A string-table entry (cut to size - 1, terminated); its length, 0 when missing.
  virtual int LoadStringResource(ModuleHandle module, uint32_t id, char* text, int size) = 0;
  // A resource's bytes, valid while the module is loaded; null when missing.
  virtual const void* LoadResourceData(ModuleHandle module, const char* type, uint32_t id, uint32_t* size) = 0;
  // The numbered resources of a type in the module, in the module's order;
  // services that know no resources list none.
  virtual std::vector<uint32_t> ResourceIds(ModuleHandle module, const char* type);
  // The module's full file name; null module means the running program.
  virtual bool ModuleFileName(ModuleHandle module, char* path, int size) = 0;
  // The mouse cursor on the screen.
  virtual WinPoint CursorPosition() = 0;
  // Milliseconds since the system started, wrapping at 2^32. Services that do
  // not script time answer from the platform's clock.
  virtual uint32_t TickCount();
};

// The services in use: the installed ones, else the platform's own.
SystemServices& System();
// Installs services (tests); null returns to the platform's own.
void InstallSystemServices(SystemServices* services);
// The platform's own services (defined once per configuration).
SystemServices& PlatformSystemServices();
