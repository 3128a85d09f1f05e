// The 12-bit build of the library (its symbols carry their own prefix).
#include <cstdio>

#include <jpeg12/jpeglib12.h>

#define JPEG_GLUE_LIBRARY kJpegLibrary12
#include "readers/jpeg/jpeg_glue_build.inc"
