#include "photoapp/window/window.h"

namespace {

// The property under which a window keeps its object.
const char kObjectProperty[] = "PhotoRefiner.Window";
const RuntimeClass kWindowClass = {"Window"};

}  // namespace

Window::~Window() {
  if (original_) {
    UnsubclassWindow();
  } else if (hwnd_) {
    Detach();
  }
}

Window* Window::FromHandle(HWND hwnd) {
  return hwnd ? static_cast<Window*>(GetPropA(hwnd, kObjectProperty)) : nullptr;
}

const RuntimeClass* Window::GetRuntimeClass() const { return &kWindowClass; }

void Window::Attach(HWND hwnd) {
  hwnd_ = hwnd;
  SetPropA(hwnd, kObjectProperty, this);
}

void Window::Detach() {
  if (hwnd_ && IsWindow(hwnd_)) RemovePropA(hwnd_, kObjectProperty);
  hwnd_ = nullptr;
}

bool Window::SubclassWindow(HWND hwnd) {
  if (!hwnd || hwnd_ || FromHandle(hwnd)) return false;
  Attach(hwnd);
  PreSubclassWindow();
  original_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Window::SubclassProc)));
  return true;
}

bool Window::SubclassDlgItem(int id, HWND parent) { return SubclassWindow(GetDlgItem(parent, id)); }

HWND Window::UnsubclassWindow() {
  HWND hwnd = hwnd_;
  if (original_ && IsWindow(hwnd)) SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
  original_ = nullptr;
  Detach();
  return hwnd;
}

bool Window::PreTranslateMessage(MSG*) { return false; }

HBRUSH Window::CtlColor(HDC, UINT) { return nullptr; }

void Window::DrawItem(DRAWITEMSTRUCT*) {}

void Window::PreSubclassWindow() {}

bool Window::ReflectToChild(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* answer) {
  if (message == WM_CTLCOLORSTATIC) {
    Window* control = FromHandle(reinterpret_cast<HWND>(lparam));
    HBRUSH brush = control ? control->CtlColor(reinterpret_cast<HDC>(wparam), CTLCOLOR_STATIC) : nullptr;
    if (!brush) return false;
    *answer = reinterpret_cast<LRESULT>(brush);
    return true;
  }
  if (message == WM_DRAWITEM) {
    auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lparam);
    Window* control = item ? FromHandle(item->hwndItem) : nullptr;
    if (!control) return false;
    control->DrawItem(item);
    *answer = TRUE;
    return true;
  }
  return false;
}

RECT Window::GetClientRect() const {
  RECT rect = {};
  ::GetClientRect(hwnd_, &rect);
  return rect;
}

void Window::Invalidate(bool erase) { InvalidateRect(hwnd_, nullptr, erase); }

std::string Window::GetWindowText() const {
  const int length = GetWindowTextLengthA(hwnd_);
  std::string text(static_cast<size_t>(length) + 1, '\0');
  text.resize(static_cast<size_t>(::GetWindowTextA(hwnd_, &text[0], length + 1)));
  return text;
}

LRESULT Window::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) { return Default(message, wparam, lparam); }

LRESULT Window::Default(UINT message, WPARAM wparam, LPARAM lparam) {
  if (!original_) return 0;
  return CallWindowProcA(original_, hwnd_, message, wparam, lparam);
}

LRESULT CALLBACK Window::SubclassProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  Window* window = FromHandle(hwnd);
  if (!window) return DefWindowProcA(hwnd, message, wparam, lparam);
  if (message == WM_NCDESTROY) {
    // The window goes: hand it back to its own procedure and let go of it.
    WNDPROC original = window->original_;
    window->UnsubclassWindow();
    return CallWindowProcA(original, hwnd, message, wparam, lparam);
  }
  return window->WindowProc(message, wparam, lparam);
}
