// The settings folder beside the module ("Quillbrook\" from string 300) with
// its sub-folders "Prefs\" and "Previews\". A sub-folder made for the first
// time gets a hidden icon file and a desktop.ini with its info tip. All
// folder paths end with "\"; buffers are 256 bytes.
#pragma once

#include <cstdint>

#include "foundation/memory.h"

enum : uint32_t {
  kSettingsFolderNameString = 300,
  kPrefsFolderTipString = 525,
  kPreviewsFolderTipString = 526,
  kPrefsFolderIconGroup = 4,
  kPreviewsFolderIconGroup = 5,
};

// The module's full file name (in tests: the test program's).
bool GetModulePath(char* buffer);
// Drive and directory of the module path.
bool GetModuleFolder(char* buffer);
// The folders, created when missing; false when one can be neither created nor found.
bool GetSettingsFolder(char* buffer);
bool GetPrefsFolder(char* buffer);
bool GetPreviewsFolder(char* buffer);
// Whether the path names the current device's store in the preferences
// folder (letter case and slashes aside): imports must not read it.
bool IsDeviceStorePath(const char* path);

// The images of an icon group resource, copied.
struct IconGroupImage {
  uint8_t* bytes;
  uint32_t size;
  int32_t width;
  int32_t height;
  uint16_t planes;
  uint16_t bitCount;
};
struct IconGroup {
  int32_t count;
  IconGroupImage* images;
};

// Null when the group or any of its images cannot be loaded.
IconGroup* LoadIconGroup(ModuleHandle module, uint32_t groupId);
void FreeIconGroup(IconGroup* group);
// Writes the group as an .ico file (replacing any); false when a write fails.
bool WriteIconFile(const IconGroup* group, const char* path);
// Writes "desktop.ini" in the folder (replacing any), read-only and hidden.
bool WriteDesktopIni(const char* folder, const char* iconName, const char* tip);
// Writes the icon file (folder + iconName + ".ico", hidden) and desktop.ini,
// then marks the folder as a system folder so that the shell reads it.
void MarkFolderWithIcon(const char* folder, uint32_t iconGroupId, const char* iconName, uint32_t tipStringId);
