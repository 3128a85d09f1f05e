#include "output/thumbnail_resource.h"

#include <cstring>

#include "output/tiff_layout.h"
#include "readers/jpeg/jpeg_glue.h"

namespace {

// The resource block's own header in front of the thumbnail header and the JPEG.
constexpr uint32_t kResourceHeadBytes = 12;
constexpr uint32_t kThumbnailDataAt = kResourceHeadBytes + sizeof(ThumbnailHeader);

// The JFIF header the library writes: density unit at 13, densities at 14 and 16 of the stream.
void SetJfifDensity72(uint8_t* stream, size_t size) {
  if (size < 18 || std::memcmp(stream + 6, "JFIF", 5) != 0) return;
  stream[13] = 1;
  PutBig16(stream + 14, 72);
  PutBig16(stream + 16, 72);
}

// A baseline JPEG of the 24-bit rows (padded to 4 bytes) appended to the block.
bool CompressThumbnail(const uint8_t* rows, uint32_t width, uint32_t height, std::vector<uint8_t>* block) {
  const JpegLibrary& library = JpegLibraryFor(8);
  JpegObject* compressor = library.createCompress();
  if (!compressor) return false;
  const uint32_t start = static_cast<uint32_t>(block->size());
  const uint32_t stride = (width * 24 + 31) / 32 * 4;
  bool ok = library.memoryDestination(compressor, block, start) &&
            library.setDefaults(compressor, JpegImageShape{width, height, 3, JpegColorSpace::kRgb}) &&
            library.startCompress(compressor, true);
  for (uint32_t y = 0; ok && y < height; ++y) ok = library.writeScanline(compressor, rows + size_t{y} * stride);
  ok = ok && library.finishCompress(compressor);
  library.freeObject(compressor);
  if (ok) SetJfifDensity72(block->data() + start, block->size() - start);
  return ok;
}

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
