#include "foundation/scripted_system.h"

#include <cctype>
#include <cstdint>
#include <cstring>

std::string ScriptedSystem::ResourceTypeKey(const char* type) {
  auto number = reinterpret_cast<uintptr_t>(type);
  if (number < 0x10000) return "#" + std::to_string(number);
  return type;
}

bool ScriptedSystem::AsyncKeyDown(int virtualKey) { return keysDown.count(virtualKey) != 0; }

bool ScriptedSystem::MouseButtonsSwapped() { return buttonsSwapped; }

int ScriptedSystem::VirtualKeyForChar(char character) {
  // Letters and digits type with the key of their upper-case code, as on a plain keyboard.
  auto c = static_cast<unsigned char>(character);
  return std::isalnum(c) ? std::toupper(c) : -1;
}

void ScriptedSystem::SleepMilliseconds(uint32_t milliseconds) {
  sleptMilliseconds += milliseconds;
  ticks += milliseconds;
}

uint32_t ScriptedSystem::TickCount() { return ticks; }

void ScriptedSystem::SoundBeep(uint32_t soundType) { beeps.push_back(soundType); }

bool ScriptedSystem::WindowsNT() { return windowsNT; }

bool ScriptedSystem::LibraryVersion(const char* library, uint32_t* major, uint32_t* minor) {
  auto found = libraryVersions.find(library);
  if (found == libraryVersions.end()) return false;
  *major = found->second.first;
  *minor = found->second.second;
  return true;
}

int ScriptedSystem::LoadStringResource(ModuleHandle, uint32_t id, char* text, int size) {
  auto found = strings.find(id);
  if (size <= 0) return 0;
  text[0] = '\0';
  if (found == strings.end()) return 0;
  size_t length = found->second.size() < static_cast<size_t>(size - 1) ? found->second.size() : size - 1;
  std::memcpy(text, found->second.data(), length);
  text[length] = '\0';
  return static_cast<int>(length);
}

const void* ScriptedSystem::LoadResourceData(ModuleHandle, const char* type, uint32_t id, uint32_t* size) {
  auto found = resources.find({ResourceTypeKey(type), id});
  if (found == resources.end()) return nullptr;
  *size = static_cast<uint32_t>(found->second.size());
  return found->second.data();
}

std::vector<uint32_t> ScriptedSystem::ResourceIds(ModuleHandle, const char* type) {
  std::vector<uint32_t> ids;
  const std::string key = ResourceTypeKey(type);
  for (const auto& entry : resources)
    if (entry.first.first == key) ids.push_back(entry.first.second);
  return ids;
}

bool ScriptedSystem::ModuleFileName(ModuleHandle, char* path, int size) {
  if (modulePath.empty() || modulePath.size() >= static_cast<size_t>(size)) return false;
  std::strcpy(path, modulePath.c_str());
  return true;
}

WinPoint ScriptedSystem::CursorPosition() {
  if (nextInputStep < inputSteps.size()) {
    cursor = inputSteps[nextInputStep].point;
    keysDown = inputSteps[nextInputStep].keys;
    ++nextInputStep;
  } else if (!inputSteps.empty()) {
    keysDown.clear();
  }
  return cursor;
}
