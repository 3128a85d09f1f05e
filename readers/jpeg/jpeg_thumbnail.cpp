#include "readers/jpeg/jpeg_thumbnail.h"

#include <new>
#include <utility>

#include "readers/image_file_reader.h"
#include "readers/jpeg/jpeg_glue.h"

namespace {

bool DecodeRows(const JpegLibrary& lib, JpegObject* decoder, const std::vector<uint8_t>& resource, bool swapRedBlue,
                ThumbnailPixels* pixels) {
  bool headerOk = false;
  JpegDecodeSettings settings;
  settings.rgbOutput = true;
  settings.floatDct = true;
  JpegDecodeInfo info;
  if (!lib.memorySource(decoder, resource.data() + kThumbnailHeaderBytes,
                        static_cast<uint32_t>(resource.size() - kThumbnailHeaderBytes)) ||
      !lib.readHeader(decoder, true, &headerOk) || !headerOk || !lib.getDecodeInfo(decoder, &info) ||
      info.imageWidth == 0 || info.imageHeight == 0 || info.imageWidth > kMaxThumbnailSide ||
      info.imageHeight > kMaxThumbnailSide) {
    return false;
  }
  if (!lib.applySettings(decoder, settings) || !lib.calcOutputDimensions(decoder) || !lib.startDecompress(decoder) ||
      !lib.getDecodeInfo(decoder, &info) || info.outputComponents != 3) {
    return false;
  }
  const size_t rowBytes = size_t{info.outputWidth} * 3;
  try {
    pixels->bgr.resize(rowBytes * info.outputHeight);
  } catch (const std::bad_alloc&) {
    return false;
  }
  for (uint32_t y = 0; y < info.outputHeight; ++y) {
    uint8_t* row = pixels->bgr.data() + size_t{y} * rowBytes;
    if (!lib.readScanline(decoder, row)) return false;
    if (swapRedBlue) {
      for (size_t x = 0; x < rowBytes; x += 3) std::swap(row[x], row[x + 2]);
    }
  }
  pixels->width = info.outputWidth;
  pixels->height = info.outputHeight;
  return lib.finishDecompress(decoder);
}

}  // namespace

bool DecodeThumbnailResource(const std::vector<uint8_t>& resource, bool swapRedBlue, ThumbnailPixels* pixels) {
  *pixels = ThumbnailPixels();
  if (resource.size() <= kThumbnailHeaderBytes) return false;
  const JpegLibrary& lib = JpegLibraryFor(8);
  JpegObject* decoder = lib.createDecompress();
  if (!decoder) return false;
  bool decoded = DecodeRows(lib, decoder, resource, swapRedBlue, pixels);
  lib.freeObject(decoder);
  if (!decoded) *pixels = ThumbnailPixels();
  return decoded;
}

bool DrawEmbeddedThumbnail(ImageFileReader& reader, void* bitmap, uint8_t* bits, int32_t width, int32_t height,
                           int32_t rowBytes, int32_t pixelBytes) {
  bool swapRedBlue = false;
  std::vector<uint8_t> resource = reader.ReadImageResource(kOldThumbnailResource, nullptr);
  if (resource.empty()) {
    resource = reader.ReadImageResource(kThumbnailResource, nullptr);
    swapRedBlue = true;
  }
  ThumbnailPixels pixels;
  if (resource.empty() || !DecodeThumbnailResource(resource, swapRedBlue, &pixels)) return false;
  return DrawThumbnailPixels(pixels, bitmap, bits, width, height, rowBytes, pixelBytes);
}
