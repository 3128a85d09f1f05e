// Option records of the user interface and the screen check.
#pragma once

// The option-unit selection; false without an option unit.
bool LoadOptionSelection();
// The light source; true for transparencies.
bool LoadLightSource();
// Checks the stored geometry against the screen; with dropSizes forgets stored sizes.
void CheckScreenGeometry(bool dropSizes);
