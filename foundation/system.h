// Keyboard and mouse-button state, delays, beeps, the platform, the version
// of a system library and string-table fields, answered through the system
// services (foundation/system_services.h).
#pragma once

#include <cstdint>
#include <vector>

#include "foundation/geometry.h"
#include "foundation/memory.h"

enum : int { kVirtualKeyLeftButton = 1, kVirtualKeyRightButton = 2 };

// Whether the key is down now; the left and right mouse buttons are
// exchanged when the system's buttons are swapped, so the left button is
// always the primary one.
bool IsKeyDown(int virtualKey);
// IsKeyDown of the key that types the character.
bool IsCharKeyDown(char character);
// The mouse cursor on the screen, read with the button and key state by the
// loops that follow the mouse while a button is held.
WinPoint CursorScreenPosition();
// Sleeps ticks of 1/60 s.
void DelayTicks(uint32_t ticks);
void SleepMs(uint32_t milliseconds);
// Milliseconds since the system started (GetTickCount), wrapping at 2^32.
uint32_t TickCountMs();
// The system's message beep of that type.
void PlayBeep(uint32_t soundType);
bool IsWindowsNT();

// A library version packed as (minor << 16) | major: 4.70 is 0x00460004.
// This packing is how versions are kept and shown; compare them only with
// DllVersionAtLeast, never as numbers.
uint32_t GetDllVersion(const char* library);
constexpr uint32_t PackDllVersion(uint32_t major, uint32_t minor) { return (minor << 16) | (major & 0xFFFF); }
constexpr uint32_t DllVersionMajor(uint32_t packed) { return packed & 0xFFFF; }
constexpr uint32_t DllVersionMinor(uint32_t packed) { return packed >> 16; }
// Whether a packed version is at least major.minor, comparing the major
// version first: 5.0 passes a gate of 4.70.
constexpr bool DllVersionAtLeast(uint32_t packed, uint32_t major, uint32_t minor) {
  return DllVersionMajor(packed) > major || (DllVersionMajor(packed) == major && DllVersionMinor(packed) >= minor);
}

// A string-table entry, cut to size - 1 and terminated; its length, 0 when missing.
int LoadResourceString(ModuleHandle module, uint32_t id, char* text, int size);
// The 1-based field of the string (fields separated by ";", the string read
// up to 512 bytes), cut to size - 1 and terminated; the copied length, 0 when
// the string does not load or has fewer fields.
int LoadStringField(ModuleHandle module, uint32_t id, int field, char* text, int size);

// Resource types given by number.
inline const char* ResourceTypeNumber(uint32_t number) {
  return reinterpret_cast<const char*>(static_cast<uintptr_t>(number));
}
enum : uint32_t { kResourceTypeIcon = 3, kResourceTypeGroupIcon = 14 };
// A resource's bytes (and size when asked); null when the module is none or
// the resource is missing.
const void* LoadCustomResource(ModuleHandle module, const char* type, uint32_t id, uint32_t* size);
// The ids of the module's numbered resources of the type.
std::vector<uint32_t> CustomResourceIds(ModuleHandle module, const char* type);
