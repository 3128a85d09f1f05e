#include "output/thumbnail_resource.h"

#include <cstring>

#include "output/thumbnail_jpeg.h"
#include "output/tiff_layout.h"

namespace {

// The resource block's own header in front of the thumbnail header and the JPEG.
constexpr uint32_t kResourceHeadBytes = 12;
constexpr uint32_t kThumbnailDataAt = kResourceHeadBytes + sizeof(ThumbnailHeader);

}  // namespace

bool BuildThumbnailResource(const uint8_t* rows, uint32_t width, uint32_t height, std::vector<uint8_t>* block) {
  block->assign(kThumbnailDataAt, 0);
  std::memcpy(block->data(), "8BIM", 4);
  PutBig16(block->data() + 4, kResourceThumbnail);
  if (!CompressThumbnail(rows, width, height, block)) return false;
  if (block->size() & 1) block->push_back(0);
  const uint32_t n = static_cast<uint32_t>(block->size());
  PutBig32(block->data() + 8, n - kResourceHeadBytes);
  ThumbnailHeader header = MakeThumbnailHeader(width, height);
  header.compressedSize = n - kThumbnailDataAt;
  SwapThumbnailHeader(&header);
  std::memcpy(block->data() + kResourceHeadBytes, &header, sizeof header);
  return true;
}
