// The application object: the one per program that starts it and keeps its
// profile. With a registry key set, profile values live under
// HKEY_CURRENT_USER\Software\<key>\<application name>\<section>.
#pragma once

#include <windows.h>

#include <string>

class WinApp {
 public:
  explicit WinApp(const char* application_name);
  virtual ~WinApp();
  WinApp(const WinApp&) = delete;
  WinApp& operator=(const WinApp&) = delete;

  // The program's start: InitInstance runs the program's dialogs and answers
  // false when the program ends with them. The exit code.
  int Run(HINSTANCE instance);
  HINSTANCE GetInstance() const { return instance_; }

  void SetRegistryKey(const std::string& key);
  int GetProfileInt(const std::string& section, const std::string& entry, int default_value) const;
  bool WriteProfileInt(const std::string& section, const std::string& entry, int value);

 protected:
  virtual bool InitInstance() = 0;

 private:
  std::string SectionKey(const std::string& section) const;

  std::string application_name_;
  std::string registry_key_;
  HINSTANCE instance_ = nullptr;
};

// The program's application object; null before it is made.
WinApp* GetApp();
