#include "foundation/dialogs/tooltip_flag.h"

bool gTooltipsEnabled = false;
