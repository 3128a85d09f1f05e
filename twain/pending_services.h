// Stand-ins for the dialog-helper services that the source's entry calls
// before those are built. Each carries its final name inside namespace
// pending and does nothing; the callers move to the real services as they
// arrive, and this file goes away.
#pragma once

namespace pending {

// Dialog helpers.
void SetTooltipsEnabled(bool enabled);

}  // namespace pending
