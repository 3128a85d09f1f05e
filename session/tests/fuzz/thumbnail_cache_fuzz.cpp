// The thumbnail cache of an image folder on fuzzed bytes: with the first
// byte odd the bytes are the whole cache file; else they are the record of
// the folder's image, its stamp put right so that the bitmap header is used.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "foundation/record_store.h"
#include "session/thumbnail_cache.h"
#include "tools/fuzz/fuzz_target.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool created = (CreateThumbnailMutex(), true);
  (void)created;
  const std::string image = WriteFuzzFile("zir_fuzz_image.tif", data, std::min<size_t>(size, 16));
  if (image.empty() || size == 0) return 0;
  const std::string folder = FuzzFolder();
  const std::string cache = folder + kThumbnailCacheName;
  if (data[0] & 1) {
    WriteFuzzFile(kThumbnailCacheName, data, size);
  } else {
    WriteFuzzFile(kThumbnailCacheName, nullptr, 0);
    FileStamp stamp = {};
    GetFileStamp(image.c_str(), &stamp);
    std::vector<uint8_t> record(std::max(size, sizeof(ThumbnailRecordHead)), 0);
    std::memcpy(record.data(), data, size);
    ThumbnailRecordHead head;
    std::memcpy(&head, record.data(), sizeof head);
    head.version = kThumbnailVersion;
    head.timeLow = stamp.timeLow;
    head.timeHigh = stamp.timeHigh;
    head.sizeHigh = stamp.sizeHigh;
    head.sizeLow = stamp.sizeLow;
    std::memcpy(record.data(), &head, sizeof head);
    FileHandle file = OpenExistingFile(cache.c_str());
    if (file) {
      RecordStoreAdd(file, kThumbnailType, 128, record.data(), static_cast<uint32_t>(record.size()),
                     "zir_fuzz_image.tif");
      CloseFile(file);
    }
  }
  CachedThumbnail thumbnail;
  if (LoadCachedThumbnail(folder.c_str(), "zir_fuzz_image.tif", &thumbnail)) {
    // What the drawing reads: every row of the header's size.
    const uint64_t rows = static_cast<uint32_t>(-thumbnail.bitmap.height);
    const uint64_t stride = (uint64_t{static_cast<uint32_t>(thumbnail.bitmap.width)} * 3 + 3) & ~uint64_t{3};
    if (rows * stride > thumbnail.pixels.size()) __builtin_trap();
  }
  return 0;
}
