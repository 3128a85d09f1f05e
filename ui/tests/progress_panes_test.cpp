// The live preview panes: how big their copies are, how bands go into them,
// and what a pop hands back. No progress window is open here, so the panes
// keep the picture area a test gives them.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "foundation/memory.h"
#include "state/data_source_state.h"
#include "state/module_state.h"
#include "tone/gamma_tables.h"
#include "ui/progress_panes.h"

namespace {

const PreviewPane& Top() { return gPreviewPanes.entries[gPreviewPanes.top]; }

class ProgressPanes : public ::testing::Test {
 protected:
  void SetUp() override {
    gSessionStorage = SessionBlock{};
    gSession = &gSessionStorage;
    Image(8, 1);
    ASSERT_EQ(gPreviewPanes.top, 0);
    for (PreviewPane& pane : gPreviewPanes.entries) pane.paneRect = WinRect{0, 0, 200, 150};
  }
  void TearDown() override {
    while (gPreviewPanes.top > 0) PopProgressPreviewPane(false, false, false, nullptr, nullptr, nullptr, nullptr, nullptr);
    gSixteenBitColorOption = false;
  }
  static void Image(int16_t depth, int16_t planes) {
    gSession->depth = depth;
    gSession->planes = planes;
  }
  static void PaneArea(int32_t width, int32_t height) {
    gPreviewPanes.entries[gPreviewPanes.top + 1].paneRect = WinRect{0, 0, width, height};
  }
};

int32_t W(const WinRect& r) { return r.right - r.left; }
int32_t H(const WinRect& r) { return r.bottom - r.top; }

TEST_F(ProgressPanes, LargeCopiesOnlyForImagesOverTenMillionPixelsAndNeverForOneBit) {
  const struct {
    int32_t width, height;
    int16_t depth, planes;
    bool keepLarge;
    int16_t divisor;  // 0: no large copy
    int32_t copyWidth, copyHeight;
  } cases[] = {
      {4000, 2500, 8, 1, true, 0, 0, 0},              // exactly 10000000 pixels
      {11, 909091, 8, 1, true, 3, 3, 303030},         // 10000001
      {6000, 4000, 1, 1, true, 0, 0, 0},              // one bit deep
      {6000, 4000, 16, 3, false, 0, 0, 0},            // not wanted
      {6000, 4000, 16, 3, true, 4, 1500, 1000},       // 1500000 pixels of 6 bytes
      {4000, 2501, 8, 1, true, 3, 1333, 833},
  };
  for (const auto& c : cases) {
    Image(c.depth, c.planes);
    ASSERT_EQ(PushProgressPreviewPane(c.width, c.height, false, c.keepLarge), 0);
    const PaneCopy& large = Top().large;
    EXPECT_EQ(large.divisor, c.divisor) << c.width << "x" << c.height;
    EXPECT_EQ(large.pixels != nullptr, c.divisor != 0) << c.width << "x" << c.height;
    EXPECT_EQ(W(large.rect), c.copyWidth) << c.width << "x" << c.height;
    EXPECT_EQ(H(large.rect), c.copyHeight) << c.width << "x" << c.height;
    if (large.pixels) {
      EXPECT_LE(int64_t{W(large.rect)} * H(large.rect), kLargeCopyPixelLimit);
      EXPECT_LE(W(large.rect) * large.pixelBytes, kPaneRowByteLimit);
    }
    PopProgressPreviewPane(false, false, false, nullptr, nullptr, nullptr, nullptr, nullptr);
  }
}

TEST_F(ProgressPanes, SmallCopyDivisorsFitTwiceThePaneAndComeNearestTheLimit) {
  const struct {
    const char* what;
    int32_t paneWidth, paneHeight, width, height;
    bool swapAxes;
    int16_t divisor;
    int32_t copyWidth, copyHeight;
  } cases[] = {
      {"photo", 200, 150, 6000, 4000, false, 31, 193, 129},
      {"one below, above the limit", 1000, 1000, 1000, 1000, false, 6, 166, 166},
      {"wide", 200, 50, 1000, 200, false, 3, 333, 66},
      {"wide turned: tested as 200 x 1000", 200, 50, 1000, 200, true, 9, 111, 22},
      {"rows of 16000 bytes, not 16664", 5000, 5000, 100000, 50, false, 25, 4000, 2},
  };
  for (const auto& c : cases) {
    PaneArea(c.paneWidth, c.paneHeight);
    ASSERT_EQ(PushProgressPreviewPane(c.width, c.height, c.swapAxes, false), 0);
    const PaneCopy& small = Top().small;
    EXPECT_EQ(small.divisor, c.divisor) << c.what;
    EXPECT_EQ(W(small.rect), c.copyWidth) << c.what;
    EXPECT_EQ(H(small.rect), c.copyHeight) << c.what;
    EXPECT_LE(W(small.rect) * 4, kPaneRowByteLimit) << c.what;
    PopProgressPreviewPane(false, false, false, nullptr, nullptr, nullptr, nullptr, nullptr);
  }
}

TEST_F(ProgressPanes, TheEleventhPushReusesTheTenthEntry) {
  for (int i = 0; i < 11; ++i) EXPECT_EQ(PushProgressPreviewPane(100 + i, 50, false, false), 0);
  EXPECT_EQ(gPreviewPanes.top, kMaxPreviewPanes);
  EXPECT_EQ(W(Top().small.rect), 110);  // the last push's copy
  for (int i = 0; i < 11; ++i) PopProgressPreviewPane(false, false, false, nullptr, nullptr, nullptr, nullptr, nullptr);
  EXPECT_EQ(gPreviewPanes.top, 0);
}

// One pixel of the small copy as B, G, R, 0.
std::vector<uint8_t> SmallPixel(int32_t x) {
  const uint8_t* p = Top().small.pixels + x * 4;
  return {p[0], p[1], p[2], p[3]};
}

TEST_F(ProgressPanes, BandsGoIntoTheSmallCopyByFormatViewAndInvert) {
  const uint8_t rgb8[12] = {10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120};
  const uint16_t rgb16[12] = {0x1234, 0, 0, 0, 0x5678, 0, 0, 0, 0x9ABC, 0, 0, 0};
  const uint16_t grey16[4] = {0xFEDC, 0, 0, 0};
  const uint8_t oneBit[1] = {0x05};
  const struct {
    const char* what;
    const void* rows;
    int32_t format, view;
    bool invert;
    int32_t x;
    std::vector<uint8_t> bgr0;
  } cases[] = {
      {"rgb", rgb8, kPaneRowsRgb8, kPaneViewRgb, false, 0, {90, 50, 10, 0}},
      {"rgb, second pixel", rgb8, kPaneRowsRgb8, kPaneViewRgb, false, 1, {100, 60, 20, 0}},
      {"first two exchanged", rgb8, kPaneRowsRgb8, kPaneViewSwapFirstTwo, false, 0, {90, 10, 50, 0}},
      {"red", rgb8, kPaneRowsRgb8, kPaneViewRed, false, 0, {0, 0, 10, 0}},
      {"green", rgb8, kPaneRowsRgb8, kPaneViewGreen, false, 0, {0, 50, 0, 0}},
      {"blue", rgb8, kPaneRowsRgb8, kPaneViewBlue, false, 0, {90, 0, 0, 0}},
      {"first plane as grey", rgb8, kPaneRowsRgb8, kPaneViewGrey, false, 0, {10, 10, 10, 0}},
      {"inverted", rgb8, kPaneRowsRgb8, kPaneViewRgb, true, 0, {165, 205, 245, 0}},
      {"16 bits: high bytes", rgb16, kPaneRowsRgb16, kPaneViewRgb, false, 0, {0x9A, 0x56, 0x12, 0}},
      {"grey 16 bits", grey16, kPaneRowsGrey16, kPaneViewGrey, false, 0, {0xFE, 0xFE, 0xFE, 0}},
      {"grey 8 bits", rgb8, kPaneRowsGrey8, kPaneViewGrey, false, 3, {40, 40, 40, 0}},
      {"1 bit set: black", oneBit, kPaneRows1Bit, kPaneViewGrey, false, 0, {0, 0, 0, 0}},
      {"1 bit clear: white", oneBit, kPaneRows1Bit, kPaneViewGrey, false, 1, {255, 255, 255, 0}},
      {"1 bit set, inverted", oneBit, kPaneRows1Bit, kPaneViewGrey, true, 2, {255, 255, 255, 0}},
  };
  for (const auto& c : cases) {
    ASSERT_EQ(PushProgressPreviewPane(4, 1, false, false), 0);
    ASSERT_EQ(Top().small.divisor, 1);
    EXPECT_TRUE(DrawRowsIntoProgressPane(static_cast<const uint8_t*>(c.rows), 0, 1, 4, c.format, c.view, c.invert,
                                         false, false, false));
    EXPECT_EQ(SmallPixel(c.x), c.bgr0) << c.what;
    PopProgressPreviewPane(false, false, false, nullptr, nullptr, nullptr, nullptr, nullptr);
  }
}

TEST_F(ProgressPanes, SixteenBitWorkShowsThroughTheDisplayCurve) {
  const uint16_t grey16[1] = {0x4000};
  const double previousGamma = CurrentGamma();
  SetCurrentGamma(1.8);
  uint16_t table[256];
  BuildGammaTableForMode(table, 256, CurrentGamma(), 0, 1, gCurrentFrame);
  const uint8_t curved = static_cast<uint8_t>(table[0x40] > 255 ? 255 : table[0x40]);
  ASSERT_NE(curved, 0x40);
  for (bool highBit : {false, true}) {
    gSixteenBitColorOption = highBit;
    PaneArea(10, 10);
    ASSERT_EQ(PushProgressPreviewPane(1, 1, false, false), 0);
    DrawRowsIntoProgressPane(reinterpret_cast<const uint8_t*>(grey16), 0, 1, 1, kPaneRowsGrey16, kPaneViewGrey, false,
                             false, false, false);
    EXPECT_EQ(SmallPixel(0)[1], highBit ? curved : 0x40);
    PopProgressPreviewPane(false, false, false, nullptr, nullptr, nullptr, nullptr, nullptr);
  }
  SetCurrentGamma(previousGamma);
}

TEST_F(ProgressPanes, BandsOfAnyHeightTakeEveryDivisorthRow) {
  // A 30 x 30 image fits a 5 x 5 pane at every third row; every second comes nearer the limit.
  PaneArea(5, 5);
  ASSERT_EQ(PushProgressPreviewPane(30, 30, false, false), 0);
  ASSERT_EQ(Top().small.divisor, 2);
  std::vector<uint8_t> image(30 * 30);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 30; ++x) image[y * 30 + x] = static_cast<uint8_t>(y * 8 + x);
  const int bandStarts[] = {0, 4, 9, 16, 17, 29, 30};
  for (int i = 0; i + 1 < 7; ++i) {
    const int first = bandStarts[i];
    DrawRowsIntoProgressPane(image.data() + first * 30, first, bandStarts[i + 1] - first, 30, kPaneRowsGrey8,
                             kPaneViewGrey, false, false, false, false);
  }
  for (int r = 0; r < 15; ++r)
    for (int c = 0; c < 15; ++c)
      ASSERT_EQ(Top().small.pixels[(r * 15 + c) * 4], image[(2 * r) * 30 + 2 * c]) << r << "," << c;
}

