// A window object over an HWND that the program subclasses: one virtual
// WindowProc instead of message maps, the messages it does not handle going on
// to the window's own procedure. Parents reflect the colour and owner-draw
// messages of their controls to the controls' CtlColor and DrawItem.
#pragma once

#include <windows.h>

#include <string>

// The name of a window class as the program knows it.
struct RuntimeClass {
  const char* class_name;
};

class Window {
 public:
  Window() = default;
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  HWND GetSafeHwnd() const { return hwnd_; }
  // The object attached to the window, or null.
  static Window* FromHandle(HWND hwnd);
  virtual const RuntimeClass* GetRuntimeClass() const;

  // Attaches this object to an existing window: PreSubclassWindow first, then
  // every message runs through WindowProc.
  bool SubclassWindow(HWND hwnd);
  bool SubclassDlgItem(int id, HWND parent);
  HWND UnsubclassWindow();

  // Offered every message of the modal loop whose target is this window or
  // one of its children; true when the message was taken.
  virtual bool PreTranslateMessage(MSG* message);
  // The reflected WM_CTLCOLORSTATIC: a brush to paint with, or null for the
  // parent's default colours.
  virtual HBRUSH CtlColor(HDC dc, UINT control_type);
  // The reflected WM_DRAWITEM of an owner-drawn control.
  virtual void DrawItem(DRAWITEMSTRUCT* item);

  // A parent's handling of its controls' colour and owner-draw messages: true
  // when the control took the message, with the answer for the parent to give.
  static bool ReflectToChild(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* answer);

  RECT GetClientRect() const;
  void Invalidate(bool erase = true);
  std::string GetWindowText() const;
  void SetWindowText(const std::string& text) { ::SetWindowTextA(hwnd_, text.c_str()); }

 protected:
  virtual void PreSubclassWindow();
  virtual LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam);
  // The window's own procedure, from before the subclassing.
  LRESULT Default(UINT message, WPARAM wparam, LPARAM lparam);
  // Binds the object to a window that a dialog procedure was given.
  void Attach(HWND hwnd);
  void Detach();

 private:
  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);

  HWND hwnd_ = nullptr;
  WNDPROC original_ = nullptr;
};
