// The fixed measuring points: their ordering, the correction of a table
// through them and their storage in the frame.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "tone/tests/tone_fixture.h"
#include "tone/tone_curve.h"

namespace {

CurvePoint Point(double x, double y, double source, double target) {
  CurvePoint point;
  std::memset(&point, 0, sizeof point);
  point.x = x;
  point.y = y;
  for (int c = 0; c < 4; ++c) {
    point.source[c] = source;
    point.target[c] = target;
  }
  return point;
}

TEST(ToneCurve, RefusesEmptyPointsAndBadIndexes) {
  ToneCurve curve(kFrameCurvePoints);
  const CurvePoint empty = Point(0.5, 0.5, 0, 0);
  EXPECT_FALSE(curve.SetCurvePoint(&empty, 0));
  EXPECT_FALSE(curve.AddCurvePoint(&empty));
  const CurvePoint point = Point(0.5, 0.5, 0.2, 0.3);
  EXPECT_FALSE(curve.SetCurvePoint(&point, 4));
  EXPECT_FALSE(curve.SetCurvePoint(nullptr, 0));
  CurvePoint out = point;
  EXPECT_FALSE(curve.GetCurvePoint(&out, -1));
  EXPECT_FALSE(curve.IsCurvePointActive(&out)) << "cleared for a bad index";
  EXPECT_EQ(curve.FindFreeCurvePoint(), 0);
}

TEST(ToneCurve, WithoutCapacityEveryOperationFails) {
  ToneCurve curve(0);
  const CurvePoint point = Point(0.5, 0.5, 0.2, 0.3);
  uint8_t table[256] = {};
  EXPECT_FALSE(curve.AddCurvePoint(&point));
  EXPECT_EQ(curve.FindFreeCurvePoint(), -1);
  EXPECT_EQ(curve.FindNearestCurvePoint(0, 0, 1, 1), -1);
  EXPECT_FALSE(curve.BuildPointCorrectionTable(table, 0, 256, 256, 0, 255, 0, 255, nullptr, 0));
}

TEST(ToneCurve, PointsThatCrossInTheirChannelsAreNotKept) {
  ToneCurve curve(kFrameCurvePoints);
  CurvePoint first = Point(0.1, 0.1, 0.5, 0.5);
  ASSERT_TRUE(curve.AddCurvePoint(&first));
  CurvePoint crossing = Point(0.2, 0.2, 0.5, 0.5);
  crossing.source[1] = 0.7;   // red above
  crossing.source[2] = 0.3;   // green below
  EXPECT_FALSE(curve.AddCurvePoint(&crossing));
  CurvePoint kept;
  EXPECT_FALSE(curve.GetCurvePoint(&kept, 1) && curve.IsCurvePointActive(&kept)) << "slot cleared again";
  const CurvePoint same = Point(0.3, 0.3, 0.5, 0.6);
  EXPECT_TRUE(curve.AddCurvePoint(&same)) << "identical sources do not cross";
}

TEST(ToneCurve, CrossingBehindAPointAboveIsFound) {
  ToneCurve curve(kFrameCurvePoints);
  const CurvePoint high = Point(0, 0, 0.9, 0.9);
  CurvePoint tilted = Point(0, 0, 0.5, 0.5);
  tilted.source[1] = 0.6;
  ASSERT_TRUE(curve.AddCurvePoint(&high));
  ASSERT_TRUE(curve.AddCurvePoint(&tilted));
  CurvePoint crossing = Point(0, 0, 0.55, 0.5);   // red below the tilted point, the others above
  EXPECT_FALSE(curve.AddCurvePoint(&crossing));
}

TEST(ToneCurve, OrderRanksActivePointsAndMarksEmptySlots) {
  ToneCurve curve(kFrameCurvePoints);
  const CurvePoint a = Point(0, 0, 0.8, 0.8);
  const CurvePoint b = Point(0, 0, 0.5, 0.5);
  const CurvePoint c = Point(0, 0, 0.6, 0.6);
  ASSERT_TRUE(curve.SetCurvePoint(&a, 0));
  ASSERT_TRUE(curve.SetCurvePoint(&b, 2));
  ASSERT_TRUE(curve.SetCurvePoint(&c, 3));
  uint16_t order[kFrameCurvePoints];
  ASSERT_TRUE(curve.OrderCurvePoints(order));
  EXPECT_EQ(order[0], 2);
  EXPECT_EQ(order[1], 65535);
  EXPECT_EQ(order[2], 0);
  EXPECT_EQ(order[3], 1);
}

TEST(ToneCurve, NearestPointTakesTheLowerIndexOnATie) {
  ToneCurve curve(kFrameCurvePoints);
  const CurvePoint left = Point(0.25, 0.5, 0.2, 0.2);
  const CurvePoint right = Point(0.75, 0.5, 0.3, 0.3);
  ASSERT_TRUE(curve.AddCurvePoint(&left));
  ASSERT_TRUE(curve.AddCurvePoint(&right));
  EXPECT_EQ(curve.FindNearestCurvePoint(0.5, 0.5, 0.5, 0.5), 0);
  EXPECT_EQ(curve.FindNearestCurvePoint(0.625, 0.5, 0.5, 0.5), 1);
  EXPECT_EQ(curve.FindNearestCurvePoint(0.5, 0.5, 0.25, 0.5), -1) << "the limit itself is outside";
}

TEST(ToneCurve, CompactingKeepsTheOrderOfActivePoints) {
  ToneCurve curve(kFrameCurvePoints);
  const CurvePoint a = Point(0.1, 0, 0.2, 0.2);
  const CurvePoint b = Point(0.2, 0, 0.4, 0.4);
  ASSERT_TRUE(curve.SetCurvePoint(&a, 1));
  ASSERT_TRUE(curve.SetCurvePoint(&b, 3));
  curve.CompactCurvePoints();
  CurvePoint out;
  ASSERT_TRUE(curve.GetCurvePoint(&out, 0));
  EXPECT_EQ(out.x, 0.1);
  ASSERT_TRUE(curve.GetCurvePoint(&out, 1));
  EXPECT_EQ(out.x, 0.2);
  EXPECT_EQ(curve.FindFreeCurvePoint(), 2);
}

std::vector<uint8_t> Ramp8() {
  std::vector<uint8_t> table(256);
  for (int i = 0; i < 256; ++i) table[i] = static_cast<uint8_t>(i);
  return table;
}

TEST(PointCorrection, WithoutPointsOnlyTheEndsAreMapped) {
  ToneCurve curve(kFrameCurvePoints);
  std::vector<uint8_t> table = Ramp8();
  ASSERT_TRUE(curve.BuildPointCorrectionTable(table.data(), 0, 256, 256, 0, 255, 0, 255, nullptr, 0));
  EXPECT_EQ(table, Ramp8()) << "full output range: unchanged";

  ASSERT_TRUE(curve.BuildPointCorrectionTable(table.data(), 0, 256, 256, 0, 255, 20, 200, nullptr, 0));
  for (int i = 0; i < 256; ++i) {
    EXPECT_EQ(table[i], static_cast<int>(20 + i * 180.0 / 255 + 0.5)) << "entry " << i;
  }
}

TEST(PointCorrection, APointBendsItsSourceOntoTheTableAtItsTarget) {
  ToneCurve curve(kFrameCurvePoints);
  const CurvePoint point = Point(0, 0, 100 / 255.0, 150 / 255.0);
  ASSERT_TRUE(curve.AddCurvePoint(&point));
  std::vector<uint8_t> table = Ramp8();
  ASSERT_TRUE(curve.BuildPointCorrectionTable(table.data(), 0, 256, 256, 0, 255, 0, 255, nullptr, 1));
  EXPECT_EQ(table[0], 0);
  EXPECT_EQ(table[50], 75);
  EXPECT_EQ(table[100], 150);
  EXPECT_EQ(table[255], 255);
  for (int i = 1; i < 256; ++i) EXPECT_GE(table[i], table[i - 1]) << "entry " << i;
}

TEST(PointCorrection, SixteenBitTablesUseTheirLevels) {
  ToneCurve curve(kFrameCurvePoints);
  const CurvePoint point = Point(0, 0, 0.25, 0.5);
  ASSERT_TRUE(curve.AddCurvePoint(&point));
  std::vector<uint16_t> table(16384);
  for (int i = 0; i < 16384; ++i) table[i] = static_cast<uint16_t>(i);
  ASSERT_TRUE(curve.BuildPointCorrectionTable(table.data(), 1, 16384, 16384, 0, 16383, 0, 16383, nullptr, 0));
  EXPECT_EQ(table[4096], 8192);
  EXPECT_EQ(table[16383], 16383);
}

TEST(CurvePointStorage, RoundTripMovesActivePointsFirstAndRoundsTones) {
  ToneFixture fixture;
  FrameRecord& frame = fixture.frame;
  ToneCurve curve(kFrameCurvePoints);
  CurvePoint point = Point(0.25, 0.75, 0, 0);
  point.source[1] = 0.5;      // 127.5 -> 128
  point.target[1] = 0.3;      // 76.5 -> 77
  point.source[3] = 0.1;
  ASSERT_TRUE(curve.SetCurvePoint(&point, 2));
  StoreCurvePointsToFrame(&curve, &frame);

  double position[2];
  std::memcpy(position, reinterpret_cast<const uint8_t*>(&frame) + 1952, sizeof position);
  EXPECT_EQ(position[0], 0.25);
  EXPECT_EQ(position[1], 0.75);
  EXPECT_EQ(frame.tone[1].fixedPointValues[0].source, 128);
  EXPECT_EQ(frame.tone[1].fixedPointValues[0].target, 77);
  EXPECT_EQ(frame.tone[3].fixedPointValues[0].source, 26);
  EXPECT_EQ(frame.tone[0].fixedPointValues[0].source, 0);

  ToneCurve loaded(kFrameCurvePoints);
  LoadCurvePointsFromFrame(&frame, &loaded);
  CurvePoint out;
  ASSERT_TRUE(loaded.GetCurvePoint(&out, 0));
  EXPECT_NEAR(out.source[1], 0.5, 0.5 / 255);
  EXPECT_NEAR(out.target[1], 0.3, 0.5 / 255);
  EXPECT_EQ(out.x, 0.25);
  EXPECT_EQ(loaded.FindFreeCurvePoint(), 1);

  StoreCurvePointsToFrame(nullptr, &frame);
  EXPECT_EQ(frame.tone[1].fixedPointValues[0].source, 0);
  EXPECT_EQ(frame.fixedPoints[0].x, 0.0);
}

}  // namespace
