#include "imagelib/png_glue.h"

#include <cstdint>

namespace imagelib {

namespace {

[[noreturn]] void JumpBack(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void IgnoreWarning(png_structp, png_const_charp) {}

IoStream& StreamOf(png_structp png) { return *static_cast<IoStream*>(png_get_io_ptr(png)); }

void ReadData(png_structp png, png_bytep data, size_t length) {
  if (length > UINT32_MAX || !StreamOf(png).ReadExact(data, static_cast<uint32_t>(length)))
    png_error(png, "read Error");
}

void WriteData(png_structp png, png_bytep data, size_t length) {
  if (length > UINT32_MAX || !StreamOf(png).WriteBlock(data, static_cast<uint32_t>(length)))
    png_error(png, "Write error");
}

void FlushData(png_structp) {}

}  // namespace

PngReadStructs::PngReadStructs(IoStream& stream) {
  png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, JumpBack, IgnoreWarning);
  if (!png) return;
  info = png_create_info_struct(png);
  end = png_create_info_struct(png);
  png_set_read_fn(png, &stream, ReadData);
}

PngReadStructs::~PngReadStructs() {
  if (png) png_destroy_read_struct(&png, &info, &end);
}

PngWriteStructs::PngWriteStructs(IoStream& sink) {
  png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, JumpBack, IgnoreWarning);
  if (!png) return;
  info = png_create_info_struct(png);
  png_set_write_fn(png, &sink, WriteData, FlushData);
}

PngWriteStructs::~PngWriteStructs() {
  if (png) png_destroy_write_struct(&png, &info);
}

bool PassProgress::RowDone() {
  ++rows_done_;
  const int value = static_cast<int>(rows_done_ / passes_);
  if (value == reported_) return true;
  reported_ = value;
  return work_.Progress(value, height_);
}

}  // namespace imagelib
