#include "ui/progress_panes.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "foundation/memory.h"
#include "frames/orientation/orient_image_block.h"
#include "records/defaults_block.h"
#include "state/data_source_state.h"
#include "state/module_state.h"
#include "tone/gamma_tables.h"
#include "ui/progress_pane_platform.h"

PreviewPaneStack gPreviewPanes = {};

namespace {

int32_t Width(const WinRect& r) { return r.right - r.left; }
int32_t Height(const WinRect& r) { return r.bottom - r.top; }

// Bytes per pixel of the large copy: the current image's samples and sample size.
int32_t LargePixelBytes() {
  const bool rgb = gSession && gSession->planes == 3;
  const bool sixteen = gSession && gSession->depth == 16;
  return (rgb ? 3 : 1) * (sixteen ? 2 : 1);
}

bool OneBitImage() { return gSession && gSession->depth == 1; }

int64_t Product(int32_t width, int32_t height, int32_t d) { return int64_t{width / d} * (height / d); }

void FreeCopy(PaneCopy* copy) {
  if (copy->image) {
    FreeGlobalDib(copy->image);
  } else {
    FreeBlock(copy->pixels);
  }
  *copy = PaneCopy{};
}

// Rows of the given format, one after the other.
int32_t RowBytes(int32_t width, int32_t rowFormat) {
  return rowFormat == kPaneRows1Bit ? (width + 7) / 8 : width * rowFormat;
}

int32_t PlaneCount(int32_t rowFormat) { return rowFormat == kPaneRowsRgb8 || rowFormat == kPaneRowsRgb16 ? 3 : 1; }
bool Sixteen(int32_t rowFormat) { return rowFormat == kPaneRowsGrey16 || rowFormat == kPaneRowsRgb16; }

// Sample x of a plane as 16 bits (8-bit samples in the high byte) or 8 bits.
struct RowReader {
  const uint8_t* row;
  int32_t width;
  int32_t planes;
  bool sixteen;
  uint16_t Sample(int32_t plane, int32_t x) const {
    const int32_t p = std::min(plane, planes - 1);  // one-plane rows answer every plane
    if (sixteen) {
      uint16_t v;
      std::memcpy(&v, row + (static_cast<size_t>(p) * width + x) * 2, 2);
      return v;
    }
    return row[static_cast<size_t>(p) * width + x];
  }
};

// The planes a view shows, in the order the large copy keeps them; -1 ends.
void LargeViewPlanes(int32_t view, int planes[3]) {
  switch (view) {
    case kPaneViewRed: case kPaneViewGrey: planes[0] = 0; planes[1] = planes[2] = -1; break;
    case kPaneViewGreen: planes[0] = 1; planes[1] = planes[2] = -1; break;
    case kPaneViewBlue: planes[0] = 2; planes[1] = planes[2] = -1; break;
    case kPaneViewSwapFirstTwo: planes[0] = 1; planes[1] = 0; planes[2] = 2; break;
    default: planes[0] = 0; planes[1] = 1; planes[2] = 2; break;
  }
}

void TakeLargeRow(const PaneCopy& copy, const RowReader& in, uint8_t* out, int32_t view, bool invert) {
  int planes[3];
  LargeViewPlanes(view, planes);
  const int32_t sampleBytes = in.sixteen ? 2 : 1;
  const int32_t fit = copy.pixelBytes / sampleBytes;  // samples a pixel of the copy holds
  for (int32_t c = 0; c < Width(copy.rect); ++c) {
    uint8_t* pixel = out + static_cast<size_t>(c) * copy.pixelBytes;
    for (int s = 0; s < 3 && s < fit && planes[s] >= 0; ++s) {
      uint16_t v = in.Sample(planes[s], c * copy.divisor);
      if (invert) v = static_cast<uint16_t>(in.sixteen ? 65535 - v : 255 - v);
      if (in.sixteen) {
        std::memcpy(pixel + 2 * s, &v, 2);
      } else {
        pixel[s] = static_cast<uint8_t>(v);
      }
    }
  }
}

void TakeSmallRow(const PaneCopy& copy, const RowReader& in, int32_t rowFormat, uint8_t* out, int32_t view,
                  bool invert) {
  for (int32_t c = 0; c < Width(copy.rect); ++c) {
    const int32_t x = c * copy.divisor;
    uint8_t rgb[3];
    if (rowFormat == kPaneRows1Bit) {
      const bool set = (in.row[x / 8] >> (x & 7)) & 1;
      rgb[0] = rgb[1] = rgb[2] = set != invert ? 0 : 255;
    } else {
      uint8_t plane[3];
      for (int p = 0; p < 3; ++p) {
        const uint16_t v = in.Sample(p, x);
        plane[p] = static_cast<uint8_t>(in.sixteen ? v >> 8 : v);
      }
      switch (view) {
        case kPaneViewRed: rgb[0] = plane[0]; rgb[1] = rgb[2] = 0; break;
        case kPaneViewGreen: rgb[1] = plane[1]; rgb[0] = rgb[2] = 0; break;
        case kPaneViewBlue: rgb[2] = plane[2]; rgb[0] = rgb[1] = 0; break;
        case kPaneViewGrey: rgb[0] = rgb[1] = rgb[2] = plane[0]; break;
        case kPaneViewSwapFirstTwo: rgb[0] = plane[1]; rgb[1] = plane[0]; rgb[2] = plane[2]; break;
        default: std::memcpy(rgb, plane, 3); break;
      }
      if (invert)
        for (uint8_t& v : rgb) v = static_cast<uint8_t>(255 - v);
    }
    uint8_t* pixel = out + static_cast<size_t>(c) * 4;
    pixel[0] = rgb[2];
    pixel[1] = rgb[1];
    pixel[2] = rgb[0];
    pixel[3] = 0;
  }
}

// The display curve of 16-bit work: the current gamma as a byte table.
void BuildDisplayCurve(uint8_t curve[256]) {
  uint16_t table[256];
  BuildGammaTableForMode(table, 256, CurrentGamma(), 0, 1, gCurrentFrame);
  for (int i = 0; i < 256; ++i) curve[i] = static_cast<uint8_t>(std::min<uint16_t>(table[i], 255));
}

bool UsesDisplayCurve(int32_t rowFormat) {
  return Sixteen(rowFormat) && gSixteenBitColorOption && GetDefault(gDefaults, kDefaultZirOutputReduction) == 0;
}

// The copy's rows taken from one band; true when any was.
bool TakeBand(const PaneCopy& copy, bool small, const uint8_t* rows, int32_t first, int32_t count, int32_t width,
              int32_t rowFormat, int32_t view, bool invert, const uint8_t* curve) {
  if (!copy.pixels || copy.divisor < 1) return false;
  if (!small && rowFormat == kPaneRows1Bit) return false;
  const int32_t d = copy.divisor;
  const int32_t rowBytes = RowBytes(width, rowFormat);
  const int32_t copyRowBytes = Width(copy.rect) * copy.pixelBytes;
  int32_t r = (first + d - 1) / d;
  bool taken = false;
  for (int32_t j = d * r - first; j < count && r < Height(copy.rect); j += d, ++r) {
    const RowReader in = {rows + static_cast<size_t>(j) * rowBytes, width, PlaneCount(rowFormat), Sixteen(rowFormat)};
    uint8_t* out = copy.pixels + static_cast<size_t>(r) * copyRowBytes;
    if (small) {
      TakeSmallRow(copy, in, rowFormat, out, view, invert);
      if (curve)
        for (int32_t i = 0; i < copyRowBytes; ++i)
          if ((i & 3) != 3) out[i] = curve[out[i]];
    } else {
      TakeLargeRow(copy, in, out, view, invert);
    }
    taken = true;
  }
  return taken;
}

}  // namespace

