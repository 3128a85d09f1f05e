#include "ui/option_records.h"

// Not built yet: no option unit, reflective light, nothing to check.
bool LoadOptionSelection() { return false; }
bool LoadLightSource() { return false; }
void CheckScreenGeometry(bool) {}
