// A tooltip control for the tools of one window: the tools' texts show when
// the mouse rests on them, as long as their mouse messages are relayed.
#pragma once

#include <windows.h>

#include <string>

class ToolTip {
 public:
  ToolTip() = default;
  ~ToolTip();
  ToolTip(const ToolTip&) = delete;
  ToolTip& operator=(const ToolTip&) = delete;

  bool Create(HWND parent);
  // A tool over the rectangle of the window's client area.
  bool AddTool(HWND window, const std::string& text, const RECT& rect, UINT id);
  void RelayEvent(MSG* message);
  HWND GetSafeHwnd() const { return hwnd_; }

 private:
  HWND hwnd_ = nullptr;
};
