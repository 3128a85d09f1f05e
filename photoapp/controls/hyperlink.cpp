#include "photoapp/controls/hyperlink.h"

#include <shellapi.h>
#include <windowsx.h>

#include <cstdio>

#include "photoapp/window/dc.h"
#include "photoapp/window/message_box.h"

namespace {

const RuntimeClass kHyperLinkClass = {"CHyperLink"};
constexpr UINT kToolId = 1;
// The hand cursor of the system's help program.
constexpr int kLinkCursorId = 106;
HCURSOR gLinkCursor = nullptr;

constexpr COLORREF kHoverText = RGB(255, 0, 0);
constexpr COLORREF kActiveText = RGB(0, 128, 128);
constexpr COLORREF kVisitedText = RGB(128, 0, 128);
constexpr COLORREF kLinkText = RGB(0, 0, 255);

}  // namespace

std::string LinkCommandLine(const std::string& command, const std::string& target) {
  std::string cut = command;
  const size_t placeholder = cut.find("%1");
  if (placeholder != std::string::npos) {
    const bool quoted = placeholder > 0 && cut[placeholder - 1] == '"';
    cut.erase(quoted ? placeholder - 1 : placeholder);
  }
  return cut + " " + target;
}

std::string LinkErrorText(int code) {
  static const struct {
    int code;
    const char* text;
  } kReasons[] = {
      {0, "The operating system is out\nof memory or resources."},
      {SE_ERR_FNF, "The specified file was not found."},
      {SE_ERR_PNF, "The specified path was not found."},
      {SE_ERR_ACCESSDENIED, "The operating system denied\naccess to the specified file."},
      {SE_ERR_OOM, "There was not enough memory to complete the operation."},
      {ERROR_BAD_FORMAT, "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image)."},
      {SE_ERR_SHARE, "A sharing violation occurred. "},
      {SE_ERR_ASSOCINCOMPLETE, "The filename association is\nincomplete or invalid."},
      {SE_ERR_DDETIMEOUT, "The DDE transaction could not\nbe completed because the request timed out."},
      {SE_ERR_DDEFAIL, "The DDE transaction failed."},
      {SE_ERR_DDEBUSY,
       "The DDE transaction could not\nbe completed because other DDE transactions\nwere being processed."},
      {SE_ERR_NOASSOC, "There is no application associated\nwith the given filename extension."},
      {SE_ERR_DLLNOTFOUND, "The specified dynamic-link library was not found."},
  };
  std::string reason;
  for (const auto& entry : kReasons)
    if (entry.code == code) reason = entry.text;
  if (reason.empty()) {
    char unknown[64];
    std::snprintf(unknown, sizeof unknown, "Unknown Error (%d) occurred.", code);
    reason = unknown;
  }
  return "Can't open link:\n\n" + reason;
}

const RuntimeClass* CHyperLink::GetRuntimeClass() const { return &kHyperLinkClass; }

void CHyperLink::PreSubclassWindow() {
  if (url_.empty()) url_ = GetWindowText();
  if (GetWindowText().empty()) ::SetWindowTextA(GetSafeHwnd(), url_.c_str());

  HFONT font = reinterpret_cast<HFONT>(SendMessageA(GetSafeHwnd(), WM_GETFONT, 0, 0));
  LOGFONTA description = {};
  if (font && GetObjectA(font, sizeof description, &description)) {
    description.lfUnderline = static_cast<BYTE>(flags_ & kUnderline);
    font_.CreateFontIndirect(description);
    SendMessageA(GetSafeHwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.GetSafeHandle()), TRUE);
    FitWindowToText();
  } else {
    flags_ &= ~kFitToText;
  }

  if (!(flags_ & kNoLinkCursor)) LoadLinkCursor();

  tooltip_.Create(GetSafeHwnd());
  tooltip_.AddTool(GetSafeHwnd(), url_, GetClientRect(), kToolId);
}

bool CHyperLink::PreTranslateMessage(MSG* message) {
  tooltip_.RelayEvent(message);
  return Window::PreTranslateMessage(message);
}

HBRUSH CHyperLink::CtlColor(HDC dc, UINT) {
  COLORREF colour = kLinkText;
  if (hover_ && (flags_ & kHoverColour)) {
    colour = kHoverText;
  } else if (active_ && !(flags_ & kNoActiveColour)) {
    colour = kActiveText;
  } else if (visited_) {
    colour = kVisitedText;
  }
  SetTextColor(dc, colour);
  SetBkMode(dc, TRANSPARENT);
  return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
}

