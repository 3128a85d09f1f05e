#include "twain/pending_services.h"

namespace pending {

// Not available yet: no log file is written.
void LogOpen(bool) {}
void WriteLogHeader() {}
void LogClose(bool) {}

}  // namespace pending
