#include "frames/win32/record_cleanup_win32.h"

// Not available yet: no clean-up dialog; nothing is deleted.
void RunRecordCleanupDialog(HWND, FileHandle, RecordType, int32_t, bool, RecordNameConverter, void*) {}
