// What the log needs of the platform: the temporary folder, the facts of the
// header and flushing.
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
