#include "photoapp/views/preview_button.h"

#include <windowsx.h>

#include <optional>

#include "photoapp/views/memory_dc.h"
#include "photoapp/window/dc.h"

namespace {

constexpr COLORREF kBackground = RGB(192, 192, 192);
constexpr COLORREF kLightTile = RGB(240, 240, 240);
constexpr COLORREF kDarkTile = RGB(200, 200, 200);
// Tiles are a twentieth of the client area; 22 of them cover its rounding.
constexpr int kTileDivisor = 20;
constexpr int kTiles = 22;
// Above this many pixels, copying the bitmap takes long enough for a wait cursor.
constexpr long long kSlowCopyPixels = 10000000;
// From this zoom on, a view shows a processed image at its own size.
constexpr double kOwnSizeZoom = 1.04;

}  // namespace

int PreviewButton::LoadIntoView(const std::string& path) {
  const int result = document_.LoadFile(path);
  if (result == kImageOk && HasImage()) FitToView();
  Invalidate();
  return result;
}

// The zoom is the scale the fitted bitmap was made at, so that it agrees with
// what is shown for tall images as well as for wide ones.
void PreviewButton::FitToView() {
  if (!HasImage()) return;
  const RECT client = GetClientRect();
  ImageDocument fitted;
  if (fitted.CopyFrom(document_) != kImageOk || fitted.FitInto(client.right, client.bottom) != kImageOk) return;
  if (!ShowDocument(fitted)) return;
  zoom_ = static_cast<double>(fitted.GetWidth()) / document_.GetWidth();
  SetOffset((client.right - bitmap_width_) / 2, (client.bottom - bitmap_height_) / 2);
}

void PreviewButton::ShowOriginalSize() {
  if (!HasImage()) return;
  zoom_ = 1.0;
  ShowDocument(document_);
  const RECT client = GetClientRect();
  SetOffset((client.right - bitmap_width_) / 2, (client.bottom - bitmap_height_) / 2);
  Invalidate();
}

void PreviewButton::RebuildAtZoom() {
  if (!HasImage()) return;
  ShowScaledInto(static_cast<int>(document_.GetWidth() * zoom_), static_cast<int>(document_.GetHeight() * zoom_));
}

void PreviewButton::RefreshAfterApply() {
  if (HasImage()) {
    if (zoom_ < kOwnSizeZoom) {
      RebuildAtZoom();
    } else {
      ShowDocument(document_);
    }
  }
  Invalidate();
}

void PreviewButton::CenterImage() {
  WaitCursor wait;
  if (!bitmap_.GetSafeHandle()) return;
  const RECT client = GetClientRect();
  SetOffset((client.right - bitmap_width_) / 2, (client.bottom - bitmap_height_) / 2);
  Invalidate();
}

void PreviewButton::ZoomIn() {
  if (!HasImage()) return;
  WaitCursor wait;
  zoom_ *= 1.5;
  if (zoom_ > 1.0) zoom_ = 1.0;
  RebuildAtZoom();
  CenterImage();
}

void PreviewButton::ZoomOut() {
  if (!HasImage()) return;
  WaitCursor wait;
  if (zoom_ > 0.4) zoom_ = zoom_ * 2.0 / 3.0;
  RebuildAtZoom();
  CenterImage();
}

void PreviewButton::SetZoom(double zoom) {
  if (!HasImage()) return;
  zoom_ = zoom;
  RebuildAtZoom();
  CenterImage();
  Invalidate();
}

// The view paints itself in WM_PAINT; the owner-draw call has nothing to add.
void PreviewButton::DrawItem(DRAWITEMSTRUCT*) {}

bool PreviewButton::ShowScaledInto(int width, int height) {
  ImageDocument scaled;
  if (scaled.CopyFrom(document_) != kImageOk || scaled.FitInto(width, height) != kImageOk) return false;
  return ShowDocument(scaled);
}

bool PreviewButton::ShowDocument(ImageDocument& document) {
  Bitmap made;
  if (document.MakeDisplayBitmap(made, nullptr) != kImageOk || !made.GetSafeHandle()) return false;
  bitmap_.Attach(made.Detach());
  bitmap_width_ = document.GetWidth();
  bitmap_height_ = document.GetHeight();
  return true;
}

void PreviewButton::SetOffset(int x, int y) {
  offset_x_ = x;
  offset_y_ = y;
}

LRESULT PreviewButton::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_ERASEBKGND:
      return FALSE;
    case WM_CONTEXTMENU:
      return 0;
    case WM_LBUTTONDOWN:
      OnLButtonDown(GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam));
      break;
    case WM_MOUSEMOVE:
      OnMouseMove(GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam));
      break;
    case WM_LBUTTONUP:
      OnLButtonUp();
      break;
  }
  return Default(message, wparam, lparam);
}

void PreviewButton::OnPaint() {
  PaintDC paint(GetSafeHwnd());
  const RECT client = GetClientRect();
  MemoryDC memory(paint, client);
  memory.FillSolidRect(client, kBackground);
  const int tile_width = client.right / kTileDivisor;
  const int tile_height = client.bottom / kTileDivisor;
  for (int row = 0; row < kTiles; ++row)
    for (int column = 0; column < kTiles; ++column) {
      const RECT tile = {column * tile_width, row * tile_height, (column + 1) * tile_width, (row + 1) * tile_height};
      memory.FillSolidRect(tile, (column + row) % 2 == 0 ? kLightTile : kDarkTile);
    }
  if (!bitmap_.GetSafeHandle()) return;
  std::optional<WaitCursor> wait;
  if (static_cast<long long>(bitmap_width_) * bitmap_height_ > kSlowCopyPixels) wait.emplace();
  CompatibleDC source(memory.GetSafeHdc());
  HGDIOBJ previous = source.SelectObject(bitmap_.GetSafeHandle());
  memory.BitBlt(offset_x_, offset_y_, client.right, client.bottom, source, 0, 0, SRCCOPY);
  source.SelectObject(previous);
}

void PreviewButton::OnLButtonDown(int x, int y) {
  last_x_ = x;
  last_y_ = y;
  dragging_ = true;
  SetCapture(GetSafeHwnd());
}

void PreviewButton::OnMouseMove(int x, int y) {
  if (!dragging_ || !HasImage()) return;
  SetOffset(offset_x_ + x - last_x_, offset_y_ + y - last_y_);
  last_x_ = x;
  last_y_ = y;
  if (linked_) {
    linked_->SetOffset(offset_x_, offset_y_);
    linked_->Invalidate();
  }
  Invalidate();
}

void PreviewButton::OnLButtonUp() {
  dragging_ = false;
  ReleaseCapture();
}