void ChoosePaneSubsampling(int32_t width, int32_t height, bool swapAxes, bool wanted, bool large, int16_t* divisor,
                           WinRect* rect, void** buffer) {
  *divisor = 0;
  *rect = WinRect{};
  *buffer = nullptr;
  if (width < 1 || height < 1) return;
  if (large && !(wanted && int64_t{width} * height >= kLargeCopyMinPixels && !OneBitImage())) return;
  const int32_t b = large ? LargePixelBytes() : 4;
  const int64_t limit = large ? kLargeCopyPixelLimit : kSmallCopyPixelLimit;
  const WinRect& pane = gPreviewPanes.entries[gPreviewPanes.top].paneRect;
  const int32_t boundW = large ? INT32_MAX : 2 * Width(pane);
  const int32_t boundH = large ? INT32_MAX : 2 * Height(pane);
  const int32_t across = swapAxes ? height : width, down = swapAxes ? width : height;
  const int32_t widest = kPaneRowByteLimit / b;
  int32_t d = 1;
  for (;; ++d) {
    const int32_t cw = across / d, ch = down / d;
    if (int64_t{cw} * ch <= limit && cw <= widest && cw <= boundW && ch <= boundH) break;
  }
  // The divisor below may come nearer the limit, even above it, but its rows
  // must still fit a pane row.
  if (d > 1 && std::llabs(limit - Product(width, height, d - 1)) < std::llabs(limit - Product(width, height, d)) &&
      across / (d - 1) <= widest) {
    --d;
  }
  if (large && d < 2) return;
  *divisor = static_cast<int16_t>(std::min<int32_t>(d, INT16_MAX));
  *rect = WinRect{0, 0, std::max(1, width / d), std::max(1, height / d)};
  if (large) {
    *buffer = AllocBlock(static_cast<uint32_t>(Width(*rect)) * static_cast<uint32_t>(Height(*rect)) * b);
  } else if (GlobalDib image = CreateGlobalDib(Height(*rect), Width(*rect), 32, true)) {
    FillGlobalDib(image, PanePaleFaceColour());
    *buffer = image;
  }
  if (!*buffer) *rect = WinRect{};
}

