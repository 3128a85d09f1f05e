// What the PNG reader and writer share: libpng's structures created on one of
// the library's streams, with its errors jumping back to the caller's set
// point and its warnings shown nowhere, and the progress over interlace passes.
//
// libpng leaves by longjmp: every function that sets the jump point and calls
// libpng holds no object with a destructor, and owns no memory of its own.
#ifndef IMAGELIB_PNG_GLUE_H
#define IMAGELIB_PNG_GLUE_H

#include <png.h>

#include "imagelib/entry_work.h"
#include "imagelib/io_stream.h"
#include "imagelib/library_context.h"

namespace imagelib {

// Read and info structures (and the end info, for texts after the image).
class PngReadStructs {
 public:
  explicit PngReadStructs(IoStream& stream);
  ~PngReadStructs();
  PngReadStructs(const PngReadStructs&) = delete;
  PngReadStructs& operator=(const PngReadStructs&) = delete;

  bool ok() const { return png && info && end; }

  png_structp png = nullptr;
  png_infop info = nullptr;
  png_infop end = nullptr;
};

class PngWriteStructs {
 public:
  explicit PngWriteStructs(IoStream& sink);
  ~PngWriteStructs();
  PngWriteStructs(const PngWriteStructs&) = delete;
  PngWriteStructs& operator=(const PngWriteStructs&) = delete;

  bool ok() const { return png && info; }

  png_structp png = nullptr;
  png_infop info = nullptr;
};

// libpng's 16-bit colour record from the context's.
inline png_color_16 ToPngColor(const PngColor16& c) { return png_color_16{c.index, c.red, c.green, c.blue, c.gray}; }

// How a row loop under a jump point ended.
enum class RowsResult { kDone, kFailed, kStopped };

// Progress over all passes of an interlaced image: (rows done / passes,
// height), reported whenever that value moves.
class PassProgress {
 public:
  PassProgress(EntryWork& work, int height, int passes) : work_(work), height_(height), passes_(passes) {}

  // False when the progress callback stopped the work.
  bool RowDone();

 private:
  EntryWork& work_;
  int height_;
  int passes_;
  long long rows_done_ = 0;
  int reported_ = 0;
};

}  // namespace imagelib

#endif
