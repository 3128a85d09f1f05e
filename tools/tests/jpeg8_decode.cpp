#include <cstdio>

#include <jpeglib.h>

#include "jpeg_decode.h"

#define DECODE_FUNCTION DecodeJpeg8
#include "jpeg_decode_impl.inc"
