#include "readers/jpeg/jpeg_message_box.h"

// The host checks have no user to show messages to.
void ShowJpegMessageBox(const char*) {}
