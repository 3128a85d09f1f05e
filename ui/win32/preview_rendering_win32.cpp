#include "ui/win32/preview_rendering_win32.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "color/color_management.h"
#include "foundation/dialogs/win32/drawing_win32.h"
#include "foundation/round.h"
#include "foundation/system.h"
#include "foundation/win32/global_dib_draw_win32.h"
#include "records/defaults_block.h"
#include "records/host_colour_services.h"
#include "state/data_source_state.h"
#include "state/module_state.h"
#include "ui/monitor_matching.h"

namespace {

constexpr uint8_t kMatchByTransform = 1;
constexpr uint8_t kMatchByHost = 2;

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

// The device context the sections are made for: the main dialog's, or the desktop's.
class ReferenceDc {
 public:
  ReferenceDc() {
    HWND dialog = static_cast<HWND>(gMainDialog);
    window_ = dialog && IsWindow(dialog) ? dialog : GetDesktopWindow();
    dc_ = GetDC(window_);
  }
  ~ReferenceDc() { ReleaseDC(window_, dc_); }
  ReferenceDc(const ReferenceDc&) = delete;
  ReferenceDc& operator=(const ReferenceDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// A 32-bit top-down DIB section.
class Section {
 public:
  Section(HDC dc, int width, int height) {
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    if (width > 0 && height > 0) bitmap_ = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap_) {
      bits_ = static_cast<uint32_t*>(bits);
      width_ = width;
      height_ = height;
    }
  }
  ~Section() {
    if (bitmap_) DeleteObject(bitmap_);
  }
  Section(Section&& other) noexcept { *this = std::move(other); }
  Section& operator=(Section&& other) noexcept {
    std::swap(bitmap_, other.bitmap_);
    std::swap(bits_, other.bits_);
    std::swap(width_, other.width_);
    std::swap(height_, other.height_);
    return *this;
  }
  explicit operator bool() const { return bitmap_ != nullptr; }
  HBITMAP bitmap() const { return bitmap_; }
  uint32_t* bits() const { return bits_; }
  int width() const { return width_; }
  int height() const { return height_; }

 private:
  HBITMAP bitmap_ = nullptr;
  uint32_t* bits_ = nullptr;
  int width_ = 0, height_ = 0;
};

void Mirror(const Section& s, bool flipX, bool flipY) {
  GdiFlush();
  uint32_t* bits = s.bits();
  const int w = s.width(), h = s.height();
  if (flipX) {
    for (int y = 0; y < h; ++y) std::reverse(bits + y * w, bits + (y + 1) * w);
  }
  if (flipY) {
    for (int y = 0; y < h / 2; ++y) std::swap_ranges(bits + y * w, bits + (y + 1) * w, bits + (h - 1 - y) * w);
  }
}

// A quarter turn clockwise: source row i becomes column n - 1 - i.
Section TurnClockwise(HDC dc, const Section& s) {
  Section turned(dc, s.height(), s.width());
  if (!turned) return turned;
  const int w = s.width(), n = s.height();
  for (int i = 0; i < n; ++i) {
    for (int j = 0; j < w; ++j) turned.bits()[j * n + (n - 1 - i)] = s.bits()[i * w + j];
  }
  return turned;
}

// The source stretched to width x height, mirrored, then turned when asked.
Section RenderOriented(const DibHeader* image, const RECT& source, int width, int height, bool flipX, bool flipY,
                       bool swapAxes) {
  ReferenceDc reference;
  Section stretched(reference.get(), width, height);
  if (!stretched) return stretched;
  HDC memory = CreateCompatibleDC(reference.get());
  if (!memory) return Section(reference.get(), 0, 0);
  HGDIOBJ old = SelectObject(memory, stretched.bitmap());
  StretchDibHalftone(image, memory, source, RECT{0, 0, width, height});
  SelectObject(memory, old);
  DeleteDC(memory);
  Mirror(stretched, flipX, flipY);
  return swapAxes ? TurnClockwise(reference.get(), stretched) : std::move(stretched);
}

// Copies the rendered picture into the 32-bit section at (x, y), clipped to the section.
bool CopyIntoSection(const Section& picture, HBITMAP section, uint8_t* bits, int x, int y) {
  DIBSECTION info;
  if (!bits || GetObjectA(section, sizeof info, &info) != sizeof info || info.dsBm.bmBitsPixel != 32) return false;
  const int width = info.dsBm.bmWidth, height = info.dsBm.bmHeight;
  const bool topDown = info.dsBmih.biHeight < 0;
  GdiFlush();
  for (int row = 0; row < picture.height(); ++row) {
    const int ty = y + row;
    if (ty < 0 || ty >= height) continue;
    const int left = std::max(0, x), right = std::min(width, x + picture.width());
    if (left >= right) break;
    uint32_t* target = reinterpret_cast<uint32_t*>(bits) + static_cast<size_t>(topDown ? ty : height - 1 - ty) * width;
    std::memcpy(target + left, picture.bits() + row * picture.width() + (left - x), (right - left) * 4u);
  }
  return true;
}

bool Failed() {
  PlayBeep(0);
  return false;
}

bool DrawIntoWindow(const DibHeader* image, const RECT& source, HWND window, HDC dc, const RECT& destination,
                    bool flipX, bool flipY, bool swapAxes, bool fitted) {
  ReferenceDc reference;
  const RECT canvasRect = {0, 0, Width(destination), Height(destination)};
  Section canvas(reference.get(), canvasRect.right, canvasRect.bottom);
  if (!canvas) return Failed();
  const uint32_t menu = GetSysColor(COLOR_MENU);
  std::fill(canvas.bits(), canvas.bits() + canvas.width() * canvas.height(),
            GetRValue(menu) << 16 | GetGValue(menu) << 8 | GetBValue(menu));
  uint8_t* bits = reinterpret_cast<uint8_t*>(canvas.bits());
  const bool rendered =
      fitted ? RenderImageFitted(image, source, canvas.bitmap(), bits, canvasRect, flipX, flipY, swapAxes)
             : RenderThumbnailFitted(image, source, canvas.bitmap(), bits, canvasRect, flipX, flipY, swapAxes);
  if (!MatchBitmapForMonitor(canvas.bitmap(), bits, canvasRect, window, dc, destination)) {
    DrawBitmapInRect(window, dc, canvas.bitmap(), 0, &destination, SRCCOPY, false);
  }
  return rendered;
}

}  // namespace

void StretchDibHalftone(const DibHeader* image, HDC dc, const RECT& source, const RECT& destination) {
  const int previousMode = SetStretchBltMode(dc, HALFTONE);
  HPALETTE palette = nullptr, oldPalette = nullptr;
  if (Width(source) > Width(destination)) {
    SetBrushOrgEx(dc, 0, 0, nullptr);
    palette = CreateHalftonePalette(dc);
    if (palette) {
      oldPalette = SelectPalette(dc, palette, FALSE);
      RealizePalette(dc);
    }
  }
  GlobalDibDrawInfo info;
  // StretchDIBits takes the source's y from the bottom of the picture, for a
  // top-down image as well.
  const int sourceY = GlobalDibHeight(image) - source.bottom;
  StretchDIBits(dc, destination.left, destination.top, Width(destination), Height(destination), source.left, sourceY,
                Width(source), Height(source), GlobalDibBits(image), GlobalDibBitmapInfo(image, &info),
                DIB_RGB_COLORS, SRCCOPY);
  if (palette) {
    SelectPalette(dc, oldPalette, FALSE);
    DeleteObject(palette);
  }
  SetStretchBltMode(dc, previousMode);
}

bool RenderImageToBitmap(const DibHeader* image, const RECT& source, HBITMAP destination, const RECT& destinationRect,
                         bool flipX, bool flipY, bool swapAxes) {
  const int w = Width(destinationRect), h = Height(destinationRect);
  if (!image || !destination) return false;
  const Section picture = RenderOriented(image, source, swapAxes ? h : w, swapAxes ? w : h, flipX, flipY, swapAxes);
  if (!picture) return false;
  ReferenceDc reference;
  HDC from = CreateCompatibleDC(reference.get());
  HDC to = CreateCompatibleDC(reference.get());
  HGDIOBJ oldFrom = SelectObject(from, picture.bitmap());
  HGDIOBJ oldTo = SelectObject(to, destination);
  const bool copied = BitBlt(to, destinationRect.left, destinationRect.top, w, h, from, 0, 0, SRCCOPY);
  SelectObject(from, oldFrom);
  SelectObject(to, oldTo);
  DeleteDC(from);
  DeleteDC(to);
  return copied;
}

bool RenderImageFitted(const DibHeader* image, const RECT& source, HBITMAP section, uint8_t* bits,
                       const RECT& destination, bool flipX, bool flipY, bool swapAxes) {
  const double sw = Width(source), sh = Height(source), dw = Width(destination), dh = Height(destination);
  if (!image || sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0) return Failed();
  const double scale = swapAxes ? std::max(sw / dh, sh / dw) : std::max(sw / dw, sh / dh);
  const int width = std::max(1, TruncRound(sw / scale)), height = std::max(1, TruncRound(sh / scale));
  const Section picture = RenderOriented(image, source, width, height, flipX, flipY, swapAxes);
  if (!picture) return Failed();
  const int x = destination.left + (Width(destination) - picture.width()) / 2;
  const int y = destination.top + (Height(destination) - picture.height()) / 2;
  return CopyIntoSection(picture, section, bits, x, y) || Failed();
}

bool RenderThumbnailFitted(const DibHeader* image, const RECT& source, HBITMAP section, uint8_t* bits,
                           const RECT& destination, bool flipX, bool flipY, bool swapAxes) {
  const int w = Width(destination), h = Height(destination);
  if (!image || Width(source) <= 0 || Height(source) <= 0 || w <= 0 || h <= 0) return Failed();
  const Section picture = RenderOriented(image, source, swapAxes ? h : w, swapAxes ? w : h, flipX, flipY, swapAxes);
  if (!picture) return Failed();
  return CopyIntoSection(picture, section, bits, destination.left, destination.top) || Failed();
}

bool DrawImageIntoWindow(const DibHeader* image, const RECT& source, HWND window, HDC dc, const RECT& destination,
                         bool flipX, bool flipY, bool swapAxes) {
  return DrawIntoWindow(image, source, window, dc, destination, flipX, flipY, swapAxes, true);
}

bool DrawThumbnailIntoWindow(const DibHeader* image, const RECT& source, HWND window, const RECT& destination,
                             bool flipX, bool flipY, bool swapAxes, bool framed) {
  const bool drawn = DrawIntoWindow(image, source, window, nullptr, destination, flipX, flipY, swapAxes, false);
  if (framed) {
    HDC dc = GetDC(window);
    FrameRect(dc, &destination, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    ReleaseDC(window, dc);
  }
  return drawn;
}

bool MatchBitmapForMonitor(HBITMAP bitmap, uint8_t* bits, const RECT& bitmapRect, HWND window, HDC dc,
                           const RECT& destination) {
  const uint8_t mode = GetDefault(gDefaults, kDefaultMonitorMatchingMode);
  const int32_t width = Width(bitmapRect), height = Height(bitmapRect);
  if (!bits || width <= 0 || height <= 0) return false;
  if (mode == kMatchByHost && gSession && gSession->colourServices.value) {
    HostPixelBlock block = {1, 0, 0, height, width, 3, width * 4, 4, -1, bits + 2, {}};
    HostRect rect = {0, 0, height, width};
    HDC target = dc ? dc : GetDC(window);
    const auto procedure = reinterpret_cast<ColourServicesProc>(gSession->colourServices.value);
    const int16_t answer = procedure(&block, &rect, destination.top, destination.left, target);
    if (!dc) ReleaseDC(window, target);
    return answer == 0;
  }
  if (mode != kMatchByTransform || !gIcmEnabled) return false;
  ColorTransformHandle transform = MonitorTransform(window);
  if (!transform) return false;
  GdiFlush();
  CmsTranslateBitmapBits(transform, bits, kBitmapXrgbQuads, width, height, width * 4, bits, kBitmapXrgbQuads,
                         width * 4);
  DrawBitmapInRect(window, dc, bitmap, 0, &destination, SRCCOPY, false);
  return true;
}
