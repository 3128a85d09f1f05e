#include "twain/pending_services.h"

#include "twain/twain_state.h"

namespace pending {

// Not available yet: no log file is written.
void LogOpen(bool) {}
void WriteLogHeader() {}
void LogClose(bool) {}

// Not available yet: no tooltips.
void SetTooltipsEnabled(bool) {}


}  // namespace pending
