#include "ui/main_dialog_support.h"

// Not built yet: no densitometer to fill.
void SampleDensitometerAtCursor() {}

// Not built yet: every scale passes.
float ClampScaleToResolutions(float scale, int16_t) { return scale; }
