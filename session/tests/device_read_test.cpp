// The source rectangle of a read and the sizes of its line buffers.
#include <gtest/gtest.h>

#include "records/frame_record.h"
#include "session/device_read.h"

namespace {

struct RectCase {
  const char* what;
  double x, y, width, height;  // inches
  SourceRect expected;
};

class SourceRectTest : public ::testing::TestWithParam<RectCase> {};

// A 300 x 200 pixel image of 100 dpi.
TEST_P(SourceRectTest, StaysInsideTheImage) {
  const RectCase& c = GetParam();
  FrameRecord frame = {};
  frame.originX = c.x;
  frame.originY = c.y;
  frame.width = c.width;
  frame.height = c.height;
  SourceRect rect = FrameSourceRect(frame, 300, 200, 100);
  EXPECT_EQ(rect.left, c.expected.left) << c.what;
  EXPECT_EQ(rect.top, c.expected.top) << c.what;
  EXPECT_EQ(rect.width, c.expected.width) << c.what;
  EXPECT_EQ(rect.height, c.expected.height) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Frames, SourceRectTest,
    ::testing::Values(RectCase{"whole image", 0, 0, 3, 2, {0, 0, 300, 200}},
                      RectCase{"inside, rounded", 0.504, 0.496, 1.004, 0.996, {50, 50, 100, 100}},
                      RectCase{"past the right and bottom", 2.5, 1.5, 3, 3, {250, 150, 50, 50}},
                      RectCase{"origin beyond the image", 4, 3, 1, 1, {299, 199, 1, 1}}));

TEST(SourceRect, ReducedImageTakesTheRectangleByTheRatio) {
  SourceRect rect = ReduceSourceRect({100, 40, 120, 60}, 0.25, 75, 50);
  EXPECT_EQ(rect.left, 25);
  EXPECT_EQ(rect.top, 10);
  EXPECT_EQ(rect.width, 30);
  EXPECT_EQ(rect.height, 15);
  rect = ReduceSourceRect({280, 190, 20, 10}, 0.25, 70, 48);
  EXPECT_EQ(rect.left, 69);
  EXPECT_EQ(rect.top, 47);
  EXPECT_EQ(rect.width, 1);
  EXPECT_EQ(rect.height, 1);
}

TEST(LineBuffers, SixtyAndSeventyEightSamplesDoubledForSixteenBits) {
  struct Case {
    double scale;
    int32_t bits;
    uint32_t source, output;
  };
  for (const Case& c : {Case{1.0, 8, 100 * 60, 50 * 78}, Case{0.5, 8, 100 * 60, 50 * 78},
                        Case{1.0, 16, 100 * 60 * 2, 50 * 78 * 2}, Case{2.0, 8, 100 * 60, 50 * 156},
                        Case{1.5, 16, 100 * 60 * 2, 50 * 117 * 2}}) {
    LineBufferSizes sizes = ComputeLineBufferSizes(100, 50, c.scale, c.bits);
    EXPECT_EQ(sizes.source, c.source) << c.scale << " " << c.bits;
    EXPECT_EQ(sizes.output, c.output) << c.scale << " " << c.bits;
  }
}

TEST(ReadScale, SourceLinesPerOutputLine) {
  EXPECT_DOUBLE_EQ(ReadScale(101, 51), 2.0);
  EXPECT_DOUBLE_EQ(ReadScale(51, 101), 0.5);
  EXPECT_DOUBLE_EQ(ReadScale(40, 1), 1.0);
}

}  // namespace
