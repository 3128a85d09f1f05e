#include "foundation/dialogs/win32/drawing_win32.h"

#include <cstring>

#include "foundation/dialogs/win32/dialog_items_win32.h"
#include "foundation/memory.h"

namespace {

HINSTANCE ResourceModule() {
  HINSTANCE module = static_cast<HINSTANCE>(GetModuleInstance());
  return module ? module : GetModuleHandleA(nullptr);
}

// A device context of the window for the length of one drawing: the given
// one, else the window's own, released at the end.
class WindowDc {
 public:
  WindowDc(HWND window, HDC given) : window_(window), dc_(given), owned_(given == nullptr) {
    if (owned_) dc_ = GetDC(window);
  }
  ~WindowDc() {
    if (owned_ && dc_) ReleaseDC(window_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
  bool owned_;
};

HBITMAP LoadBitmapById(uint32_t id, bool asImage) {
  return static_cast<HBITMAP>(LoadImageA(ResourceModule(), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0,
                                         asImage ? LR_CREATEDIBSECTION : 0));
}

void Line(HDC dc, int x1, int y1, int x2, int y2) {
  MoveToEx(dc, x1, y1, nullptr);
  LineTo(dc, x2, y2);
}

}  // namespace

void FrameItemRect(HWND dialog, int item, const RECT& rect) {
  HWND window = ItemOrDialog(dialog, item);
  if (!window) return;
  WindowDc dc(window, nullptr);
  FrameRect(dc.get(), &rect, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

void DrawSunkenFrame(HWND dialog, int item, int left, int top, int right, int bottom) {
  HWND window = ItemOrDialog(dialog, item);
  if (!window) return;
  WindowDc dc(window, nullptr);
  HPEN shadow = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW));
  HGDIOBJ oldPen = SelectObject(dc.get(), shadow);
  Line(dc.get(), left, bottom - 1, left, top);
  Line(dc.get(), left, top, right - 1, top);
  SelectObject(dc.get(), GetStockObject(WHITE_PEN));
  Line(dc.get(), right - 1, top, right - 1, bottom - 1);
  Line(dc.get(), right - 1, bottom - 1, left - 1, bottom - 1);
  SelectObject(dc.get(), oldPen);
  DeleteObject(shadow);
}

void DrawInvertedRect(HWND dialog, int item, int left, int top, int right, int bottom) {
  HWND window = ItemOrDialog(dialog, item);
  if (!window) return;
  WindowDc dc(window, nullptr);
  int oldMode = SetROP2(dc.get(), R2_NOT);
  HGDIOBJ oldBrush = SelectObject(dc.get(), GetStockObject(NULL_BRUSH));
  Rectangle(dc.get(), left, top, right, bottom);
  SelectObject(dc.get(), oldBrush);
  SetROP2(dc.get(), oldMode);
}

void FillItemRect(HWND dialog, int item, HDC given, const RECT* rect, COLORREF colour) {
  HWND window = ItemOrDialog(dialog, item);
  if (!window) return;
  RECT area;
  if (rect) {
    area = *rect;
  } else {
    GetClientRect(window, &area);
  }
  WindowDc dc(window, given);
  HBRUSH brush = CreateSolidBrush(colour);
  FillRect(dc.get(), &area, brush);
  DeleteObject(brush);
}

void DrawTextInBox(HWND window, const char* text, int x, int y, int width, int height, HFONT font, HDC given,
                   UINT format) {
  WindowDc dc(window, given);
  RECT box{x, y, x + width, y + height};
  HGDIOBJ oldFont = font ? SelectObject(dc.get(), font) : nullptr;
  int oldMode = SetBkMode(dc.get(), TRANSPARENT);
  DrawTextA(dc.get(), text, -1, &box, format | DT_SINGLELINE | DT_NOCLIP);
  SetBkMode(dc.get(), oldMode);
  if (oldFont) SelectObject(dc.get(), oldFont);
}

void DrawBitmapPart(HWND window, HDC given, HBITMAP bitmap, uint32_t bitmapId, const RECT* rect, int sourceX,
                    int sourceY, DWORD rasterOperation, bool asImage) {
  HBITMAP loaded = bitmap ? nullptr : LoadBitmapById(bitmapId, asImage);
  HBITMAP drawn = bitmap ? bitmap : loaded;
  if (!drawn) return;
  RECT area;
  if (rect) {
    area = *rect;
  } else {
    GetClientRect(window, &area);
  }
  WindowDc dc(window, given);
  HDC memory = CreateCompatibleDC(dc.get());
  HGDIOBJ old = SelectObject(memory, drawn);
  BitBlt(dc.get(), area.left, area.top, area.right - area.left, area.bottom - area.top, memory, sourceX, sourceY,
         rasterOperation);
  SelectObject(memory, old);
  DeleteDC(memory);
  if (loaded) DeleteObject(loaded);
}

void DrawBitmapInRect(HWND window, HDC dc, HBITMAP bitmap, uint32_t bitmapId, const RECT* rect,
                      DWORD rasterOperation, bool asImage) {
  DrawBitmapPart(window, dc, bitmap, bitmapId, rect, 0, 0, rasterOperation, asImage);
}

void DrawMaskedBitmap(HWND window, HBITMAP bitmap, uint32_t bitmapId, const RECT* rect, uint32_t maskId,
                      HBITMAP mask) {
  HBITMAP loaded = bitmap ? nullptr : LoadBitmapById(bitmapId, false);
  HBITMAP image = bitmap ? bitmap : loaded;
  if (maskId != 0) mask = LoadBitmapById(maskId, false);
  BITMAP size;
  if (image && mask && GetObjectA(image, sizeof size, &size)) {
    RECT area;
    if (rect) {
      area = *rect;
    } else {
      GetClientRect(window, &area);
    }
    int width = size.bmWidth;
    int height = size.bmHeight;
    WindowDc dc(window, nullptr);
    HDC imageDc = CreateCompatibleDC(dc.get());
    HDC maskDc = CreateCompatibleDC(dc.get());
    HDC workDc = CreateCompatibleDC(dc.get());
    HDC keptDc = CreateCompatibleDC(dc.get());
    HBITMAP inverted = CreateBitmap(width, height, 1, 1, nullptr);
    HBITMAP work = CreateCompatibleBitmap(dc.get(), width, height);
    HBITMAP kept = CreateCompatibleBitmap(dc.get(), width, height);
    HGDIOBJ oldImage = SelectObject(imageDc, image);
    HGDIOBJ oldMask = SelectObject(maskDc, mask);
    HGDIOBJ oldWork = SelectObject(workDc, work);
    HGDIOBJ oldKept = SelectObject(keptDc, kept);
    // 1. Keep a copy of the bitmap, which the AND below changes.
    BitBlt(keptDc, 0, 0, width, height, imageDc, 0, 0, SRCCOPY);
    // 2. The inverted mask.
    HDC invertedDc = CreateCompatibleDC(dc.get());
    HGDIOBJ oldInverted = SelectObject(invertedDc, inverted);
    BitBlt(invertedDc, 0, 0, width, height, maskDc, 0, 0, NOTSRCCOPY);
    // 3. The background, holed where the bitmap goes.
    BitBlt(workDc, 0, 0, width, height, dc.get(), area.left, area.top, SRCCOPY);
    BitBlt(workDc, 0, 0, width, height, maskDc, 0, 0, SRCAND);
    // 4. The bitmap outside the mask's holes, put into the holes.
    BitBlt(imageDc, 0, 0, width, height, invertedDc, 0, 0, SRCAND);
    BitBlt(workDc, 0, 0, width, height, imageDc, 0, 0, SRCPAINT);
    // 5. Onto the window; the bitmap back as it was.
    BitBlt(dc.get(), area.left, area.top, width, height, workDc, 0, 0, SRCCOPY);
    BitBlt(imageDc, 0, 0, width, height, keptDc, 0, 0, SRCCOPY);
    SelectObject(invertedDc, oldInverted);
    SelectObject(keptDc, oldKept);
    SelectObject(workDc, oldWork);
    SelectObject(maskDc, oldMask);
    SelectObject(imageDc, oldImage);
    DeleteDC(invertedDc);
    DeleteDC(keptDc);
    DeleteDC(workDc);
    DeleteDC(maskDc);
    DeleteDC(imageDc);
    DeleteObject(inverted);
    DeleteObject(work);
    DeleteObject(kept);
  }
  if (mask) DeleteObject(mask);
  if (loaded) DeleteObject(loaded);
}
