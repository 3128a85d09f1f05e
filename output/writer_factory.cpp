#include <new>

#include "output/eps_file_writer.h"
#include "output/image_file_writer.h"
#include "output/tiff_file_writer.h"

// EPS/DCS and JPEG come with their own writers; until then those kinds answer none.
ImageFileWriter* CreateImageFileWriter(int16_t kind) {
  if (kind == kWriterTiff) return new (std::nothrow) TiffFileWriter();
  if (kind == kWriterEpsDcs) return new (std::nothrow) EpsFileWriter();
  return nullptr;
}