void CHyperLink::FitWindowToText() {
  if (!(flags_ & kFitToText)) return;
  HWND hwnd = GetSafeHwnd();
  HWND parent = GetParent(hwnd);
  RECT window = {}, client = GetClientRect();
  GetWindowRect(hwnd, &window);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&window), 2);

  ClientDC dc(hwnd);
  HGDIOBJ previous = dc.SelectObject(font_.GetSafeHandle());
  const SIZE text = dc.GetTextExtent(GetWindowText());
  dc.SelectObject(previous);

  // The text's rectangle in the old client area; centred images keep the height.
  const LONG style = GetWindowLongA(hwnd, GWL_STYLE);
  const int client_width = client.right, client_height = client.bottom;
  RECT fitted = {0, 0, text.cx, (style & SS_CENTERIMAGE) ? client_height : text.cy};
  const int kind = style & SS_TYPEMASK;
  if (kind == SS_CENTER) {
    fitted.left = (client_width - text.cx) / 2;
  } else if (kind == SS_RIGHT) {
    fitted.left = client_width - text.cx;
  }
  fitted.right = fitted.left + text.cx;

  // The border stays around it.
  const int border_x = (window.right - window.left) - client_width;
  const int border_y = (window.bottom - window.top) - client_height;
  MoveWindow(hwnd, window.left + fitted.left, window.top + fitted.top, fitted.right - fitted.left + border_x,
             fitted.bottom - fitted.top + border_y, TRUE);
}

void CHyperLink::LoadLinkCursor() {
  if (gLinkCursor) return;
  char folder[MAX_PATH] = {};
  if (!GetWindowsDirectoryA(folder, MAX_PATH)) return;
  const std::string path = std::string(folder) + "\\winhlp32.exe";
  // Only its resources are wanted: it is mapped as data, never started.
  HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!module) return;
  HCURSOR cursor = LoadCursorA(module, MAKEINTRESOURCEA(kLinkCursorId));
  if (cursor) gLinkCursor = CopyIcon(cursor);
  FreeLibrary(module);
}

LONG CHyperLink::ReadRegistryDefault(HKEY key, const std::string& sub_key, char text[MAX_PATH]) {
  HKEY opened = nullptr;
  LONG result = RegOpenKeyExA(key, sub_key.c_str(), 0, KEY_QUERY_VALUE, &opened);
  if (result != ERROR_SUCCESS) return result;
  DWORD size = MAX_PATH;
  DWORD type = 0;
  result = RegQueryValueExA(opened, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(text), &size);
  if (result == ERROR_SUCCESS) text[size < MAX_PATH ? size : MAX_PATH - 1] = '\0';
  RegCloseKey(opened);
  return result;
}

INT_PTR CHyperLink::OpenLinkTarget(const std::string& target, int show) {
  const INT_PTR opened =
      reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "open", target.c_str(), nullptr, nullptr, show));
  if (opened > 32) return opened;
  char page_class[MAX_PATH] = {};
  char command[MAX_PATH] = {};
  if (ReadRegistryDefault(HKEY_CLASSES_ROOT, ".htm", page_class) != ERROR_SUCCESS) return opened;
  if (ReadRegistryDefault(HKEY_CLASSES_ROOT, std::string(page_class) + "\\shell\\open\\command", command) !=
      ERROR_SUCCESS)
    return opened;
  return WinExec(LinkCommandLine(command, target).c_str(), static_cast<UINT>(show));
}

void CHyperLink::FollowLink() {
  const INT_PTR result = OpenLinkTarget(url_, SW_SHOW);
  if (result <= 32) {
    MessageBeep(MB_ICONEXCLAMATION);
    ShowLinkError(static_cast<int>(result));
    return;
  }
  visited_ = true;
  Invalidate();
}

void CHyperLink::ShowLinkError(int code) {
  ShowMessageBox(GetSafeHwnd(), LinkErrorText(code), MB_ICONEXCLAMATION);
}

LRESULT CHyperLink::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_SETCURSOR:
      if (!gLinkCursor) return FALSE;
      SetCursor(gLinkCursor);
      return TRUE;
    case WM_NCHITTEST:
      return HTCLIENT;
    case WM_MOUSEMOVE:
      OnMouseMove(POINT{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)});
      break;
    case WM_LBUTTONDOWN:
      OnLButtonDown();
      break;
    case WM_LBUTTONUP:
      OnLButtonUp();
      break;
    case WM_SETFOCUS:
      active_ = true;
      Invalidate();
      break;
    case WM_KILLFOCUS:
      hover_ = false;
      active_ = false;
      Invalidate();
      break;
    case WM_KEYDOWN:
      if (wparam == VK_SPACE) {
        FollowLink();
        return 0;
      }
      break;
  }
  return Default(message, wparam, lparam);
}

void CHyperLink::OnMouseMove(POINT point) {
  if (!hover_) {
    hover_ = true;
    Invalidate();
    SetCapture(GetSafeHwnd());
    return;
  }
  const RECT client = GetClientRect();
  if (!PtInRect(&client, point)) {
    hover_ = false;
    ReleaseCapture();
    Invalidate();
  }
}

void CHyperLink::OnLButtonDown() {
  if (flags_ & kTakeFocus) SetFocus(GetSafeHwnd());
  if (flags_ & kOpenOnButtonDown) FollowLink();
  active_ = true;
}

void CHyperLink::OnLButtonUp() {
  if (active_ && !(flags_ & kOpenOnButtonDown)) FollowLink();
}
