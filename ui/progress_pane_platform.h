// What the preview panes need of the platform: the progress window's picture
// area, its colours, and drawing. Without a progress window (the host build,
// or no window open) the panes keep their copies and show nothing.
#pragma once

#include <cstdint>

#include "ui/progress_panes.h"

// The picture area of the open progress window: false when there is none.
bool ProgressPictureArea(WinRect* rect, WindowHandle* control);
// The pale button face that a new small copy starts with (0x00BBGGRR).
uint32_t PanePaleFaceColour();
// Clears the pane to the button face before the first band.
void ClearPaneArea(const PreviewPane& pane);
// Draws the small copy into the pane; false when nothing was drawn.
bool ShowPaneCopy(const PreviewPane& pane, bool flipX, bool flipY, bool swapAxes);
// The small copy as a platform bitmap of the oriented size; null when the platform has none.
void* SmallCopyBitmap(const PreviewPane& pane, bool flipX, bool flipY, bool swapAxes, uint8_t** bits);
