#include "photoapp/window/dialog.h"

INT_PTR Dialog::DoModal() {
  HWND owner = parent_ ? parent_ : GetActiveWindow();
  ended_ = false;
  result_ = -1;
  HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(template_id_), owner,
                                   &Dialog::DialogProc, reinterpret_cast<LPARAM>(this));
  if (!dialog) return -1;
  const bool disable_owner = owner && IsWindowEnabled(owner);
  if (disable_owner) EnableWindow(owner, FALSE);
  ShowWindow(dialog, SW_SHOW);
  RunModalLoop();
  if (disable_owner) EnableWindow(owner, TRUE);
  if (owner) SetActiveWindow(owner);
  DestroyWindow();
  Detach();
  return result_;
}

void Dialog::RunModalLoop() {
  MSG message;
  while (!ended_) {
    const BOOL got = GetMessageA(&message, nullptr, 0, 0);
    if (got <= 0) {
      // WM_QUIT ends the program's loop as well.
      if (got == 0) PostQuitMessage(static_cast<int>(message.wParam));
      EndDialog(IDCANCEL);
      break;
    }
    if (PreTranslateInChain(&message) || IsDialogMessageA(GetSafeHwnd(), &message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

bool Dialog::PumpWaitingMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return false;
    }
    if (PreTranslateInChain(&message) || IsDialogMessageA(GetSafeHwnd(), &message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return true;
}

void Dialog::DestroyWindow() { ::DestroyWindow(GetSafeHwnd()); }

bool Dialog::PreTranslateInChain(MSG* message) {
  for (HWND hwnd = message->hwnd; hwnd; hwnd = GetParent(hwnd)) {
    Window* window = FromHandle(hwnd);
    if (window && window->PreTranslateMessage(message)) return true;
    if (hwnd == GetSafeHwnd()) break;
  }
  return false;
}

void Dialog::EndDialog(int result) {
  result_ = result;
  ended_ = true;
}

bool Dialog::UpdateData(bool save) {
  DataExchange exchange{*this, save};
  DoDataExchange(exchange);
  return true;
}

BOOL Dialog::OnInitDialog() {
  UpdateData(false);
  return TRUE;
}

void Dialog::DoDataExchange(DataExchange&) {}

void Dialog::OnOK() {
  if (UpdateData(true)) EndDialog(IDOK);
}

void Dialog::OnCancel() { EndDialog(IDCANCEL); }

bool Dialog::OnCommand(WPARAM, LPARAM) { return false; }

bool Dialog::OnMessage(UINT, WPARAM, LPARAM, INT_PTR*) { return false; }

INT_PTR CALLBACK Dialog::DialogProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_INITDIALOG) {
    auto* dialog = reinterpret_cast<Dialog*>(lparam);
    dialog->Attach(hwnd);
    return dialog->OnInitDialog();
  }
  auto* dialog = static_cast<Dialog*>(FromHandle(hwnd));
  if (!dialog) return FALSE;
  LRESULT answer = 0;
  if (ReflectToChild(message, wparam, lparam, &answer)) return static_cast<INT_PTR>(answer);
  if (message == WM_COMMAND) {
    switch (LOWORD(wparam)) {
      case IDOK: dialog->OnOK(); return TRUE;
      case IDCANCEL: dialog->OnCancel(); return TRUE;
    }
    return dialog->OnCommand(wparam, lparam);
  }
  INT_PTR reply = FALSE;
  if (dialog->OnMessage(message, wparam, lparam, &reply)) return reply;
  return FALSE;
}

void ExchangeControl(DataExchange& exchange, int id, Window& control) {
  if (!control.GetSafeHwnd()) control.SubclassDlgItem(id, exchange.dialog.GetSafeHwnd());
}

void ExchangeRadio(DataExchange& exchange, int first_id, int& value) {
  HWND dialog = exchange.dialog.GetSafeHwnd();
  HWND button = GetDlgItem(dialog, first_id);
  if (exchange.save) value = -1;
  for (int index = 0; button; ++index) {
    if (exchange.save) {
      if (SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED) value = index;
    } else {
      SendMessageA(button, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    // The group runs in tab order up to the next control that starts a group.
    button = GetWindow(button, GW_HWNDNEXT);
    if (button && (GetWindowLongA(button, GWL_STYLE) & WS_GROUP)) break;
  }
}

void ExchangeCheck(DataExchange& exchange, int id, int& value) {
  HWND button = GetDlgItem(exchange.dialog.GetSafeHwnd(), id);
  if (exchange.save) {
    value = static_cast<int>(SendMessageA(button, BM_GETCHECK, 0, 0));
  } else {
    SendMessageA(button, BM_SETCHECK, static_cast<WPARAM>(value), 0);
  }
}
