// What the log needs of the platform: the temporary folder, the facts of the
// header, flushing and its alerts.
#pragma once

#include <cstdint>

#include "foundation/file_io.h"
#include "foundation/log/log_header.h"

// The system's temporary folder, ending with a separator; false when unknown.
bool GetTemporaryFolder(char* buffer);
// Fills time, module path, lock states, volumes (when listVolumes is set),
// version, system and memory; the caller supplies the rest.
void GatherLogHeaderFacts(LogHeaderFacts* facts);
void FlushLogFile(FileHandle file);
// An alert with a stop icon owned by the active window: caption from the
// string table (0 = empty), the given text.
void ShowLogAlert(uint32_t captionId, const char* text);
