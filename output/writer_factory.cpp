#include <new>

#include "output/eps_file_writer.h"
#include "output/image_file_writer.h"
#include "output/jpeg_file_writer.h"
#include "output/tiff_file_writer.h"

// The writer of a file kind; none for an unknown kind.
ImageFileWriter* CreateImageFileWriter(int16_t kind) {
  if (kind == kWriterTiff) return new (std::nothrow) TiffFileWriter();
  if (kind == kWriterJpeg) return new (std::nothrow) JpegFileWriter();
  if (kind == kWriterEpsDcs) return new (std::nothrow) EpsFileWriter();
  return nullptr;
}
