// Dispatch between the two builds and the state that both share.
#include "readers/jpeg/jpeg_glue.h"

#include "readers/jpeg/jpeg_message_box.h"
#include "readers/jpeg/jpeg_object.h"

extern const JpegLibrary kJpegLibrary8;
extern const JpegLibrary kJpegLibrary12;

namespace {
JpegMessageSink gJpegMessageSink = ShowJpegMessageBox;
}

const JpegLibrary& JpegLibraryFor(int precision) { return precision == 12 ? kJpegLibrary12 : kJpegLibrary8; }

bool JpegObjectIsAlive(const JpegObject* object) { return object && object->alive; }
const JpegErrorState& JpegLastError(const JpegObject* object) { return object->error; }
void JpegShowMessages(JpegObject* object, bool show) { object->showMessages = show; }

JpegMessageSink SetJpegMessageSink(JpegMessageSink sink) {
  JpegMessageSink previous = gJpegMessageSink;
  gJpegMessageSink = sink ? sink : ShowJpegMessageBox;
  return previous;
}

JpegMessageSink CurrentJpegMessageSink() { return gJpegMessageSink; }
