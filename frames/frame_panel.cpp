#include "frames/frame_panel.h"

// Not built yet: there is no panel to enable.
bool UpdateFramePanelEnabling() { return true; }
