// CreateDisplayBitmap under Wine's gdi32: the bitmap holds the pixels, as a
// device-dependent bitmap and as a DIB section.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <vector>

#include "imagelib/display_bitmap.h"
#include "imagelib/imagelib.h"
#include "imagelib/library_context.h"

namespace {

using Bytes = std::vector<uint8_t>;

constexpr int kWidth = 7;
constexpr int kHeight = 5;

Bytes Pixels() {
  Bytes rgb;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x)
      rgb.insert(rgb.end(), {static_cast<uint8_t>(x * 36), static_cast<uint8_t>(y * 60 + 5),
                             static_cast<uint8_t>(200 - x * 10 - y * 7)});
  return rgb;
}

// The bitmap's pixels as top-down R, G, B, through a 24-bit GetDIBits.
Bytes BitmapPixels(HBITMAP bitmap, int width, int height) {
  BITMAPINFO info = {};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  const int stride = (width * 3 + 3) & ~3;
  Bytes bits(static_cast<size_t>(stride) * height);
  HDC screen = GetDC(nullptr);
  const int rows = GetDIBits(screen, bitmap, 0, height, bits.data(), &info, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(rows, height);
  Bytes rgb;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const uint8_t* p = &bits[static_cast<size_t>(y) * stride + x * 3];
      rgb.insert(rgb.end(), {p[2], p[1], p[0]});
    }
  return rgb;
}

TEST(DisplayBitmap, HoldsThePixelsAsADeviceBitmapAndAsADibSection) {
  const Bytes pixels = Pixels();
  for (int section : {0, 1}) {
    SCOPED_TRACE(section ? "DIB section" : "device-dependent bitmap");
    imagelib::GetContext()->dib_section = section;
    HBITMAP bitmap = CreateDisplayBitmap(pixels.data(), kWidth, kHeight, nullptr, nullptr);
    ASSERT_NE(bitmap, nullptr) << "error " << GetLastImageError();
    EXPECT_EQ(GetLastImageError(), kImageOk);
    DIBSECTION dib = {};
    const int described = GetObject(bitmap, sizeof dib, &dib);
    EXPECT_EQ(described == sizeof dib, section == 1) << "GetObject answered " << described;
    EXPECT_EQ(BitmapPixels(bitmap, kWidth, kHeight), pixels);
    DeleteObject(bitmap);
  }
  imagelib::GetContext()->dib_section = 0;
}

TEST(DisplayBitmap, TakesTheGivenDeviceAndPalette) {
  const Bytes pixels = Pixels();
  // A window's context: a memory context would make bitmaps of its own 1 x 1 monochrome one.
  HDC window = GetDC(GetDesktopWindow());
  struct {
    WORD version, entries;
    PALETTEENTRY colors[2];
  } logical = {0x300, 2, {{0, 0, 0, 0}, {255, 255, 255, 0}}};
  HPALETTE palette = CreatePalette(reinterpret_cast<LOGPALETTE*>(&logical));
  HPALETTE before = static_cast<HPALETTE>(GetCurrentObject(window, OBJ_PAL));
  HBITMAP bitmap = CreateDisplayBitmap(pixels.data(), kWidth, kHeight, palette, window);
  ASSERT_NE(bitmap, nullptr) << "error " << GetLastImageError();
  EXPECT_EQ(GetCurrentObject(window, OBJ_PAL), before) << "the device's own palette comes back";
  EXPECT_EQ(BitmapPixels(bitmap, kWidth, kHeight), pixels);
  DeleteObject(bitmap);
  DeleteObject(palette);
  ReleaseDC(GetDesktopWindow(), window);
}

TEST(DisplayBitmap, RefusesNullPixelsAndAnEmptySizeWith5) {
  const Bytes pixels = Pixels();
  EXPECT_EQ(CreateDisplayBitmap(nullptr, kWidth, kHeight, nullptr, nullptr), nullptr);
  EXPECT_EQ(GetLastImageError(), kImageBadArgument);
  EXPECT_EQ(CreateDisplayBitmap(pixels.data(), 0, kHeight, nullptr, nullptr), nullptr);
  EXPECT_EQ(GetLastImageError(), kImageBadArgument);
  EXPECT_EQ(imagelib::GetContext()->depth, 0);
}

}  // namespace
