// The descreening resampler: its kernels' rounding, a stop, and the band
// invariance of the whole stage (the numpy check pins the values).
#include <gtest/gtest.h>

#include <vector>

#include "records/frame_record.h"
#include "sharpen/scale_kernels.h"
#include "sharpen/scaling_window.h"
#include "sharpen/tests/band_harness.h"

namespace {

TEST(ScaleKernels, LinearTruncatesWithoutClamp) {
  const uint8_t row0[] = {201};
  const uint8_t row1[] = {202};
  uint8_t out = 0;
  ResampleLineLinear8(row0, row1, &out, 1, 1, 0.9, 1);
  EXPECT_EQ(out, 201);
}

TEST(ScaleKernels, CubicRoundsAndClamps) {
  struct Case {
    uint8_t rows[4];
    double fy;
    uint8_t want;
  };
  const Case cases[] = {
      {{201, 201, 202, 202}, 0.5, 202},  // 201.5
      {{0, 255, 255, 0}, 0.5, 255},      // 286.9
      {{255, 0, 0, 255}, 0.5, 0},        // -31.9
      {{10, 20, 30, 40}, 1.7, 30},       // the fraction is clamped to 1
  };
  for (const Case& c : cases) {
    const uint8_t* rows[4] = {&c.rows[0], &c.rows[1], &c.rows[2], &c.rows[3]};
    uint8_t out = 0;
    ResampleLineCubic8(rows, &out, 1, 1, c.fy, 1);
    EXPECT_EQ(out, c.want) << int{c.rows[0]} << " " << c.fy;
  }
}

TEST(ScaleKernels, HalvingAndBlurByShiftedSums) {
  const uint16_t a[] = {1, 2, 3, 4, 9};  // the odd last column is left out
  const uint16_t b[] = {5, 6, 7, 9, 9};
  uint16_t half[2] = {};
  HalveRows16Grey(a, b, half, 5, 2);
  EXPECT_EQ(half[0], 3);  // 14 >> 2
  EXPECT_EQ(half[1], 5);  // 23 >> 2
  uint8_t row[] = {10, 20, 30, 40, 50, 60};  // two planes of three
  const uint8_t next[] = {11, 21, 31, 41, 51, 61};
  BlurRowPair8(row, next, 3, 2);
  const uint8_t want[] = {15, 25, 25, 45, 55, 55};
  EXPECT_EQ(std::vector<uint8_t>(row, row + 6), std::vector<uint8_t>(want, want + 6));
}

bool gStopSeen = false;
uint8_t StopRecorder(bool stop, uint8_t*, uint32_t, uint32_t, uint32_t* delivered) {
  gStopSeen = gStopSeen || stop;
  *delivered = 0;
  return 1;
}
uint8_t NothingEver(bool, uint8_t*, uint32_t, uint32_t, uint32_t* delivered) {
  *delivered = 0;
  return 0;
}

struct Window {
  explicit Window(uint16_t width, uint32_t rows) {
    StartScalingWindow(width, rows);
    gScalingWindow.sourceBuffer = NewMemHandle(64u * width);
    gScalingWindow.workBuffer = NewMemHandle(64u * width);
  }
  ~Window() {
    DisposeMemHandle(gScalingWindow.sourceBuffer);
    DisposeMemHandle(gScalingWindow.workBuffer);
    gScalingWindow.sourceBuffer = gScalingWindow.workBuffer = nullptr;
  }
};

TEST(ScalingWindow, StopProducesNothingAndEmptiesTheWindow) {
  Window window(8, 40);
  gScalingWindow.rowsHeld = 3;
  gScalingWindow.firstUnblurredRow = 2;
  FrameRecord frame = {};
  frame.bitsPerChannel = 8;
  uint8_t finished = 0;
  int16_t produced = -1;
  std::vector<uint8_t> out(8 * 4);
  ScaleBandBicubic(&frame, true, &finished, out.data(), 0, 8, &produced, 12, 8, 4, 4, 4, 10, StopRecorder);
  EXPECT_TRUE(gStopSeen);
  EXPECT_EQ(produced, 0);
  EXPECT_EQ(gScalingWindow.rowsHeld, 0);
  EXPECT_EQ(gScalingWindow.firstUnblurredRow, 0);
  EXPECT_EQ(gScalingWindow.rowsConsumed, 0u);
}

// A source that neither delivers nor ends does not keep the stage asking.
TEST(ScalingWindow, SourceThatDeliversNothingIsNotAskedForever) {
  Window window(8, 40);
  FrameRecord frame = {};
  frame.bitsPerChannel = 8;
  uint8_t finished = 0;
  int16_t produced = -1;
  std::vector<uint8_t> out(8 * 4);
  ScaleBandBicubic(&frame, false, &finished, out.data(), 0, 8, &produced, 12, 8, 4, 4, 4, 10, NothingEver);
  EXPECT_EQ(produced, 0);
}

PlanarImage Gradient(int32_t width, int32_t rows, int32_t planes, int32_t bits) {
  PlanarImage image{width, rows, planes, bits, {}};
  image.data.resize(static_cast<size_t>(rows) * image.RowBytes());
  uint32_t seed = 7;
  for (size_t i = 0; i < image.data.size(); ++i) {
    seed = seed * 1103515245u + 12345u;
    image.data[i] = static_cast<uint8_t>((i / 3) % 200 + (seed >> 29));
  }
  return image;
}

// Bands of any height and a source of short reads give the same image as one call.
TEST(ScalingWindow, BandsAndShortReadsGiveTheWholeImage) {
  struct Case {
    int32_t width, rows, planes, bits, outWidth, outRows;
  };
  const Case cases[] = {{30, 50, 3, 8, 11, 17}, {26, 31, 1, 16, 19, 22}, {20, 20, 3, 16, 10, 10}};
  for (const Case& c : cases) {
    const PlanarImage image = Gradient(c.width, c.rows, c.planes, c.bits);
    const PlanarImage whole = ScaleInBands(image, c.outWidth, c.outRows, c.outRows, 0);
    ASSERT_EQ(whole.rows, c.outRows);
    for (int32_t band : {1, 10, 30})
      for (int32_t shortReads : {0, 1, 3})
        EXPECT_EQ(ScaleInBands(image, c.outWidth, c.outRows, band, shortReads).data, whole.data)
            << c.width << "x" << c.rows << " band " << band << " short " << shortReads;
  }
}

}  // namespace
