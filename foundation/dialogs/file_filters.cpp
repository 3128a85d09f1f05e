#include "foundation/dialogs/file_filters.h"

#include <cstring>

bool FilterPairAt(const char* filter, int n, std::string* extension, std::string* typeName) {
  if (n < 1) return false;
  const char* entry = filter;
  for (int pair = 1;; ++pair) {
    if (*entry == '\0') return false;
    const char* description = entry;
    const char* pattern = description + std::strlen(description) + 1;
    if (*pattern == '\0') return false;
    if (pair == n) {
      if (extension) *extension = pattern + 1;
      if (typeName) *typeName = description;
      return true;
    }
    entry = pattern + std::strlen(pattern) + 1;
  }
}

bool ReplacePathExtension(char* path, size_t capacity, const char* extension) {
  size_t stem = std::strlen(path);
  for (size_t i = stem; i > 0; --i) {
    char c = path[i - 1];
    if (c == '\\' || c == '/' || c == ':') break;
    if (c == '.') {
      stem = i - 1;
      break;
    }
  }
  size_t extensionLength = std::strlen(extension);
  if (stem + extensionLength + 1 > capacity) return false;
  std::memcpy(path + stem, extension, extensionLength + 1);
  return true;
}

OptionsButtonState OptionsButtonFor(const std::string& typeName) {
  if (typeName.compare(0, 4, "TIFF") == 0 || typeName.compare(0, 4, "EPSF") == 0) return OptionsButtonState::kDisabled;
  if (typeName.compare(0, 4, "JPEG") == 0 || typeName.compare(0, 3, "DCS") == 0) return OptionsButtonState::kEnabled;
  return OptionsButtonState::kKeep;
}

OptionsDialog OptionsDialogFor(const std::string& typeName) {
  if (typeName.compare(0, 4, "JPEG") == 0) return OptionsDialog::kJpeg;
  if (typeName.compare(0, 3, "DCS") == 0) return OptionsDialog::kDcs;
  return OptionsDialog::kNone;
}
