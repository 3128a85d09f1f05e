// One side of the two-process check of the thumbnail cache, working on the
// image "shared.tif" in the current folder:
//   thumbnail_cache_tool write  opens the cache, says "holding", keeps it open
//                               until the file "go" appears (made once the
//                               reader has started), then puts the thumbnail
//                               and closes it
//   thumbnail_cache_tool read   says "asking", loads the thumbnail and prints
//                               its size and pixel sum, or "none"
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "foundation/file_io.h"
#include "foundation/system.h"
#include "session/device_platform.h"
#include "session/thumbnail_cache.h"

namespace {

constexpr char kImage[] = "shared.tif";

DibHeader Bitmap() {
  DibHeader header = {};
  header.size = 40;
  header.width = 5;
  header.height = -4;
  header.planes = 1;
  header.bitCount = 24;
  header.sizeImage = 16 * 4;
  return header;
}

int Write(const char* folder) {
  DibHeader bitmap = Bitmap();
  std::vector<uint8_t> pixels(bitmap.sizeImage);
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint8_t>(i * 3 + 1);
  std::vector<uint8_t> record;
  if (!BuildThumbnailRecord(folder, kImage, bitmap, pixels.data(), &record)) return 2;
  FileHandle cache;
  if (!OpenThumbnailCache(folder, &cache)) return 3;
  std::printf("holding\n");
  std::fflush(stdout);
  const std::string go = std::string(folder) + "go";
  while (!FileExists(go.c_str())) SleepMs(10);
  bool put = PutThumbnailRecord(cache, kImage, record);
  CloseThumbnailCache(cache);
  return put ? 0 : 4;
}

int Read(const char* folder) {
  std::printf("asking\n");
  std::fflush(stdout);
  CachedThumbnail thumbnail;
  if (!LoadCachedThumbnail(folder, kImage, &thumbnail)) {
    std::printf("none\n");
    return 0;
  }
  unsigned sum = 0;
  for (uint8_t value : thumbnail.pixels) sum += value;
  std::printf("%dx%d %u\n", thumbnail.bitmap.width, -thumbnail.bitmap.height, sum);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  char folder[512];
  if (argc < 2 || !GetCurrentFolder(folder, sizeof folder - 1)) return 1;
  size_t length = std::strlen(folder);
  if (length && folder[length - 1] != '\\') std::strcat(folder, "\\");
  CreateThumbnailMutex();
  int result = std::strcmp(argv[1], "write") == 0 ? Write(folder) : Read(folder);
  CloseThumbnailMutex();
  return result;
}
