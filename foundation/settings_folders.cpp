#include "foundation/settings_folders.h"

#include <cctype>
#include <cstring>
#include <string>

#include "foundation/dib.h"
#include "foundation/file_io.h"
#include "foundation/file_names.h"
#include "foundation/paths.h"
#include "foundation/pstring.h"
#include "foundation/system.h"
#include "foundation/system_services.h"

namespace {

// The resource's directory of an icon group: a 6-byte header, then 14-byte
// entries whose last field is the id of the image's icon resource.
constexpr uint32_t kGroupHeaderSize = 6;
constexpr uint32_t kGroupEntrySize = 14;
constexpr uint32_t kGroupEntryIdOffset = 12;
// The .ico file: a 6-byte header, then 16-byte entries, then the images.
constexpr uint32_t kIconHeaderSize = 6;
constexpr uint32_t kIconEntrySize = 16;

uint16_t Get16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
void Put16(uint8_t* p, uint32_t v) { p[0] = static_cast<uint8_t>(v), p[1] = static_cast<uint8_t>(v >> 8); }
void Put32(uint8_t* p, uint32_t v) { Put16(p, v), Put16(p + 2, v >> 16); }

// Creates the folder; a new one is marked with its icon.
bool GetSubFolder(char* buffer, const char* name, uint32_t iconGroupId, const char* iconName, uint32_t tipId) {
  if (!GetSettingsFolder(buffer) || !AppendToPath(buffer, name)) return false;
  switch (CreateFolder(buffer)) {
    case kFolderCreated:
      MarkFolderWithIcon(buffer, iconGroupId, iconName, tipId);
      return true;
    case kFolderExists:
      return true;
    case kFolderFailed:
      return false;
  }
  return false;
}

// Writes a whole file, replacing any; a hidden or read-only one is made plain first.
bool WriteWholeFile(const char* path, const void* bytes, uint32_t size) {
  if (FileExists(path)) SetPathAttributes(path, 0);
  FileHandle file = CreateFileForWriting(path);
  bool ok = file && WriteBytesAt(file, 0, bytes, size);
  CloseFile(file);
  return ok;
}

}  // namespace

bool GetModulePath(char* buffer) {
  buffer[0] = '\0';
  return System().ModuleFileName(GetModuleInstance(), buffer, kPathSize);
}

bool GetModuleFolder(char* buffer) {
  if (!GetModulePath(buffer)) return false;
  buffer[FileNamePart(buffer) - buffer] = '\0';
  return true;
}

bool GetSettingsFolder(char* buffer) {
  char name[kPathSize];
  if (LoadResourceString(GetModuleInstance(), kSettingsFolderNameString, name, sizeof name) <= 0) return false;
  if (!GetModuleFolder(buffer) || !AppendToPath(buffer, name) || !AppendToPath(buffer, "\\")) return false;
  return CreateFolder(buffer) != kFolderFailed;
}

bool GetPrefsFolder(char* buffer) {
  return GetSubFolder(buffer, "Prefs\\", kPrefsFolderIconGroup, "PrefsFolder", kPrefsFolderTipString);
}

bool GetPreviewsFolder(char* buffer) {
  return GetSubFolder(buffer, "Previews\\", kPreviewsFolderIconGroup, "PreviewFolder", kPreviewsFolderTipString);
}

IconGroup* LoadIconGroup(ModuleHandle module, uint32_t groupId) {
  uint32_t directorySize = 0;
  auto* directory = static_cast<const uint8_t*>(
      LoadCustomResource(module, ResourceTypeNumber(kResourceTypeGroupIcon), groupId, &directorySize));
  if (!directory || directorySize < kGroupHeaderSize) return nullptr;
  const int count = Get16(directory + 4);
  if (count == 0 || directorySize < kGroupHeaderSize + count * kGroupEntrySize) return nullptr;
  auto* group = static_cast<IconGroup*>(AllocBlock(sizeof(IconGroup)));
  auto* images = static_cast<IconGroupImage*>(AllocBlock(static_cast<uint32_t>(count * sizeof(IconGroupImage))));
  if (!group || !images) {
    FreeBlock(group);
    FreeBlock(images);
    return nullptr;
  }
  *group = IconGroup{0, images};
  for (int i = 0; i < count; ++i) {
    const uint8_t* entry = directory + kGroupHeaderSize + i * kGroupEntrySize;
    uint32_t size = 0;
    const void* bytes = LoadCustomResource(module, ResourceTypeNumber(kResourceTypeIcon),
                                           Get16(entry + kGroupEntryIdOffset), &size);
    IconImageLayout layout;
    uint8_t* copy = bytes && ParseIconImage(bytes, size, &layout) ? static_cast<uint8_t*>(AllocBlock(size)) : nullptr;
    if (!copy) {
      FreeIconGroup(group);
      return nullptr;
    }
    std::memcpy(copy, bytes, size);
    const auto* header = static_cast<const DibHeader*>(bytes);
    images[i] = IconGroupImage{copy, size, layout.width, layout.height, header->planes, header->bitCount};
    group->count = i + 1;
  }
  return group;
}

