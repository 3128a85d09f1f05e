// The dialog shell: the two window classes, the thread's hooks, the tool
// windows that behave as one application window, and the start and end of
// the main window.
#include <windows.h>
#include <commctrl.h>

#include "foundation/dialogs/dialog_services.h"
#include "foundation/memory.h"
#include "state/data_source_state.h"
#include "state/module_state.h"
#include "ui/dialog_shell.h"
#include "ui/tool_windows.h"
#include "ui/ui_state_records.h"
#include "ui/win32/main_dialog_win32.h"
#include "ui/win32/image_session_win32.h"
#include "ui/win32/preview_rendering_win32.h"

namespace {

constexpr char kDialogClass[] = "QBDialog";
constexpr char kFloatingClass[] = "QBFloatingDialog";
constexpr int kMainDialogTemplate = 110;
constexpr int kMainIcon = 103;
constexpr int kCollectCapacity = 11;
constexpr int kPreviewControlId = 1047;

HHOOK gMsgFilterHook = nullptr;
HHOOK gKeyboardHook = nullptr;

HINSTANCE Module() { return static_cast<HINSTANCE>(GetModuleInstance()); }
HWND MainDialog() { return static_cast<HWND>(gMainDialog); }

// The host's window, as the session block keeps it.
HWND HostWindow() {
  if (!gSession || !gSession->platformData.value) return nullptr;
  return static_cast<HWND>(*gSession->platformData.value);
}

// The tool windows in the list's order; closed ones are 0. Windows that
// later parts add (palettes, densitometer, pipette, negative tool) are 0
// until they exist.
int ListToolWindows(HWND (&list)[kToolWindowCapacity]) {
  for (HWND& w : list) w = nullptr;
  list[kToolMainDialog] = MainDialog();
  list[kToolJobManager] = static_cast<HWND>(gJobManagerWindow);
  // Without the guided palette's object its slot is left out of the list.
  return ToolWindowCount(false);
}

// The non-zero tool windows, the main dialog last when asked for.
int CollectToolWindows(HWND* out, int capacity, bool withMain) {
  HWND list[kToolWindowCapacity];
  ListToolWindows(list);
  const int order[] = {kToolPalette, kToolDensitometer, kToolFixedPipette, kToolJobManager, kToolNegativeTool};
  int count = 0;
  for (int slot : order)
    if (list[slot] && count < capacity) out[count++] = list[slot];
  if (withMain && list[kToolMainDialog] && count < capacity) out[count++] = list[kToolMainDialog];
  return count;
}

// A switch between two tool windows never paints a caption inactive; any
// other change shows on every tool window at once.
LRESULT ToolWindowNcActivate(HWND window, WPARAM active, LPARAM other) {
  HWND windows[kCollectCapacity];
  const int count = CollectToolWindows(windows, kCollectCapacity, true);
  const HWND otherWindow = reinterpret_cast<HWND>(other);
  for (int i = 0; i < count; ++i)
    if (windows[i] == otherWindow) return DefWindowProcA(window, WM_NCACTIVATE, TRUE, 0);
  if (other == -1) return DefWindowProcA(window, WM_NCACTIVATE, active, 0);
  for (int i = 0; i < count; ++i)
    if (windows[i] != window && windows[i] != otherWindow) SendMessageA(windows[i], WM_NCACTIVATE, active, -1);
  return DefWindowProcA(window, WM_NCACTIVATE, active, other);
}

LRESULT ToolWindowEnable(HWND window, WPARAM enable, LPARAM lParam) {
  HWND windows[kCollectCapacity];
  const int count = CollectToolWindows(windows, kCollectCapacity, false);
  for (int i = 0; i < count; ++i)
    if (windows[i] != window) EnableWindow(windows[i], static_cast<BOOL>(enable));
  return DefWindowProcA(window, WM_ENABLE, enable, lParam);
}

LRESULT CALLBACK QBDialogClassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_ENABLE) return ToolWindowEnable(window, wParam, lParam);
  if (message == WM_NCACTIVATE) return ToolWindowNcActivate(window, wParam, lParam);
  return DefDlgProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK QBFloatingDialogClassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCACTIVATE) return ToolWindowNcActivate(window, wParam, lParam);
  return DefDlgProcA(window, message, wParam, lParam);
}

