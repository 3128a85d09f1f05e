#include "readers/jpeg/jpeg_message_box.h"

#include <windows.h>

void ShowJpegMessageBox(const char* text) { MessageBoxA(GetActiveWindow(), text, "", MB_OK | MB_ICONSTOP); }
