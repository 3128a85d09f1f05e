#include "ui/win32/feeder_count_dialog_win32.h"

#include "foundation/memory.h"
#include "foundation/system.h"
#include "ui/feeder_count.h"
#include "ui/pending_field_edit.h"
#include "ui/tool_windows.h"
#include "ui/win32/dialog_positions_win32.h"

namespace {

constexpr int kFeederDialog = 306;
constexpr int kCountField = 1206;
constexpr UINT kCaptionString = 311;
constexpr UINT_PTR kPendingTimer = 5006;
constexpr UINT kPendingPollMs = 1000;
constexpr int kPositionSlot = 11;

void ShowCount(HWND dialog) {
  SetDlgItemInt(dialog, kCountField, gFeederMaxCount, FALSE);
  HWND field = GetDlgItem(dialog, kCountField);
  SetFocus(field);
  SendMessageA(field, EM_SETSEL, 0, -1);
}

}  // namespace

void ReadFeederCountField(HWND dialog, int id) {
  char text[32] = {};
  GetDlgItemTextA(dialog, id, text, sizeof text);
  bool inRange = false;
  gFeederMaxCount = LimitFeederCount(text, gFeederMaxCount, &inRange);
  NotePendingFieldEdit(!inRange, static_cast<uint16_t>(id));
}

INT_PTR CALLBACK FeederCountDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG: {
      char caption[128] = {};
      if (LoadResourceString(GetModuleInstance(), kCaptionString, caption, sizeof caption))
        SetWindowTextA(dialog, caption);
      ShowCount(dialog);
      RestoreDialogPosition(dialog, kPositionSlot);
      SetTimer(dialog, kPendingTimer, kPendingPollMs, nullptr);
      return FALSE;  // the focus is set
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == kCountField && HIWORD(wParam) == EN_CHANGE) {
        ReadFeederCountField(dialog, kCountField);
        return TRUE;
      }
      if (LOWORD(wParam) == IDOK) {
        EndDialog(dialog, 1);
        return TRUE;
      }
      return FALSE;
    case WM_TIMER:
      if (wParam != kPendingTimer) return FALSE;
      KillTimer(dialog, kPendingTimer);
      if (PendingFieldEditDue()) {
        NotePendingFieldEdit(false, kNoPendingEdit);
        ShowCount(dialog);
        PlayBeep(0);
      }
      SetTimer(dialog, kPendingTimer, kPendingPollMs, nullptr);
      return TRUE;
    case WM_WINDOWPOSCHANGED:
      StoreWindowPosition(dialog, kPositionSlot);
      return FALSE;
    case WM_DESTROY:
      KillTimer(dialog, kPendingTimer);
      return FALSE;
    default:
      return FALSE;
  }
}

INT_PTR RunFeederCountDialog(HWND owner) {
  EnableToolWindows(false);
  const INT_PTR result = DialogBoxParamA(static_cast<HINSTANCE>(GetModuleInstance()), MAKEINTRESOURCEA(kFeederDialog),
                                         owner, FeederCountDialogProc, 0);
  EnableToolWindows(true);
  return result;
}
