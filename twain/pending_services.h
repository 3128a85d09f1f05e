// Stand-ins for the log and dialog-helper services that the source's entry
// calls before those are built. Each carries its final name inside namespace
// pending and does nothing; the callers move to the real services as they
// arrive, and this file goes away.
#pragma once

namespace pending {

// Log file.
void LogOpen(bool deleteOld);
void WriteLogHeader();
void LogClose(bool writeEnd);

// Dialog helpers.
void SetTooltipsEnabled(bool enabled);

}  // namespace pending
