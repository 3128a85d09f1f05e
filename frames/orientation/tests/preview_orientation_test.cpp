// The orientation state, its record and its table.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "frames/orientation/orientation_maps.h"
#include "frames/orientation/preview_orientation.h"

namespace {

struct Choice {
  uint8_t mirrorH;
  uint8_t mirrorV;
  uint16_t turns;
};

// What the user sees for a choice: the picture turned clockwise the given
// number of quarters, then mirrored in the turned picture's own axes.
PixelPoint ShownPosition(PixelPoint p, int width, int height, const Choice& c) {
  for (int i = 0; i < c.turns; ++i) {
    p = PixelPoint{height - 1 - p.y, p.x};
    std::swap(width, height);
  }
  if (c.mirrorH) p.x = width - 1 - p.x;
  if (c.mirrorV) p.y = height - 1 - p.y;
  return p;
}

class OrientationTableRows : public ::testing::TestWithParam<int> {
 protected:
  Choice choice() const {
    const int row = GetParam();
    return Choice{static_cast<uint8_t>(row >> 3 & 1), static_cast<uint8_t>(row >> 2 & 1), static_cast<uint16_t>(row & 3)};
  }
};

TEST_P(OrientationTableRows, FlagsShowThePictureAsChosen) {
  const Choice c = choice();
  EXPECT_EQ(OrientationTableOffset(c.mirrorH, c.mirrorV, c.turns), GetParam() * 4);
  const OrientationFlags& flags = OrientationTableRow(c.mirrorH, c.mirrorV, c.turns);
  EXPECT_EQ(flags.rowsReversed, flags.flipY ^ flags.quarterTurn);
  EXPECT_EQ(flags.quarterTurn, c.turns & 1) << "width and height exchange with odd turns";

  const int width = 5, height = 3;
  const PixelRect bounds = {0, 0, width, height};
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      PixelPoint p = {x, y};
      MapPointToPreview(&p, &bounds, flags.flipX, flags.flipY, flags.quarterTurn);
      const PixelPoint expected = ShownPosition(PixelPoint{x, y}, width, height, c);
      EXPECT_EQ(p.x, expected.x) << "pixel " << x << "," << y;
      EXPECT_EQ(p.y, expected.y) << "pixel " << x << "," << y;
    }
  }
}

TEST_P(OrientationTableRows, CurrentStateReadsItsRow) {
  const Choice c = choice();
  SetPreviewOrientation(c.mirrorH ? 7 : 0, c.mirrorV ? 9 : 0, c.turns);  // any non-zero mirror counts as 1
  const OrientationFlags& flags = OrientationTableRow(c.mirrorH, c.mirrorV, c.turns);
  EXPECT_EQ(OrientationFlipX(), flags.flipX);
  EXPECT_EQ(OrientationFlipY(), flags.flipY);
  EXPECT_EQ(OrientationSwapAxes(), flags.quarterTurn);
}

INSTANTIATE_TEST_SUITE_P(All16, OrientationTableRows, ::testing::Range(0, 16));

TEST(PreviewOrientation, BothMirrorsAndTwoTurnsAreTheIdentity) {
  const OrientationFlags& flags = OrientationTableRow(1, 1, 2);
  EXPECT_EQ(flags.flipX | flags.flipY | flags.quarterTurn | flags.rowsReversed, 0);
}

TEST(PreviewOrientation, FourQuarterTurnsAndTwoTogglesReturnToTheStart) {
  SetPreviewOrientation(1, 0, 2);
  for (int i = 0; i < 4; ++i) RotatePreviewQuarter();
  EXPECT_EQ(PreviewQuarterTurns(), 2);
  ToggleMirrorH();
  ToggleMirrorV();
  EXPECT_EQ(PreviewMirrorH(), 0);
  EXPECT_EQ(PreviewMirrorV(), 1);
  ToggleMirrorH();
  ToggleMirrorV();
  EXPECT_EQ(PreviewMirrorH(), 1);
  EXPECT_EQ(PreviewMirrorV(), 0);
}

TEST(PreviewOrientationRecord, TypeIdNameAndBytes) {
  EXPECT_EQ(kPreviewOrientationRecordType, 'P' | 'v' << 8 | 'O' << 16 | static_cast<uint32_t>('t') << 24);
  EXPECT_EQ(kPreviewOrientationRecordId, 128);
  EXPECT_EQ(std::string(kPreviewOrientationRecordName), "pPreviewOrientation");
  EXPECT_EQ(kPreviewOrientationRecordSize, 8u);

  SetPreviewOrientation(1, 0, 3);
  uint8_t bytes[8];
  PreviewOrientationRecordBytes(bytes);
  const uint8_t expected[8] = {1, 0, 0, 0, 1, 0, 3, 0};
  EXPECT_EQ(std::memcmp(bytes, expected, 8), 0);
}

struct RecordCase {
  const char* what;
  uint8_t bytes[10];
  uint32_t size;
  bool taken;
};

class PreviewOrientationRecordLoad : public ::testing::TestWithParam<RecordCase> {};

TEST_P(PreviewOrientationRecordLoad, TakesOnlyAValidEightByteRecord) {
  const RecordCase& c = GetParam();
  SetPreviewOrientation(1, 1, 1);
  EXPECT_EQ(LoadPreviewOrientationRecord(c.bytes, c.size), c.taken) << c.what;
  uint8_t state[8];
  PreviewOrientationRecordBytes(state);
  const uint8_t fallback[8] = {1, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(std::memcmp(state, c.taken ? c.bytes : fallback, 8), 0) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Records, PreviewOrientationRecordLoad,
    ::testing::Values(RecordCase{"valid", {1, 0, 0, 0, 0, 1, 2, 0}, 8, true},
                      RecordCase{"6 bytes", {1, 0, 0, 0, 0, 1, 2, 0}, 6, false},
                      RecordCase{"10 bytes", {1, 0, 0, 0, 0, 1, 2, 0, 0, 0}, 10, false},
                      RecordCase{"not valid", {0, 0, 0, 0, 0, 1, 2, 0}, 8, false},
                      RecordCase{"turns beyond 3", {1, 0, 0, 0, 0, 1, 4, 0}, 8, false}));

TEST(PreviewOrientationRecord, NoRecordGivesTheDefault) {
  SetPreviewOrientation(1, 1, 3);
  EXPECT_FALSE(LoadPreviewOrientationRecord(nullptr, 0));
  EXPECT_EQ(PreviewMirrorH(), 0);
  EXPECT_EQ(PreviewMirrorV(), 0);
  EXPECT_EQ(PreviewQuarterTurns(), 0);
}

}  // namespace
