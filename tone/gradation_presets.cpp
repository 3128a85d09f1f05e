#include "tone/gradation_presets.h"

// Not built yet: older presets stay as they are.
void MigrateGradationPresets() {}
