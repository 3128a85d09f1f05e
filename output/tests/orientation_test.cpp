// The writers' orientation table, and frames of every mirror and turn choice
// through the test writer: the output files are checked here against the
// image and by numpy (check_orientation.py) against rot90 and flips of the
// unoriented file.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "frames/orientation/preview_orientation.h"
#include "output/orientation_table.h"
#include "output/tests/writer_test_support.h"

namespace {

TEST(OrientationTableTest, RowsOfTheSixFlags) {
  const uint8_t kRows[16][6] = {
      {0, 0, 0, 0, 0, 0}, {0, 0, 1, 0, 0, 0}, {1, 1, 0, 0, 1, 1}, {1, 1, 1, 1, 0, 0},
      {0, 1, 0, 0, 1, 1}, {1, 0, 1, 1, 0, 0}, {1, 0, 0, 0, 0, 1}, {0, 1, 1, 0, 0, 0},
      {1, 0, 0, 0, 0, 1}, {0, 1, 1, 0, 0, 0}, {0, 1, 0, 0, 1, 1}, {1, 0, 1, 1, 0, 0},
      {1, 1, 0, 0, 1, 1}, {1, 1, 1, 1, 0, 0}, {0, 0, 0, 0, 0, 0}, {0, 0, 1, 0, 0, 0},
  };
  for (uint32_t row = 0; row < 16; ++row) {
    const uint8_t mirrorH = (row >> 3) & 1, mirrorV = (row >> 2) & 1;
    const uint16_t turns = row & 3;
    const uint32_t index = WriterOrientationIndex(mirrorH, mirrorV, static_cast<uint16_t>(turns + 4));
    ASSERT_EQ(index, row);
    const WriterOrientation& flags = WriterOrientationRow(index);
    const uint8_t got[6] = {flags.reverseEachRow, flags.reverseRowOrder, flags.exchangeAxes,
                            flags.blocksFromEnd,  flags.readBackwards,   flags.rowsStayRows};
    for (int f = 0; f < 6; ++f) EXPECT_EQ(got[f], kRows[row][f]) << "row " << row << " flag " << char('A' + f);
    // The first three are the preview's own flags.
    const OrientationFlags& preview = OrientationTableRow(mirrorH, mirrorV, turns);
    EXPECT_EQ(preview.flipX, flags.reverseEachRow);
    EXPECT_EQ(preview.flipY, flags.reverseRowOrder);
    EXPECT_EQ(preview.quarterTurn, flags.exchangeAxes);
  }
}

struct KindCase {
  const char* name;
  const char* image;
  int bits;
  bool rgb;
  uint32_t rows;  // 0: all of the image
};

// Frames that are not square, so that a turn shows.
const KindCase kKinds[] = {
    {"rgb16", "scan_rgb48", 16, true, 40},
    {"grey8", "scan_small_grey8", 8, false, 0},
    {"rgb8", "scan_small_rgb24", 8, true, 0},
    {"lineart", "scan_small_grey8", 1, false, 0},
};

class OrientedWriteTest : public WriterTest, public ::testing::WithParamInterface<std::tuple<KindCase, int>> {};

// The sample at (x, y) of the oriented image: mirrors first, then a quarter turn clockwise.
uint16_t ExpectedAt(const ExpectedImage& image, const WriterOrientation& o, int32_t width, int32_t height, int32_t X,
                    int32_t Y, int32_t c) {
  int32_t x1 = X, y1 = Y;
  if (o.exchangeAxes) {
    x1 = Y;
    y1 = height - 1 - X;
  }
  const int32_t x = o.reverseEachRow ? width - 1 - x1 : x1;
  const int32_t y = o.reverseRowOrder ? height - 1 - y1 : y1;
  return image.At(static_cast<uint32_t>(x), static_cast<uint32_t>(y), static_cast<uint32_t>(c));
}

TEST_P(OrientedWriteTest, OutputIsTheOrientedFrame) {
  const KindCase kind = std::get<0>(GetParam());
  const int row = std::get<1>(GetParam());
  FrameRecord frame = OpenFrame(kind.image, kind.bits, kind.rgb, kind.rows);
  const ExpectedImage expected = kind.bits == 16 ? LoadExpected(kind.image) : ReadStraight(kind.image, frame);
  frame.mirrorH = (row >> 3) & 1;
  frame.mirrorV = (row >> 2) & 1;
  frame.quarterTurns = row & 3;
  const std::string name = std::string("oriented_") + kind.name + "_row" + std::to_string(row);
  // A small block limit: the second pass runs many blocks.
  RawTestWriter writer(name + ".raw", Scratch(name + ".first"), false, 64);
  ASSERT_FALSE(Write(writer, frame));

  const WriterOrientation& o = WriterOrientationRow(static_cast<uint32_t>(row));
  const int32_t width = frame.scanPixelWidth;
  const int32_t height = frame.scanPixelHeight;
  ASSERT_EQ(writer.Columns(), o.exchangeAxes ? height : width);
  ASSERT_EQ(writer.Rows(), o.exchangeAxes ? width : height);
  // No mirror and no turn, or both mirrors with two turns: one pass.
  EXPECT_EQ(writer.FirstPassMade(), row != 0 && row != 14);
  if (writer.FirstPassMade()) {
    EXPECT_GT(writer.blocks.size(), 4u);
  }

  const std::vector<uint8_t> bytes = ReadOutput(name + ".raw");
  const int32_t spp = kind.rgb ? 3 : 1;
  const uint64_t rowBytes = kind.bits == 1 ? (writer.Columns() + 7) / 8 : uint64_t(writer.Columns()) * spp * kind.bits / 8;
  ASSERT_EQ(bytes.size(), rowBytes * writer.Rows());
  int mismatches = 0;
  for (int32_t y = 0; y < writer.Rows() && mismatches < 5; ++y)
    for (int32_t x = 0; x < writer.Columns() && mismatches < 5; ++x)
      for (int32_t c = 0; c < spp; ++c) {
        uint16_t want = ExpectedAt(expected, o, width, height, x, y, c);
        if (kind.bits == 1) want = want < 128 ? 1 : 0;
        const uint16_t got = SampleAt(bytes, writer.Columns(), spp, kind.bits, x, y, c);
        if (got != want) {
          ADD_FAILURE() << "at " << x << "," << y << " plane " << c << ": " << got << " for " << want;
          ++mismatches;
        }
      }
  // For the numpy check: width, height, samples per pixel, bits and the user's choice.
  std::ofstream(name + ".txt") << writer.Columns() << " " << writer.Rows() << " " << spp << " " << kind.bits << " "
                               << int(frame.mirrorH) << " " << int(frame.mirrorV) << " " << frame.quarterTurns
                               << "\n";
}

INSTANTIATE_TEST_SUITE_P(KindsAndRows, OrientedWriteTest,
                         ::testing::Combine(::testing::ValuesIn(kKinds), ::testing::Range(0, 16)),
                         [](const ::testing::TestParamInfo<std::tuple<KindCase, int>>& info) {
                           return std::string(std::get<0>(info.param).name) + "_row" +
                                  std::to_string(std::get<1>(info.param));
                         });

}  // namespace
