#include "ui/progress_pane_platform.h"

// The host build has no progress window: the panes keep their copies only.
bool ProgressPictureArea(WinRect*, WindowHandle*) { return false; }
uint32_t PanePaleFaceColour() { return 0; }
void ClearPaneArea(const PreviewPane&) {}
bool ShowPaneCopy(const PreviewPane&, bool, bool, bool) { return false; }
void FreePaneBitmap(void*) {}
void* SmallCopyBitmap(const PreviewPane&, bool, bool, bool, uint8_t** bits) {
  *bits = nullptr;
  return nullptr;
}
