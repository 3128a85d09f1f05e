#include "output/thumbnail_jpeg.h"

#include <cstddef>

#include "readers/jpeg/jpeg_glue.h"

bool CompressThumbnail(const uint8_t* rows, uint32_t width, uint32_t height, std::vector<uint8_t>* block) {
  const JpegLibrary& library = JpegLibraryFor(8);
  JpegObject* compressor = library.createCompress();
  if (!compressor) return false;
  const uint32_t start = static_cast<uint32_t>(block->size());
  const uint32_t stride = (width * 24 + 31) / 32 * 4;
  JpegEncodeOptions density;
  density.densityUnit = 1;
  density.xDensity = density.yDensity = 72;
  bool ok = library.memoryDestination(compressor, block, start) &&
            library.setDefaults(compressor, JpegImageShape{width, height, 3, JpegColorSpace::kRgb}) &&
            library.setEncodeOptions(compressor, density) && library.startCompress(compressor, true);
  for (uint32_t y = 0; ok && y < height; ++y) ok = library.writeScanline(compressor, rows + size_t{y} * stride);
  ok = ok && library.finishCompress(compressor);
  library.freeObject(compressor);
  return ok;
}
