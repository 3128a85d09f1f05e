// The 8-bit build of the library.
#include <cstdio>

#include <jpeglib.h>
#include <jerror.h>

#define JPEG_GLUE_LIBRARY kJpegLibrary8
#include "readers/jpeg/jpeg_glue_build.inc"

// Both builds share the library's message table, so one build answers for both.
const JpegMessageCodes& JpegCodes() {
  static const JpegMessageCodes codes = {JERR_BAD_PRECISION, JERR_FILE_WRITE, JERR_OUT_OF_MEMORY};
  return codes;
}
