// The frame every modal tone and colour tool runs in: one tool at a time
// (gToolDialogBusy), the main accelerators offered to the dialog through a
// message-filter hook of the current thread, the floating tool windows
// disabled, remembered positions, the hint line and tooltips, the delayed
// correction of typed values and the preview refresh after a change.
#pragma once

#include <windows.h>

#include <cstdint>

#include "foundation/dialogs/field_correction.h"

// Runs the template modally over the owner inside the frame; refused (returns
// -1, nothing shown) while another tool dialog runs. Everything is restored in
// reverse order afterwards.
INT_PTR RunToolDialog(uint16_t templateId, HWND owner, DLGPROC proc, LPARAM param);
// The module that holds the tools' dialogs, strings and bitmaps.
HINSTANCE ToolResourceModule();
// The message-filter hook of the running tool; null when none is installed.
HHOOK ToolDialogHook();

constexpr UINT_PTR kHintTimerId = 5011;
constexpr UINT kHintTimerMs = 250;

// The per-dialog part of the frame.
struct ToolDialogCommon {
  int positionSlot = 0;
  int hintDialogId = 0;
  FieldCorrection correction;
  int32_t correctedValue = 0;   // what the pending item is rewritten with
  int writingEdits = 0;   // while above 0, the dialog's own edit writes are not user input
};

// At WM_INITDIALOG: the remembered position, the hint timer.
void OpenToolDialogCommon(HWND dialog, ToolDialogCommon* common);
// At the end: the position remembered, the timer stopped.
void CloseToolDialogCommon(HWND dialog, ToolDialogCommon* common);
// The messages the frame answers for every tool (timer, tooltips, owner-drawn
// combos); true when the message was the frame's.
bool HandleToolDialogMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam, ToolDialogCommon* common,
                             INT_PTR* result);

// Writes a number into the dialog's edit without it counting as typing.
void WriteToolEdit(HWND dialog, int item, int32_t value, ToolDialogCommon* common);
// EN_CHANGE of an edit: false while the dialog writes its own edits.
bool IsUserEdit(const ToolDialogCommon& common);
// Reads the typed value clamped to lo..hi; a value that had to be clamped or
// is no number is applied at once and rewritten (selected, with a beep) 2000 ms
// after the last keystroke.
int32_t ReadToolEdit(HWND dialog, int item, int32_t lo, int32_t hi, ToolDialogCommon* common);

// After a change: nothing without the live-preview option; during a slider or
// drag gesture through the colour lattice, else exactly.
void RefreshToolPreview(bool gesture);
