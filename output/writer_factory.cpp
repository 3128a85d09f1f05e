#include <new>

#include "output/image_file_writer.h"
#include "output/jpeg_file_writer.h"
#include "output/tiff_file_writer.h"

// EPS/DCS comes with its own writer; until then that kind answers none.
ImageFileWriter* CreateImageFileWriter(int16_t kind) {
  if (kind == kWriterTiff) return new (std::nothrow) TiffFileWriter();
  if (kind == kWriterJpeg) return new (std::nothrow) JpegFileWriter();
  return nullptr;
}
