// The floating tool windows beside the main window: enabled and disabled
// together, and disabled once for a stack of nested modal dialogs.
#pragma once

#include <cstdint>

// Open modal dialogs; 0 when none.
extern int32_t gToolWindowDisableCount;
// Counts one modal dialog in (enable false) or out (enable true); true when
// the windows must be switched: at the first disable and at the last enable.
// An enable without an open dialog changes nothing.
bool StepToolWindowNesting(bool enable);
// The windows switched by the rule above (main window included); installed
// as foundation's tool-window switch.
void EnableToolWindows(bool enable);

// Slots of the tool window list in their order; the guided palette's window
// is listed only while its object exists.
enum ToolWindowSlot {
  kToolMainDialog,
  kToolJobManager,
  kToolGuidedPalette,
  kToolPalette,
  kToolDensitometer,
  kToolFixedPipette,
  kToolNegativeTool,
};
constexpr int kToolWindowCapacity = 8;
// The count of listed entries: 7 with the guided palette's object, else 6.
int ToolWindowCount(bool guidedPaletteExists);
