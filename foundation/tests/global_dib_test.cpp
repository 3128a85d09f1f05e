#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "foundation/global_dib.h"

namespace {

struct DibDeleter {
  void operator()(DibHeader* dib) const { FreeGlobalDib(dib); }
};
using DibPtr = std::unique_ptr<DibHeader, DibDeleter>;

DibPtr MakeDib(int32_t height, int32_t width, uint16_t bits, bool topDown = true) {
  return DibPtr(CreateGlobalDib(height, width, bits, topDown));
}

uint8_t* Pixel(DibHeader* dib, int32_t x, int32_t y) {
  return GlobalDibBits(dib) + static_cast<uint32_t>(y) * GlobalDibStride(dib) + x * (dib->bitCount / 8u);
}

void SetPixel(DibHeader* dib, int32_t x, int32_t y, uint8_t r, uint8_t g, uint8_t b) {
  uint8_t* p = Pixel(dib, x, y);
  p[0] = b;
  p[1] = g;
  p[2] = r;
}

TEST(GlobalDib, HeaderAndGeometry) {
  struct Case {
    int32_t height, width;
    uint16_t bits;
    bool topDown;
    uint32_t stride, image;
  } cases[] = {
      {10, 3, 24, false, 12, 120},
      {10, 3, 24, true, 12, 120},
      {2, 5, 8, false, 8, 16},
      {4, 7, 32, true, 28, 112},
  };
  for (const Case& c : cases) {
    DibPtr dib = MakeDib(c.height, c.width, c.bits, c.topDown);
    ASSERT_TRUE(dib);
    EXPECT_EQ(GlobalDibStride(dib.get()), c.stride);
    EXPECT_EQ(dib->sizeImage, c.image);
    EXPECT_EQ(dib->size, 40u);
    EXPECT_EQ(dib->planes, 1);
    EXPECT_EQ(dib->colorsUsed, 0u);
    EXPECT_EQ(dib->xPelsPerMeter, 7874);
    EXPECT_EQ(dib->height, c.topDown ? -c.height : c.height);
    EXPECT_EQ(GlobalDibHeight(dib.get()), c.height);
    EXPECT_EQ(GlobalDibBits(dib.get()), reinterpret_cast<uint8_t*>(dib.get()) + 40);
    WinRect r;
    GetGlobalDibRect(&r, dib.get());
    EXPECT_EQ(r.right, c.width);
    EXPECT_EQ(r.bottom, c.height);
  }
  EXPECT_FALSE(MakeDib(10, 3, 16));
  EXPECT_FALSE(MakeDib(0, 3, 24));
  EXPECT_FALSE(MakeDib(70000, 70000, 32));  // the block would not fit 31 bits
}

TEST(GlobalDib, FillAndGradient) {
  DibPtr dib = MakeDib(2, 3, 24);
  FillGlobalDib(dib.get(), 0x000000FF);
  const uint8_t red[3] = {0, 0, 0xFF};
  EXPECT_EQ(std::memcmp(Pixel(dib.get(), 2, 1), red, 3), 0);

  DibPtr ramp = MakeDib(2, 255, 32);
  FillGlobalDibGradient(ramp.get(), 0xFFFFFF, 0, true);
  for (int x = 0; x < 255; ++x)
    for (int i = 0; i < 3; ++i) ASSERT_EQ(Pixel(ramp.get(), x, 1)[i], 255 - x) << x;
  // A channel with equal ends keeps its value; no flag means a plain fill.
  FillGlobalDibGradient(ramp.get(), MakeColorRef(10, 20, 30), MakeColorRef(10, 20, 40), false);
  EXPECT_EQ(Pixel(ramp.get(), 200, 0)[0], 30);
  FillGlobalDibGradient(ramp.get(), MakeColorRef(10, 20, 30), MakeColorRef(10, 20, 40), true);
  EXPECT_EQ(Pixel(ramp.get(), 200, 0)[2], 10);
  EXPECT_EQ(Pixel(ramp.get(), 200, 0)[0], 30 + static_cast<int>(200 / (255.0 / 10)));
}

TEST(GlobalDib, CopyNeedsEqualGeometry) {
  DibPtr a = MakeDib(4, 4, 24), b = MakeDib(4, 4, 24), wide = MakeDib(4, 5, 24);
  FillGlobalDib(a.get(), 0x112233);
  FillGlobalDib(b.get(), 0);
  FillGlobalDib(wide.get(), 0);
  CopyGlobalDib(a.get(), wide.get());
  EXPECT_EQ(Pixel(wide.get(), 0, 0)[0], 0);
  CopyGlobalDibRect(a.get(), b.get(), WinRect{1, 1, 9, 3});
  EXPECT_EQ(Pixel(b.get(), 0, 1)[0], 0);
  EXPECT_EQ(Pixel(b.get(), 3, 2)[0], 0x11);
  EXPECT_EQ(Pixel(b.get(), 3, 3)[0], 0);
  CopyGlobalDib(a.get(), b.get());
  EXPECT_EQ(std::memcmp(GlobalDibBits(a.get()), GlobalDibBits(b.get()), a->sizeImage), 0);
}

TEST(GlobalDib, InvertClipsAtTheRightEdge) {
  DibPtr dib = MakeDib(2, 3, 32);
  FillGlobalDib(dib.get(), 0x000010);
  InvertGlobalDibRect(dib.get(), 1, 0, 50, 1);
  EXPECT_EQ(Pixel(dib.get(), 0, 0)[2], 0x10);
  EXPECT_EQ(Pixel(dib.get(), 1, 0)[2], 0xEF);
  EXPECT_EQ(Pixel(dib.get(), 2, 0)[2], 0xEF);
  EXPECT_EQ(Pixel(dib.get(), 2, 0)[3], 0);  // the fourth byte stays
  EXPECT_EQ(Pixel(dib.get(), 2, 1)[2], 0x10);
  DibPtr grey = MakeDib(2, 3, 8);
  std::memset(GlobalDibBits(grey.get()), 7, grey->sizeImage);
  InvertGlobalDib(grey.get());  // 8 bits: untouched
  EXPECT_EQ(GlobalDibBits(grey.get())[0], 7);
}

TEST(GlobalDib, LutsGreyAndLattice) {
  uint8_t up[256], down[256], zero[256] = {};
  for (int i = 0; i < 256; ++i) up[i] = static_cast<uint8_t>(i / 2), down[i] = static_cast<uint8_t>(255 - i);
  DibPtr dib = MakeDib(1, 2, 24);
  SetPixel(dib.get(), 0, 0, 200, 100, 30);
  ApplyLutsToGlobalDibRect(dib.get(), up, down, zero, 0, 0, 1, 1);
  EXPECT_EQ(Pixel(dib.get(), 0, 0)[2], 100);
  EXPECT_EQ(Pixel(dib.get(), 0, 0)[1], 155);
  EXPECT_EQ(Pixel(dib.get(), 0, 0)[0], 0);

  // With the lattice in use the looked-up colour is replaced by its entry.
  gPreviewLattice = CreateGlobalDib(1024, 32, 32, true);
  FillGlobalDib(gPreviewLattice, 0);
  uint8_t* entry = GlobalDibBits(gPreviewLattice) + ((100 >> 3) * 1024 + (155 >> 3) * 32 + 0) * 4;
  entry[0] = 1, entry[1] = 2, entry[2] = 3;
  gPreviewLatticeMode = 1;
  uint8_t same[256];
  for (int i = 0; i < 256; ++i) same[i] = static_cast<uint8_t>(i);
  ApplyLutsToGlobalDibRect(dib.get(), same, same, same, 0, 0, 1, 1);
  EXPECT_EQ(Pixel(dib.get(), 0, 0)[0], 1);
  EXPECT_EQ(Pixel(dib.get(), 0, 0)[2], 3);
  gPreviewLatticeMode = 0;
  FreeGlobalDib(gPreviewLattice);
  gPreviewLattice = nullptr;

  SetPixel(dib.get(), 1, 0, 30, 60, 91);
  MapGlobalDibToGrey(dib.get(), 0, down, 1, 0, 2, 1);
  EXPECT_EQ(Pixel(dib.get(), 1, 0)[0], 255 - 60);
  SetPixel(dib.get(), 1, 0, 30, 60, 91);
  MapGlobalDibToGrey(dib.get(), 3, down, 1, 0, 2, 1);
  EXPECT_EQ(Pixel(dib.get(), 1, 0)[1], 255 - 91);
}

TEST(GlobalDib, Measurements) {
  DibPtr dib = MakeDib(2, 2, 24);
  SetPixel(dib.get(), 0, 0, 10, 20, 30);
  SetPixel(dib.get(), 1, 0, 200, 200, 200);
  SetPixel(dib.get(), 0, 1, 10, 20, 30);
  SetPixel(dib.get(), 1, 1, 11, 21, 31);
  const WinRect all{0, 0, 2, 2};

  uint32_t r[256] = {}, g[256] = {}, b[256] = {}, grey[256] = {};
  HistogramGlobalDibRect(dib.get(), true, r, g, b, grey, 0, 0, 2, 2);
  EXPECT_EQ(r[245], 2u);
  EXPECT_EQ(grey[55], 1u);
  HistogramGlobalDibRect(dib.get(), true, r, g, b, grey, 0, 0, 2, 2);  // adds, not cleared
  EXPECT_EQ(r[245], 4u);

  uint8_t average[3] = {9, 9, 9};
  ASSERT_TRUE(AverageColorInGreyRange(average, dib.get(), false, 0, 100, all));
  EXPECT_EQ(average[0], 10);  // (10 + 10 + 11) / 3 = 10.33
  EXPECT_EQ(average[2], 30);
  EXPECT_FALSE(AverageColorInGreyRange(average, dib.get(), false, 250, 255, all));

  uint32_t sums[3] = {};
  uint32_t count = 0;
  SumGlobalDibRect(dib.get(), false, sums, &count, all);
  EXPECT_EQ(count, 4u);
  EXPECT_EQ(sums[0], 231u);

  EXPECT_EQ(FindExtremeBrightness(dib.get(), true, all), 600);
  EXPECT_EQ(FindExtremeBrightness(dib.get(), false, all), 60);

  ColorRef color = 0;
  WinPoint at{};
  ASSERT_TRUE(FindPixelWithBrightness(dib.get(), 60, 0, 0, 2, 2, &color, &at, true));
  EXPECT_EQ(at.x, 0);
  EXPECT_EQ(at.y, 1);  // the second match in row order wins
  EXPECT_EQ(color, MakeColorRef(10, 20, 30));
  EXPECT_EQ(Pixel(dib.get(), 0, 0)[0], 255);  // marked white: the sum is below 382
  EXPECT_FALSE(FindPixelWithBrightness(dib.get(), 1, 0, 0, 2, 2, &color, &at, false));

  EXPECT_EQ(AverageColorAroundPoint(dib.get(), 1, 0, 0), MakeColorRef(200, 200, 200));
  EXPECT_EQ(AverageColorAroundPoint(dib.get(), 5, 5, 1), 0u);
}

}  // namespace
