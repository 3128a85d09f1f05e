// The thumbnail cache "QBthumbs(ZIR)" in an image folder: a record store with
// one `Thmb` record per image, shared between processes under the named
// mutex "ThumbnailFileMutex".
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "foundation/dib.h"
#include "foundation/file_io.h"
#include "foundation/record_type.h"

constexpr char kThumbnailCacheName[] = "QBthumbs(ZIR)";
constexpr char kThumbnailMutexName[] = "ThumbnailFileMutex";
constexpr RecordType kThumbnailType = TagFromString("Thmb");
constexpr uint32_t kThumbnailVersion = 1;

// The head of a `Thmb` record; the thumbnail's pixels follow (sizeImage bytes).
struct ThumbnailRecordHead {
  uint32_t version;
  uint32_t timeLow;  // the image file's last-write time
  uint32_t timeHigh;
  uint32_t sizeHigh;  // the image file's size
  uint32_t sizeLow;
  DibHeader bitmap;
};
static_assert(sizeof(ThumbnailRecordHead) == 60, "stored layout");
static_assert(offsetof(ThumbnailRecordHead, timeLow) == 4 && offsetof(ThumbnailRecordHead, sizeHigh) == 12 &&
                  offsetof(ThumbnailRecordHead, sizeLow) == 16 && offsetof(ThumbnailRecordHead, bitmap) == 20,
              "stored layout");

struct CachedThumbnail {
  DibHeader bitmap;
  std::vector<uint8_t> pixels;
};

// The drive check the cache asks (IsOnRemovableDrive); tests put another in its place.
extern bool (*gThumbnailDriveIsRemovable)(const char* folder);

void CreateThumbnailMutex();
void CloseThumbnailMutex();
// Waits for the mutex and opens (or creates, hidden) the cache of the
// folder; false without a cache (removable drive, file not to be opened),
// the mutex then released.
bool OpenThumbnailCache(const char* folder, FileHandle* cache);
// Closes the file and releases the mutex.
void CloseThumbnailCache(FileHandle cache);

// The cached thumbnail of the image when it still matches the file's time
// and size; a record that does not match is deleted.
bool LoadCachedThumbnail(const char* folder, const char* name, CachedThumbnail* thumbnail);
// The record of the image's thumbnail, stamped with the file's time and size.
bool BuildThumbnailRecord(const char* folder, const char* name, const DibHeader& bitmap, const uint8_t* pixels,
                          std::vector<uint8_t>* record);
// Into an open cache: replaces the record of the name (same id) or adds one.
bool PutThumbnailRecord(FileHandle cache, const char* name, const std::vector<uint8_t>& record);
// Builds the record, opens the cache, puts it and closes the cache.
bool StoreThumbnail(const char* folder, const char* name, const DibHeader& bitmap, const uint8_t* pixels);
// Deletes every record whose name is not among the overview cells (in name order).
void PruneThumbnailCache(const char* folder, int cellCount);
