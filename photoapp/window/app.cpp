#include "photoapp/window/app.h"

namespace {
WinApp* gApp = nullptr;
}

WinApp* GetApp() { return gApp; }

WinApp::WinApp(const char* application_name) : application_name_(application_name) { gApp = this; }

WinApp::~WinApp() {
  if (gApp == this) gApp = nullptr;
}

// The program lives in the modal dialogs InitInstance runs; this layer has
// no message loop of its own for a program that stays after it.
int WinApp::Run(HINSTANCE instance) {
  instance_ = instance;
  InitInstance();
  return 0;
}

void WinApp::SetRegistryKey(const std::string& key) { registry_key_ = key; }

std::string WinApp::SectionKey(const std::string& section) const {
  return "Software\\" + registry_key_ + "\\" + application_name_ + "\\" + section;
}

int WinApp::GetProfileInt(const std::string& section, const std::string& entry, int default_value) const {
  if (registry_key_.empty()) return default_value;
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, SectionKey(section).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
    return default_value;
  DWORD type = 0, value = 0, size = sizeof value;
  const LONG read = RegQueryValueExA(key, entry.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
  RegCloseKey(key);
  if (read != ERROR_SUCCESS || type != REG_DWORD || size != sizeof value) return default_value;
  return static_cast<int>(value);
}

bool WinApp::WriteProfileInt(const std::string& section, const std::string& entry, int value) {
  if (registry_key_.empty()) return false;
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, SectionKey(section).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
    return false;
  const DWORD stored = static_cast<DWORD>(value);
  const LONG written =
      RegSetValueExA(key, entry.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&stored), sizeof stored);
  RegCloseKey(key);
  return written == ERROR_SUCCESS;
}
