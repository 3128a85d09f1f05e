// Histogram smoothing and the mean colour of the current frame's preview pixels.
#include <gtest/gtest.h>

#include <vector>

#include "foundation/global_dib.h"
#include "session/preview_store.h"
#include "ui/preview_geometry.h"
#include "ui/preview_sampling.h"
#include "ui/tests/frame_list_fixture.h"

namespace {

TEST(FillHistogramGaps, EachGapTakesTheMeanOfItsNeighboursAsFilledSoFar) {
  struct Case {
    std::vector<uint32_t> bins, filled;
  } cases[] = {
      // The run before the last bin looks one bin ahead only, so it fades out.
      {{4, 0, 0, 8, 0, 0, 0, 6}, {4, 6, 7, 8, 4, 2, 4, 6}},
      // Leading gaps: bin 0 stands in below.
      {{0, 0, 6, 1}, {3, 4, 6, 1}},
      // An empty last bin is its own upper neighbour.
      {{2, 0}, {2, 1}},
      {{5, 7, 9}, {5, 7, 9}},
  };
  for (Case& c : cases) {
    std::vector<uint32_t> bins = c.bins;
    FillHistogramGaps(bins.data(), static_cast<int>(bins.size()));
    EXPECT_EQ(bins, c.filled);
  }
}

class SampleFramePreviewTest : public testing::Test {
 protected:
  // A 400 x 300 preview of 8 x 6 inches; the frame at (1, 1) 2 x 2 inches is
  // pixels 50..149: its upper half one colour, its lower half another.
  void SetUp() override {
    gPreviewClientRect = WinRect{0, 0, 400, 300};
    gPreviewExtentWidth = 8.0;
    gPreviewExtentHeight = 6.0;
    gPreviewZoomed = false;
    gPreviewBaseDib = CreateGlobalDib(300, 400, 32, true);
    ASSERT_NE(gPreviewBaseDib, nullptr);
    FillGlobalDib(gPreviewBaseDib, MakeColorRef(200, 200, 200));
    Paint(50, 100, 90, 120, 150);
    Paint(100, 150, 10, 20, 30);
    AppendFramesAt({DRect{1, 1, 2, 2}});
  }
  void TearDown() override {
    DeleteAllFrames();
    FreeGlobalDib(gPreviewBaseDib);
    gPreviewBaseDib = nullptr;
  }
  void Paint(int top, int bottom, uint8_t r, uint8_t g, uint8_t b) {
    for (int y = top; y < bottom; ++y) {
      uint8_t* row = GlobalDibBits(gPreviewBaseDib) + y * GlobalDibStride(gPreviewBaseDib);
      for (int x = 50; x < 150; ++x) {
        row[x * 4] = b;
        row[x * 4 + 1] = g;
        row[x * 4 + 2] = r;
      }
    }
  }
};

TEST_F(SampleFramePreviewTest, MeansThePixelsOfTheFrameInTheGreyRange) {
  struct Case {
    int low, high;
    bool invert, found;
    uint8_t rgb[3];
  } cases[] = {
      {100, 130, false, true, {90, 120, 150}},
      {0, 255, false, true, {50, 70, 90}},  // both halves, never the grey outside
      {150, 255, false, false, {}},
      {130, 140, true, true, {165, 135, 105}},  // an inverted frame is measured inverted
  };
  for (const Case& c : cases) {
    FrameListHead()->frame.invert = c.invert;
    for (bool stored : {false, true}) {
      uint8_t rgb[3] = {1, 2, 3};
      ASSERT_EQ(SampleFramePreview(rgb, c.low, c.high, stored), c.found) << c.low << ".." << c.high;
      if (c.found) {
        EXPECT_EQ(std::vector<uint8_t>(rgb, rgb + 3), std::vector<uint8_t>(c.rgb, c.rgb + 3));
      }
    }
  }
}

TEST_F(SampleFramePreviewTest, WithoutAFrameNothingIsFound) {
  DeleteAllFrames();
  uint8_t rgb[3];
  EXPECT_FALSE(SampleFramePreview(rgb, 0, 255, false));
}

}  // namespace
