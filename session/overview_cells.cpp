#include "session/overview_cells.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>

#include "foundation/file_io.h"
#include "session/device_platform.h"

OverviewState gOverview;
const char* const kOverviewPatterns[3] = {".tif", ".jpg", ".psd"};

namespace {

bool HasExtension(const char* name, const char* extension) {
  size_t length = std::strlen(name);
  size_t extensionLength = std::strlen(extension);
  if (length <= extensionLength) return false;
  const char* tail = name + length - extensionLength;
  for (size_t i = 0; i < extensionLength; ++i)
    if (std::tolower(static_cast<unsigned char>(tail[i])) != extension[i]) return false;
  return true;
}

struct Collection {
  const char* extension;
  std::vector<std::string>* names;
};

void CollectMatching(const char* name, void* context) {
  Collection* collection = static_cast<Collection*>(context);
  if (HasExtension(name, collection->extension)) collection->names->push_back(name);
}

// The folder's images in the order of the patterns, and within one pattern as the folder lists them.
std::vector<std::string> FolderImages(const char* folder) {
  std::vector<std::string> images;
  for (const char* extension : kOverviewPatterns) {
    std::vector<std::string> names;
    Collection collection = {extension, &names};
    ForEachFileInFolder(folder, CollectMatching, &collection);
    images.insert(images.end(), names.begin(), names.end());
  }
  return images;
}

int CompareIgnoringCase(const char* a, const char* b) {
  for (;; ++a, ++b) {
    int ca = std::tolower(static_cast<unsigned char>(*a));
    int cb = std::tolower(static_cast<unsigned char>(*b));
    if (ca != cb || ca == 0) return ca - cb;
  }
}

uint64_t Joined(uint32_t high, uint32_t low) { return static_cast<uint64_t>(high) << 32 | low; }

}  // namespace

int CountFolderImages(const char* folder) { return static_cast<int>(FolderImages(folder).size()); }

void FillOverviewCells(const char* folder, int count) {
  std::vector<std::string> images = FolderImages(folder);
  if (static_cast<int>(images.size()) > count) images.resize(static_cast<size_t>(count));
  gOverview.cells.assign(images.size(), OverviewCell{});
  for (size_t i = 0; i < images.size(); ++i) {
    OverviewCell& cell = gOverview.cells[i];
    std::snprintf(cell.name, sizeof cell.name, "%s", images[i].c_str());
    FileStamp stamp = {};
    std::string path = std::string(folder) + images[i];
    if (GetFileStamp(path.c_str(), &stamp)) {
      cell.timeLow = stamp.timeLow;
      cell.timeHigh = stamp.timeHigh;
      cell.sizeHigh = stamp.sizeHigh;
      cell.sizeLow = stamp.sizeLow;
    }
  }
}

void SortOverviewCells(int key, int count) {
  auto end = gOverview.cells.begin() + std::min<size_t>(static_cast<size_t>(count), gOverview.cells.size());
  auto less = [key](const OverviewCell& a, const OverviewCell& b) {
    if (key == kSortBySize) return Joined(a.sizeHigh, a.sizeLow) > Joined(b.sizeHigh, b.sizeLow);
    if (key == kSortByTime) return Joined(a.timeHigh, a.timeLow) > Joined(b.timeHigh, b.timeLow);
    return CompareIgnoringCase(a.name, b.name) < 0;
  };
  std::stable_sort(gOverview.cells.begin(), end, less);
}

bool GetOverviewImagePath(int cell, char* path, bool withFolder) {
  path[0] = '\0';
  if (gOverview.cells.empty() || cell < 1 || cell > static_cast<int>(gOverview.cells.size())) return false;
  std::snprintf(path, 256, "%s%s", withFolder ? gOverview.folder : "", gOverview.cells[cell - 1].name);
  return true;
}

void GetOverviewPathOrFolder(int cell, char* path) {
  if (cell == 0) {
    std::snprintf(path, 256, "%s", gOverview.folder);
    return;
  }
  GetOverviewImagePath(cell, path, true);
}