BOOL RegisterDialogClasses() {
  WNDCLASSEXA dialog = {};
  dialog.cbSize = sizeof dialog;
  GetClassInfoExA(nullptr, "#32770", &dialog);
  WNDCLASSEXA floating = dialog;
  dialog.lpfnWndProc = QBDialogClassProc;
  dialog.hInstance = Module();
  dialog.lpszClassName = kDialogClass;
  dialog.hIconSm = static_cast<HICON>(LoadImageA(Module(), MAKEINTRESOURCEA(kMainIcon), IMAGE_ICON, 16, 16, 0));
  RegisterClassExA(&dialog);
  floating.lpfnWndProc = QBFloatingDialogClassProc;
  floating.hInstance = Module();
  floating.lpszClassName = kFloatingClass;
  return RegisterClassExA(&floating) != 0;
}

// Accelerators reach the main dialog through the dialog message loops.
LRESULT CALLBACK MainMsgFilterHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code < 0) return CallNextHookEx(gMsgFilterHook, code, wParam, lParam);
  return code == MSGF_DIALOGBOX && TranslateMainAccelerator(reinterpret_cast<MSG*>(lParam));
}

// Return pauses a running guided sequence; until that palette exists every key passes.
LRESULT CALLBACK MainKeyboardHook(int code, WPARAM wParam, LPARAM lParam) {
  return CallNextHookEx(gKeyboardHook, code, wParam, lParam);
}

}  // namespace

bool TranslateMainAccelerator(void* message) {
  return MainDialog() && gMainAccelerators[0] &&
         TranslateAcceleratorA(MainDialog(), static_cast<HACCEL>(gMainAccelerators[0]), static_cast<MSG*>(message));
}

void EnableToolWindows(bool enable) {
  if (!StepToolWindowNesting(enable)) return;
  HWND list[kToolWindowCapacity];
  const int count = ListToolWindows(list);
  for (int i = 0; i < count; ++i)
    if (list[i] && (IsWindowEnabled(list[i]) != 0) != enable) EnableWindow(list[i], enable);
}

bool CreateMainDialog() {
  // Hooks of this thread only.
  gMsgFilterHook = SetWindowsHookExA(WH_MSGFILTER, MainMsgFilterHook, nullptr, GetCurrentThreadId());
  gKeyboardHook = SetWindowsHookExA(WH_KEYBOARD, MainKeyboardHook, nullptr, GetCurrentThreadId());
  InstallToolWindowSwitch(EnableToolWindows);
  InstallPreviewDrawing();
  InstallImageSessionReopen();
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_UPDOWN_CLASS | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  RegisterDialogClasses();
  HWND dialog = CreateDialogParamA(Module(), MAKEINTRESOURCEA(kMainDialogTemplate),
                                   HostWindow(), MainDialogProc, 0);
  gMainDialog = dialog;
  // Without its window the session still starts from the state the window would set up.
  if (!dialog) ResetUiState();
  return dialog != nullptr;
}

void RelayoutMainPreview() {
  HWND dialog = MainDialog();
  if (!dialog) return;
  LayoutPreviewArea(dialog);
  InvalidateRect(GetDlgItem(dialog, kPreviewControlId), nullptr, TRUE);
}

void DestroyMainDialog() {
  if (MainDialog()) DestroyWindow(MainDialog());
  UnregisterClassA(kDialogClass, Module());
  if (gKeyboardHook) UnhookWindowsHookEx(gKeyboardHook);
  if (gMsgFilterHook) UnhookWindowsHookEx(gMsgFilterHook);
  gKeyboardHook = nullptr;
  gMsgFilterHook = nullptr;
  gMainDialog = nullptr;
}
