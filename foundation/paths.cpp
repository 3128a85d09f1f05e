#include "foundation/paths.h"

#include <cstring>

const char* FileNamePart(const char* path) {
  const char* name = path;
  for (const char* p = path; *p; ++p)
    if (*p == '\\' || *p == '/' || *p == ':') name = p + 1;
  return name;
}

bool AppendToPath(char* path, const char* text) {
  size_t length = std::strlen(path);
  size_t room = kPathSize - 1 - length;
  size_t count = std::strlen(text);
  bool fits = count <= room;
  if (!fits) count = room;
  std::memcpy(path + length, text, count);
  path[length + count] = '\0';
  return fits;
}

void SetPathFileName(char* path, const char* name, const char* extension) {
  char result[kPathSize];
  size_t folderLength = static_cast<size_t>(FileNamePart(path) - path);
  std::memcpy(result, path, folderLength);
  result[folderLength] = '\0';
  AppendToPath(result, name);
  if (extension[0] != '\0') {
    if (extension[0] != '.') AppendToPath(result, ".");
    AppendToPath(result, extension);
  }
  std::strcpy(path, result);
}

void SplitFileName(const char* path, char* name, char* extension) {
  const char* fileName = FileNamePart(path);
  if (!extension) {
    std::strcpy(name, fileName);
    return;
  }
  const char* dot = std::strrchr(fileName, '.');
  size_t nameLength = dot ? static_cast<size_t>(dot - fileName) : std::strlen(fileName);
  std::memcpy(name, fileName, nameLength);
  name[nameLength] = '\0';
  std::strcpy(extension, dot ? dot : "");
}

void GetParentPath(char* path) {
  size_t length = static_cast<size_t>(FileNamePart(path) - path);
  while (length > 0 && (path[length - 1] == '\\' || path[length - 1] == '/')) --length;
  path[length] = '\0';
}
