#include "ui/preview_orientation.h"

// Not built yet: no orientation to save.
void SavePreviewOrientation() {}
