// The part of a library object that both builds share; each build unit
// derives its own object with the library's structures behind it.
#pragma once

#include "readers/jpeg/jpeg_glue.h"

struct JpegObject {
  JpegErrorState error;
  bool showMessages = false;
  bool alive = false;  // the library's part exists
  virtual ~JpegObject() = default;
};

// The message sink in force (never null).
JpegMessageSink CurrentJpegMessageSink();
