// The frame parameter panel of the main window.
#pragma once

// Enables the panel's controls for the current frame, as its state allows.
bool UpdateFramePanelEnabling();
