#include "ui/win32/frame_edit_view_win32.h"

#include "foundation/memory.h"
#include "foundation/win32/global_dib_draw_win32.h"
#include "frames/win32/frame_outline_win32.h"
#include "session/preview_store.h"
#include "ui/main_dialog_support.h"
#include "ui/win32/frame_overlay_win32.h"

bool SetCursorById(uint16_t id) {
  HCURSOR cursor = LoadCursorA(static_cast<HINSTANCE>(GetModuleInstance()), MAKEINTRESOURCEA(id));
  if (cursor) SetCursor(cursor);
  return cursor != nullptr;
}

PreviewEditView::PreviewEditView(HWND dialog, int controlId)
    : dialog_(dialog), controlId_(controlId), control_(GetDlgItem(dialog, controlId)) {}

WinPoint PreviewEditView::ScreenToControl(WinPoint screen) {
  POINT p{screen.x, screen.y};
  ScreenToClient(control_, &p);
  return WinPoint{p.x, p.y};
}

bool PreviewEditView::BeginOutlines() {
  dc_ = GetDC(control_);
  if (!dc_) return false;
  SetFrameLineMode(true);
  BeginXorPen(dc_, CurrentFrameAnimatedStyle());
  return true;
}

void PreviewEditView::InvertOutline(const WinRect& rect) {
  const RECT r{rect.left, rect.top, rect.right, rect.bottom};
  SetFrameDrawStyle(CurrentFrameAnimatedStyle());
  DrawFrameOutline(dc_, &r);
}

void PreviewEditView::EndOutlines() {
  EndXorPen(dc_);
  ReleaseDC(control_, dc_);
  dc_ = nullptr;
  SetFrameLineMode(false);
}

void PreviewEditView::DrawAllFrames() { ::DrawAllFrames(control_, nullptr); }

void PreviewEditView::SetFrameCursor() {
  SendMessageA(dialog_, WM_SETCURSOR, reinterpret_cast<WPARAM>(control_), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
}

WinPoint PreviewEditView::FocusMarkerSize() {
  const SIZE size = FocusMarkerBitmapSize();
  return WinPoint{size.cx, size.cy};
}

void PreviewEditView::InvertFocusMarker(const WinRect& rect) { InvertFocusMarkerAt(dc_, rect.left, rect.top); }

void PreviewEditView::InvertLineMarker(const WinRect& rect) {
  PatBlt(dc_, rect.left, rect.top, RectWidth(rect), RectHeight(rect), DSTINVERT);
}

void PreviewEditView::ShowCursor(uint16_t cursorId) { SetCursorById(cursorId); }

void PreviewEditView::DrawPreviewArea(const WinRect& area) {
  if (gPreviewDib)
    DrawGlobalDibRect(gPreviewDib, dialog_, controlId_, nullptr, RECT{area.left, area.top, area.right, area.bottom},
                      true);
}

void PreviewEditView::RepaintPreview() { InvalidateRect(control_, nullptr, FALSE); }

void PreviewEditView::SampleDensitometerAtCursor() { ::SampleDensitometerAtCursor(); }

// Not built yet: the main window has no navigator.
void PreviewEditView::RepaintNavigator() {}
