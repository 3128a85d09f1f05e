// What the JPEG reader and writer share: libjpeg's source and destination
// managers over the library's streams, and an error exit that jumps back to
// the worker instead of ending the program.
//
// libjpeg leaves by longjmp. Every function that calls it sets its own jump
// point and holds no object with a destructor, and the managers' callbacks
// hold none either, so the jump skips no clean-up.
#ifndef IMAGELIB_JPEG_GLUE_H
#define IMAGELIB_JPEG_GLUE_H

#include <csetjmp>
#include <cstddef>
#include <cstdio>

#include <jpeglib.h>

#include "imagelib/io_stream.h"

namespace imagelib {

constexpr size_t kJpegStreamBufferBytes = 4096;

struct JpegErrorExit {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];  // the last error, formatted but shown nowhere
};

// Sets up libjpeg's standard handler with our exit; warnings are not shown.
jpeg_error_mgr* UseJpegErrorExit(JpegErrorExit& error);

// Reads the stream from its current position, 4096 bytes at a time.
void AttachJpegStreamSource(j_decompress_ptr info, IoStream* stream);
// Writes the stream in blocks of 4096 bytes.
void AttachJpegStreamDestination(j_compress_ptr info, IoStream* stream);

}  // namespace imagelib

#endif
