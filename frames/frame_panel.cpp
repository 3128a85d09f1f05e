#include "frames/frame_panel.h"

// Not built yet: there is no panel to enable.
bool UpdateFramePanelEnabling() { return true; }

SizeLocks gFrameSizeLocks = {};

// Not built yet: there are no fields to show.
void ShowScaleFields() {}
void ShowOutputSize() {}
void ShowOriginalSize() {}
void ShowDataSize() {}