TEST_F(ProgressPanes, APopHandsTheLargeCopyBackTurned) {
  Image(8, 1);
  const int32_t width = 4000, height = 2501;
  ASSERT_EQ(PushProgressPreviewPane(width, height, true, true), 0);
  ASSERT_EQ(Top().large.divisor, 3);
  std::vector<uint8_t> image(static_cast<size_t>(width) * height);
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x) image[static_cast<size_t>(y) * width + x] = static_cast<uint8_t>(y * 7 + x);
  ASSERT_TRUE(DrawRowsIntoProgressPane(image.data(), 0, height, width, kPaneRowsGrey8, kPaneViewGrey, false, false,
                                       false, true));
  WinRect rect;
  uint8_t* block = nullptr;
  EXPECT_EQ(PopProgressPreviewPane(false, false, true, &rect, &block, nullptr, nullptr, nullptr), 0);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(W(rect), 833);   // the copy's 1333 x 833, turned
  EXPECT_EQ(H(rect), 1333);
  // Copy row r becomes column 832 - r: its pixel c lands in row c.
  for (int32_t r : {0, 1, 500, 832})
    for (int32_t c : {0, 7, 1332})
      ASSERT_EQ(block[static_cast<size_t>(c) * 833 + (832 - r)], image[static_cast<size_t>(3 * r) * width + 3 * c])
          << r << "," << c;
  FreeBlock(block);
  EXPECT_EQ(gPreviewPanes.top, 0);
}

}  // namespace
