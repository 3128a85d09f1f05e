// The gradation points with the expert values applied, their inverse and
// their spacing.
#include <gtest/gtest.h>

#include "tone/gradation_points.h"
#include "tone/tests/tone_fixture.h"

namespace {

struct EvaluateCase {
  const char* name;
  int16_t contrast;
  int16_t brightness;
  int16_t midtoneShift;
  uint8_t shiftMode;
  int16_t p;
  int16_t x;
  int16_t y;
  int16_t expectedY;
  int16_t expectedX;
};

class EvaluateGradationPointCases : public ::testing::TestWithParam<EvaluateCase> {};

TEST_P(EvaluateGradationPointCases, GiveThePinnedValues) {
  const EvaluateCase& c = GetParam();
  ToneFixture fixture;
  ToneBlock block = fixture.frame.tone[0];
  block.contrast = c.contrast;
  block.brightness = c.brightness;
  block.midtoneShift = c.midtoneShift;
  block.shiftMode = c.shiftMode;
  block.gradationX[c.p] = static_cast<uint16_t>(c.x);
  int16_t x = 0;
  EXPECT_EQ(EvaluateGradationPoint(c.p, c.y, c.x, block, &x), c.expectedY) << c.name;
  EXPECT_EQ(x, c.expectedX) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EvaluateGradationPointCases,
    ::testing::Values(EvaluateCase{"no expert values", 0, 0, 0, 0, 2, 64, 70, 70, 64},
                      EvaluateCase{"contrast 50 at the middle: a = 75", 50, 0, 0, 0, 3, 128, 160, 184, 128},
                      EvaluateCase{"contrast 50 at 32: a = 25", 50, 0, 0, 0, 1, 32, 40, 18, 32},
                      EvaluateCase{"contrast clamps at 256", 50, 0, 0, 0, 3, 128, 250, 256, 128},
                      EvaluateCase{"contrast clamps at 0", 50, 0, 0, 0, 3, 128, 20, 0, 128},
                      EvaluateCase{"end points take only the brightness", 50, 10, 20, 1, 0, 0, 0, 10, 0},
                      EvaluateCase{"shift 20 in mode 1 moves point 3", 0, 0, 20, 1, 3, 128, 128, 73, 113},
                      EvaluateCase{"shift -20 in mode 1 moves point 1", 0, 0, -20, 1, 1, 32, 32, 61, 22},
                      EvaluateCase{"shift 10 in mode 0 moves only y", 0, 0, 10, 0, 4, 192, 192, 178, 192},
                      EvaluateCase{"shift truncates toward zero", 0, 0, -3, 0, 2, 64, 64, 67, 64}));

TEST(InvertGradationPoint, UndoesTheEvaluationWithoutClamping) {
  ToneFixture fixture;
  ToneBlock block = fixture.frame.tone[0];
  block.contrast = 20;
  block.brightness = -6;
  block.midtoneShift = 12;
  block.shiftMode = 1;
  for (int16_t p = 1; p < 6; ++p) {
    int16_t x = 0, back = 0;
    const int16_t y = EvaluateGradationPoint(p, 140, block.gradationX[p], block, &x);
    const int16_t raw = InvertGradationPoint(p, y, x, block, &back);
    EXPECT_EQ(back, block.gradationX[p]) << "point " << p;
    EXPECT_NEAR(raw, 140, 1) << "point " << p;
  }
}

TEST(InvertGradationPoint, AFlattenedPointKeepsItsValue) {
  ToneFixture fixture;
  ToneBlock block = fixture.frame.tone[0];
  block.gradationX[3] = 176;   // f = 1.0
  block.contrast = -100;       // a = -100: every y evaluates to the middle
  int16_t x = 0;
  EXPECT_EQ(EvaluateGradationPoint(3, 200, 176, block, &x), 128);
  EXPECT_EQ(InvertGradationPoint(3, 128, 176, block, &x), 128);
}

TEST(SpaceGradationPoints, KeepsTheEvaluatedPointsSixApart) {
  ToneFixture fixture;
  gToneWorkingCopy = fixture.frame.tone[0];
  const uint16_t x[7] = {0, 3, 5, 128, 126, 224, 256};
  for (int p = 0; p < 7; ++p) gToneWorkingCopy.gradationX[p] = x[p];
  gToneWorkingCopy.midtoneShift = 20;
  gToneWorkingCopy.shiftMode = 1;   // point 3 moves left by 15, point 4 by 9
  SpaceGradationPoints();

  int16_t previous = 0;
  for (int16_t p = 0; p < 6; ++p) {
    int16_t evaluated;
    EvaluateGradationPoint(p, static_cast<int16_t>(gToneWorkingCopy.gradationY[p]), gToneWorkingCopy.gradationX[p],
                           gToneWorkingCopy, &evaluated);
    if (p > 0) {
      EXPECT_GE(evaluated, previous + 6) << "point " << p;
    }
    previous = evaluated;
  }
  EXPECT_EQ(gToneWorkingCopy.gradationX[1], 6);
  EXPECT_EQ(gToneWorkingCopy.gradationX[2], 12);
  EXPECT_EQ(gToneWorkingCopy.gradationX[3], 128) << "far enough apart: unchanged";
  EXPECT_EQ(gToneWorkingCopy.gradationX[4], 128) << "evaluated 117, raised to 113 + 6, plus the shift of 9";
  EXPECT_EQ(gToneWorkingCopy.gradationX[6], 256);
}

}  // namespace
