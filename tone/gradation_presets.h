// Named gradation settings ("Grad" records of the application store).
#pragma once

// Converts the presets of the older record type "GRAD" once at start-up.
void MigrateGradationPresets();
