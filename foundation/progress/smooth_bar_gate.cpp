#include "foundation/progress/progress_window.h"
#include "foundation/system.h"

bool CommonControlsDrawSmoothBar(uint32_t packedVersion) { return DllVersionAtLeast(packedVersion, 4, 71); }
