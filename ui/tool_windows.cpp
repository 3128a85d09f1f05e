#include "ui/tool_windows.h"

int32_t gToolWindowDisableCount = 0;

bool StepToolWindowNesting(bool enable) {
  if (!enable) return gToolWindowDisableCount++ == 0;
  if (gToolWindowDisableCount < 1) return false;
  return --gToolWindowDisableCount == 0;
}

int ToolWindowCount(bool guidedPaletteExists) { return guidedPaletteExists ? 7 : 6; }