void FreeIconGroup(IconGroup* group) {
  if (!group) return;
  for (int i = 0; i < group->count; ++i) FreeBlock(group->images[i].bytes);
  FreeBlock(group->images);
  FreeBlock(group);
}

bool WriteIconFile(const IconGroup* group, const char* path) {
  const uint32_t directorySize = kIconHeaderSize + kIconEntrySize * static_cast<uint32_t>(group->count);
  std::string file(directorySize, '\0');
  auto* bytes = reinterpret_cast<uint8_t*>(&file[0]);
  Put16(bytes + 2, 1);
  Put16(bytes + 4, static_cast<uint32_t>(group->count));
  uint32_t offset = directorySize;
  for (int i = 0; i < group->count; ++i) {
    const IconGroupImage& image = group->images[i];
    uint8_t* entry = reinterpret_cast<uint8_t*>(&file[0]) + kIconHeaderSize + kIconEntrySize * i;
    const uint32_t bitsPerPixel = uint32_t{image.planes} * image.bitCount;
    entry[0] = static_cast<uint8_t>(image.width);
    entry[1] = static_cast<uint8_t>(image.height);
    entry[2] = static_cast<uint8_t>(bitsPerPixel < 8 ? 1u << bitsPerPixel : 0);
    Put16(entry + 4, image.planes);
    Put16(entry + 6, image.bitCount);
    Put32(entry + 8, image.size);
    Put32(entry + 12, offset);
    offset += image.size;
  }
  for (int i = 0; i < group->count; ++i) {
    const IconGroupImage& image = group->images[i];
    std::string copy(reinterpret_cast<const char*>(image.bytes), image.size);
    if (image.size >= sizeof(DibHeader)) Put32(reinterpret_cast<uint8_t*>(&copy[0]) + offsetof(DibHeader, sizeImage), 0);
    file += copy;
  }
  return WriteWholeFile(path, file.data(), static_cast<uint32_t>(file.size()));
}

bool WriteDesktopIni(const char* folder, const char* iconName, const char* tip) {
  char path[kPathSize] = "";
  AppendToPath(path, folder);
  if (!AppendToPath(path, "desktop.ini")) return false;
  std::string text = "[.ShellClassInfo]\r\nConfirmFileOp=0\r\nIconFile=";
  text += iconName;
  text += ".ico\r\nIconIndex=0\r\nInfoTip=";
  text += tip;
  text += "\r\n";
  bool ok = WriteWholeFile(path, text.data(), static_cast<uint32_t>(text.size()));
  return ok && SetPathAttributes(path, kAttributeReadOnly | kAttributeHidden);
}

void MarkFolderWithIcon(const char* folder, uint32_t iconGroupId, const char* iconName, uint32_t tipStringId) {
  char tip[256];
  LoadResourceString(GetModuleInstance(), tipStringId, tip, sizeof tip);
  IconGroup* group = LoadIconGroup(GetModuleInstance(), iconGroupId);
  if (!group) return;
  char iconPath[kPathSize] = "";
  AppendToPath(iconPath, folder);
  AppendToPath(iconPath, iconName);
  AppendToPath(iconPath, ".ico");
  WriteIconFile(group, iconPath);
  FreeIconGroup(group);
  SetPathAttributes(iconPath, kAttributeHidden);
  WriteDesktopIni(folder, iconName, tip);
  // A folder of the system's shell shows its desktop.ini only when it is a system folder.
  SetPathAttributes(folder, kAttributeSystem);
}

namespace {

std::string SystemPath(const std::string& path) {
  std::string normal(path);
  for (char& c : normal) c = c == '/' ? '\\' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return normal;
}

}  // namespace

bool IsDeviceStorePath(const char* path) {
  char folder[kPathSize];
  if (!GetPrefsFolder(folder)) return false;
  PString name;
  MakeDevicePrefsFileName(name);
  return SystemPath(path) == SystemPath(std::string(folder) + PStrToC(name));
}
