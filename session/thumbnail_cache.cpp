#include "session/thumbnail_cache.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>

#include "foundation/record_store.h"
#include "session/device_platform.h"
#include "session/overview_cells.h"

bool (*gThumbnailDriveIsRemovable)(const char* folder) = IsOnRemovableDrive;

namespace {

NamedMutex gThumbnailMutex = nullptr;

std::string CachePath(const char* folder) { return std::string(folder) + kThumbnailCacheName; }

std::string ImagePath(const char* folder, const char* name) { return std::string(folder) + name; }

bool StampMatches(const ThumbnailRecordHead& head, const FileStamp& stamp) {
  return head.version == kThumbnailVersion && head.timeLow == stamp.timeLow && head.timeHigh == stamp.timeHigh &&
         head.sizeHigh == stamp.sizeHigh && head.sizeLow == stamp.sizeLow;
}

// What the overview writes: top-down 24-bit rows of a cell-sized picture. A
// header that claims more than its data (or any other shape) is a damaged
// record: its numbers would have the drawing read past the pixels.
constexpr int32_t kMaxCachedSide = 1024;

bool BitmapFitsData(const DibHeader& bitmap, uint32_t dataBytes) {
  if (bitmap.size != sizeof bitmap || bitmap.planes != 1 || bitmap.bitCount != 24 || bitmap.compression != 0 ||
      bitmap.width <= 0 || bitmap.width > kMaxCachedSide || bitmap.height >= 0 || bitmap.height < -kMaxCachedSide) {
    return false;
  }
  const uint64_t rowsBytes = uint64_t{DibHeaderStride(&bitmap)} * static_cast<uint32_t>(-bitmap.height);
  return rowsBytes <= bitmap.sizeImage && bitmap.sizeImage <= dataBytes;
}

int CompareIgnoringCase(const char* a, const char* b) {
  for (;; ++a, ++b) {
    int ca = std::tolower(static_cast<unsigned char>(*a));
    int cb = std::tolower(static_cast<unsigned char>(*b));
    if (ca != cb || ca == 0) return ca - cb;
  }
}

bool IsAmongCells(const char* name, int cellCount) {
  int low = 0, high = cellCount - 1;
  while (low <= high) {
    int middle = (low + high) / 2;
    int order = CompareIgnoringCase(name, gOverview.cells[static_cast<size_t>(middle)].name);
    if (order == 0) return true;
    if (order < 0)
      high = middle - 1;
    else
      low = middle + 1;
  }
  return false;
}

}  // namespace

void CreateThumbnailMutex() {
  if (!gThumbnailMutex) gThumbnailMutex = CreateNamedMutex(kThumbnailMutexName);
}

void CloseThumbnailMutex() {
  CloseNamedMutex(gThumbnailMutex);
  gThumbnailMutex = nullptr;
}

bool OpenThumbnailCache(const char* folder, FileHandle* cache) {
  *cache = nullptr;
  if (gThumbnailDriveIsRemovable(folder)) return false;
  WaitNamedMutex(gThumbnailMutex);
  std::string path = CachePath(folder);
  bool existed = FileExists(path.c_str());
  *cache = OpenFileReadWrite(path.c_str());
  if (!*cache) {
    ReleaseNamedMutex(gThumbnailMutex);
    return false;
  }
  if (!existed) SetPathAttributes(path.c_str(), kAttributeHidden);
  return true;
}

void CloseThumbnailCache(FileHandle cache) {
  CloseFile(cache);
  ReleaseNamedMutex(gThumbnailMutex);
}

bool LoadCachedThumbnail(const char* folder, const char* name, CachedThumbnail* thumbnail) {
  FileStamp stamp = {};
  bool stamped = GetFileStamp(ImagePath(folder, name).c_str(), &stamp);
  FileHandle cache;
  if (!OpenThumbnailCache(folder, &cache)) return false;
  bool loaded = false;
  int32_t id;
  uint32_t size;
  if (RecordStoreFind(cache, kThumbnailType, name, &id) && RecordStoreSize(cache, kThumbnailType, id, &size)) {
    std::vector<uint8_t> data(size);
    ThumbnailRecordHead head = {};
    if (size >= sizeof head && RecordStoreRead(cache, kThumbnailType, id, data.data(), size)) {
      std::memcpy(&head, data.data(), sizeof head);
      // Records of the older, longer size carry three bytes more and still read.
      loaded = stamped && StampMatches(head, stamp) && BitmapFitsData(head.bitmap, size - sizeof head);
    }
    if (loaded) {
      thumbnail->bitmap = head.bitmap;
      thumbnail->pixels.assign(data.begin() + sizeof head, data.begin() + sizeof head + head.bitmap.sizeImage);
    } else {
      RecordStoreDelete(cache, kThumbnailType, id);
    }
  }
  CloseThumbnailCache(cache);
  return loaded;
}

bool BuildThumbnailRecord(const char* folder, const char* name, const DibHeader& bitmap, const uint8_t* pixels,
                          std::vector<uint8_t>* record) {
  FileStamp stamp = {};
  if (!GetFileStamp(ImagePath(folder, name).c_str(), &stamp)) return false;
  ThumbnailRecordHead head = {kThumbnailVersion, stamp.timeLow, stamp.timeHigh, stamp.sizeHigh, stamp.sizeLow,
                              bitmap};
  record->assign(sizeof head + bitmap.sizeImage, 0);
  std::memcpy(record->data(), &head, sizeof head);
  if (bitmap.sizeImage) std::memcpy(record->data() + sizeof head, pixels, bitmap.sizeImage);
  return true;
}

bool PutThumbnailRecord(FileHandle cache, const char* name, const std::vector<uint8_t>& record) {
  int32_t id;
  if (!RecordStoreFind(cache, kThumbnailType, name, &id)) id = RecordStoreUniqueId(cache, kThumbnailType);
  return RecordStoreAdd(cache, kThumbnailType, id, record.data(), static_cast<uint32_t>(record.size()), name);
}

bool StoreThumbnail(const char* folder, const char* name, const DibHeader& bitmap, const uint8_t* pixels) {
  std::vector<uint8_t> record;
  if (!BuildThumbnailRecord(folder, name, bitmap, pixels, &record)) return false;
  FileHandle cache;
  if (!OpenThumbnailCache(folder, &cache)) return false;
  bool stored = PutThumbnailRecord(cache, name, record);
  CloseThumbnailCache(cache);
  return stored;
}

void PruneThumbnailCache(const char* folder, int cellCount) {
  if (cellCount > static_cast<int>(gOverview.cells.size())) cellCount = static_cast<int>(gOverview.cells.size());
  FileHandle cache;
  if (!OpenThumbnailCache(folder, &cache)) return;
  for (int index = RecordStoreCount(cache, kThumbnailType); index >= 1; --index) {
    char name[kRecordNameSize] = {};
    if (RecordStoreNameByIndex(cache, kThumbnailType, index, name) && !IsAmongCells(name, cellCount))
      RecordStoreDeleteIndexed(cache, kThumbnailType, index);
  }
  CloseThumbnailCache(cache);
}
