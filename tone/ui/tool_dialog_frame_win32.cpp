#include "tone/ui/tool_dialog_frame_win32.h"

#include <cstdlib>

#include "foundation/dialogs/dialog_services.h"
#include "foundation/dialogs/win32/dialog_items_win32.h"
#include "foundation/memory.h"
#include "foundation/system.h"
#include "state/data_source_state.h"
#include "tone/tone_window_hooks.h"
#include "tone/ui/tool_dialog_hooks_win32.h"

namespace {

thread_local HHOOK tHook = nullptr;

// Keyboard messages of the tool's dialog go through the main window's
// accelerators first, so that Ctrl+Z and Alt+digit work inside the tool.
LRESULT CALLBACK ToolMessageFilter(int code, WPARAM wParam, LPARAM lParam) {
  MSG* message = reinterpret_cast<MSG*>(lParam);
  if (code == MSGF_DIALOGBOX && message && message->message >= WM_KEYFIRST && message->message <= WM_KEYLAST &&
      gMainAccelerators[0]) {
    HWND dialog = GetAncestor(message->hwnd, GA_ROOT);
    if (dialog && TranslateAcceleratorA(dialog, static_cast<HACCEL>(gMainAccelerators[0]), message)) return 1;
  }
  return CallNextHookEx(tHook, code, wParam, lParam);
}

void CenterOnOwner(HWND dialog) { CenterOnParent(dialog, GetWindow(dialog, GW_OWNER)); }

void DrawPlainComboItem(const DRAWITEMSTRUCT* item) {
  if (item->itemID == static_cast<UINT>(-1)) return;
  const bool selected = (item->itemState & ODS_SELECTED) != 0;
  FillRect(item->hDC, &item->rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  char text[256] = {};
  SendMessageA(item->hwndItem, CB_GETLBTEXT, item->itemID, reinterpret_cast<LPARAM>(text));
  const bool greyed = (static_cast<int32_t>(item->itemData) & kComboItemGreyed) != 0;
  SetBkMode(item->hDC, TRANSPARENT);
  SetTextColor(item->hDC, GetSysColor(greyed ? COLOR_GRAYTEXT : selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  RECT rect = item->rcItem;
  rect.left += 2;
  DrawTextA(item->hDC, text, -1, &rect, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

}  // namespace

HHOOK ToolDialogHook() { return tHook; }

HINSTANCE ToolResourceModule() {
  HINSTANCE module = static_cast<HINSTANCE>(GetModuleInstance());
  return module ? module : GetModuleHandleA(nullptr);
}

INT_PTR RunToolDialog(uint16_t templateId, HWND owner, DLGPROC proc, LPARAM param) {
  if (gToolDialogBusy) return -1;
  gToolDialogBusy = 1;
  ToolDialogServices().prepareDensitometer();
  tHook = SetWindowsHookExA(WH_MSGFILTER, ToolMessageFilter, nullptr, GetCurrentThreadId());
  EnableToolWindowsForModal(false);
  const INT_PTR result = DialogBoxParamA(ToolResourceModule(), MAKEINTRESOURCEA(templateId), owner, proc, param);
  EnableToolWindowsForModal(true);
  if (tHook) UnhookWindowsHookEx(tHook);
  tHook = nullptr;
  gToolDialogBusy = 0;
  return result;
}

void OpenToolDialogCommon(HWND dialog, ToolDialogCommon* common) {
  const ToolDialogHooks& hooks = ToolDialogServices();
  if (hooks.restoreDialogPosition)
    hooks.restoreDialogPosition(dialog, common->positionSlot);
  else
    CenterOnOwner(dialog);
  SetTimer(dialog, kHintTimerId, kHintTimerMs, nullptr);
}

void CloseToolDialogCommon(HWND dialog, ToolDialogCommon* common) {
  RECT rect;
  if (GetWindowRect(dialog, &rect)) ToolDialogServices().storeDialogPosition(common->positionSlot, rect.left, rect.top);
  KillTimer(dialog, kHintTimerId);
}

bool HandleToolDialogMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam, ToolDialogCommon* common,
                             INT_PTR* result) {
  *result = TRUE;
  switch (message) {
    case WM_TIMER:
      if (wParam != kHintTimerId) return false;
      ToolDialogServices().refreshHintLine(dialog, common->hintDialogId);
      if (CorrectionDue(common->correction, TickCountMs())) {
        const int item = common->correction.pendingItem;
        ClearCorrection(&common->correction, kNoPendingItem);
        WriteToolEdit(dialog, item, common->correctedValue, common);
        FocusAndSelect(dialog, item, 0, -1);
        PlayBeep(0);
      }
      return true;
    case WM_NOTIFY:
      if (!ToolDialogServices().answerTooltip(dialog, lParam)) return false;
      return true;
    case WM_DRAWITEM: {
      const DRAWITEMSTRUCT* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (item->CtlType != ODT_COMBOBOX) return false;
      if (ToolDialogServices().drawComboItem)
        ToolDialogServices().drawComboItem(item);
      else
        DrawPlainComboItem(item);
      return true;
    }
    default:
      return false;
  }
}

void WriteToolEdit(HWND dialog, int item, int32_t value, ToolDialogCommon* common) {
  ++common->writingEdits;
  SetItemInt(dialog, item, value, true);
  --common->writingEdits;
}

bool IsUserEdit(const ToolDialogCommon& common) { return common.writingEdits == 0; }

int32_t ReadToolEdit(HWND dialog, int item, int32_t lo, int32_t hi, ToolDialogCommon* common) {
  char text[64] = {};
  GetDlgItemTextA(dialog, item, text, sizeof text);
  char* end = nullptr;
  const long typed = std::strtol(text, &end, 10);
  const bool number = end != text && *end == '\0';
  // Something that is no number counts as 0, limited like a typed value.
  const long wanted = number ? typed : 0;
  const int32_t value = static_cast<int32_t>(wanted < lo ? lo : wanted > hi ? hi : wanted);
  if (!number || value != wanted) {
    common->correctedValue = value;
    ArmCorrection(&common->correction, static_cast<uint16_t>(item), TickCountMs());
  } else {
    ClearCorrection(&common->correction, static_cast<uint16_t>(item));
  }
  return value;
}

void RefreshToolPreview(bool gesture) {
  const ToneWindowHooks& window = ToneWindow();
  if (window.livePreview()) window.refreshFramePreview(gesture);
}
