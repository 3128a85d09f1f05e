#include "twain/pending_services.h"

#include "twain/twain_state.h"

namespace pending {

// Not available yet: no tooltips.
void SetTooltipsEnabled(bool) {}

}  // namespace pending
