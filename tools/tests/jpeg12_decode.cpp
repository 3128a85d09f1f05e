#include <cstdio>

#include <jpeg12/jpeglib12.h>

#include "jpeg_decode.h"

#define DECODE_FUNCTION DecodeJpeg12
#include "jpeg_decode_impl.inc"
