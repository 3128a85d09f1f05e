// The clean-up dialog in which the user deletes stored records of one type.
#pragma once

#include <windows.h>

#include <cstdint>

#include "foundation/file_io.h"
#include "foundation/record_type.h"

// Turns a stored name into a display name (direction 1; returns whether the
// record is listed) or a display name back into the stored name (direction 0).
typedef bool (*RecordNameConverter)(char* out, const char* in, int direction, void* context);

void RunRecordCleanupDialog(HWND owner, FileHandle store, RecordType type, int32_t minimumId, bool sorted,
                            RecordNameConverter converter, void* context);