int32_t PushProgressPreviewPane(int32_t width, int32_t height, bool swapAxes, bool keepLarge) {
  if (gPreviewPanes.top < kMaxPreviewPanes) {
    ++gPreviewPanes.top;
  }
  PreviewPane& pane = gPreviewPanes.entries[gPreviewPanes.top];
  // A reused tenth entry gives up the copies of the pane it held.
  FreeCopy(&pane.small);
  FreeCopy(&pane.large);
  WinRect area;
  WindowHandle control;
  if (ProgressPictureArea(&area, &control)) {
    pane.paneRect = area;
    pane.control = control;
  }
  void* large = nullptr;
  ChoosePaneSubsampling(width, height, swapAxes, keepLarge, true, &pane.large.divisor, &pane.large.rect, &large);
  pane.large.pixels = static_cast<uint8_t*>(large);
  pane.large.pixelBytes = pane.large.pixels ? LargePixelBytes() : 0;
  void* small = nullptr;
  ChoosePaneSubsampling(width, height, swapAxes, true, false, &pane.small.divisor, &pane.small.rect, &small);
  pane.small.image = static_cast<GlobalDib>(small);
  pane.small.pixels = small ? GlobalDibBits(pane.small.image) : nullptr;
  pane.small.pixelBytes = 4;
  return pane.small.pixels ? 0 : kPaneNoMemory;
}

bool DrawRowsIntoProgressPane(const uint8_t* rows, int32_t first, int32_t count, int32_t width, int32_t rowFormat,
                              int32_t channelView, bool invert, bool flipX, bool flipY, bool swapAxes) {
  if (gPreviewPanes.top < 1 || !rows) return false;
  const PreviewPane& pane = gPreviewPanes.entries[gPreviewPanes.top];
  WinRect area;
  WindowHandle control;
  const bool window = ProgressPictureArea(&area, &control);
  if (first == 0 && window) ClearPaneArea(pane);
  uint8_t curve[256];
  const bool curved = UsesDisplayCurve(rowFormat);
  if (curved) BuildDisplayCurve(curve);
  const bool large =
      TakeBand(pane.large, false, rows, first, count, width, rowFormat, channelView, invert, nullptr);
  const bool small = TakeBand(pane.small, true, rows, first, count, width, rowFormat, channelView, invert,
                              curved ? curve : nullptr);
  if ((large || small) && window) return ShowPaneCopy(pane, flipX, flipY, swapAxes);
  return large || small;
}

int32_t PopProgressPreviewPane(bool flipX, bool flipY, bool swapAxes, WinRect* largeRect, uint8_t** largeBlock,
                               void** smallBitmap, WinRect* smallRect, uint8_t** smallBits) {
  if (gPreviewPanes.top < 1) return 0;
  PreviewPane& pane = gPreviewPanes.entries[gPreviewPanes.top];
  const auto handedRect = [swapAxes](const PaneCopy& copy) {
    if (!copy.pixels) return WinRect{};
    const int32_t w = Width(copy.rect), h = Height(copy.rect);
    return swapAxes ? WinRect{0, 0, h, w} : WinRect{0, 0, w, h};
  };
  if (largeBlock) {
    *largeBlock = nullptr;
    if (largeRect) *largeRect = handedRect(pane.large);
    const PaneCopy& copy = pane.large;
    const uint32_t bytes = copy.pixels ? static_cast<uint32_t>(Width(copy.rect) * Height(copy.rect) * copy.pixelBytes) : 0;
    uint8_t* block = bytes ? static_cast<uint8_t*>(AllocBlock(bytes)) : nullptr;
    if (block && OrientImageBlock(copy.pixels, block, Height(copy.rect), Width(copy.rect), 8 * copy.pixelBytes, flipX,
                                  flipY, swapAxes, true, 0)) {
      *largeBlock = block;
    } else {
      FreeBlock(block);
      if (largeRect) *largeRect = WinRect{};
    }
  }
  if (smallBitmap) {
    uint8_t* bits = nullptr;
    *smallBitmap = pane.small.pixels ? SmallCopyBitmap(pane, flipX, flipY, swapAxes, &bits) : nullptr;
    if (smallRect) *smallRect = *smallBitmap ? handedRect(pane.small) : WinRect{};
    if (smallBits) *smallBits = bits;
  }
  FreeCopy(&pane.small);
  FreeCopy(&pane.large);
  gPreviewPanes.top = static_cast<int16_t>(std::max(0, gPreviewPanes.top - 1));
  return 0;
}
