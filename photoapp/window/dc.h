// Device contexts owned for the time of a paint or a drawing: the few
// operations the photo program's views and controls use.
#pragma once

#include <windows.h>

#include <string>

class Window;

class DC {
 public:
  DC() = default;
  explicit DC(HDC dc) : dc_(dc) {}
  virtual ~DC() = default;
  DC(const DC&) = delete;
  DC& operator=(const DC&) = delete;

  HDC GetSafeHdc() const { return dc_; }
  // A printer's context (set by whoever prints through it).
  bool IsPrinting() const { return printing_; }
  void SetPrinting(bool printing) { printing_ = printing; }

  void FillSolidRect(const RECT& rect, COLORREF color);
  bool BitBlt(int x, int y, int width, int height, const DC& source, int source_x, int source_y, DWORD rop);
  HGDIOBJ SelectObject(HGDIOBJ object) { return ::SelectObject(dc_, object); }
  COLORREF SetTextColor(COLORREF color) { return ::SetTextColor(dc_, color); }
  int SetBkMode(int mode) { return ::SetBkMode(dc_, mode); }
  SIZE GetTextExtent(const std::string& text) const;

 protected:
  HDC dc_ = nullptr;

 private:
  bool printing_ = false;
};

// BeginPaint and EndPaint of a window's WM_PAINT.
class PaintDC : public DC {
 public:
  explicit PaintDC(HWND hwnd) : hwnd_(hwnd) { dc_ = BeginPaint(hwnd, &paint_); }
  ~PaintDC() override { EndPaint(hwnd_, &paint_); }

 private:
  HWND hwnd_;
  PAINTSTRUCT paint_ = {};
};

// A window's client area outside WM_PAINT.
class ClientDC : public DC {
 public:
  explicit ClientDC(HWND hwnd) : hwnd_(hwnd) { dc_ = GetDC(hwnd); }
  ~ClientDC() override { ReleaseDC(hwnd_, dc_); }

 private:
  HWND hwnd_;
};

// A memory context compatible with another (the screen's for null).
class CompatibleDC : public DC {
 public:
  explicit CompatibleDC(HDC other) { dc_ = CreateCompatibleDC(other); }
  ~CompatibleDC() override { DeleteDC(dc_); }
};

// The wait cursor for the time of an operation.
class WaitCursor {
 public:
  WaitCursor() : previous_(SetCursor(LoadCursorA(nullptr, IDC_WAIT))) {}
  ~WaitCursor() { SetCursor(previous_); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  HCURSOR previous_;
};
