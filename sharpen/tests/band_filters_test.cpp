// The band bookkeeping of the sharpening filters: rows handed on per band,
// rows carried across bands, and the unfiltered borders.
#include <gtest/gtest.h>

#include <vector>

#include "sharpen/tests/band_harness.h"

namespace {

PlanarImage Noise(int32_t width, int32_t rows, int32_t planes) {
  PlanarImage image{width, rows, planes, 8, {}};
  image.data.resize(static_cast<size_t>(rows) * image.RowBytes());
  uint32_t seed = 12345;
  for (uint8_t& v : image.data) {
    seed = seed * 1103515245u + 12345u;
    v = static_cast<uint8_t>(seed >> 24);
  }
  return image;
}

FrameRecord Frame(uint8_t kind, uint8_t matrix, int32_t planes) {
  FrameRecord frame = {};
  frame.colorMode = planes == 3 ? 2 : 1;
  frame.bitsPerChannel = 8;
  frame.filterMode = kind;
  frame.sharpen941 = 2;
  frame.sharpen942 = 150;
  frame.sharpen944 = 100;
  frame.sharpen1488 = 50;
  frame.sharpen1490 = 50;
  frame.sharpenFlag = matrix;
  return frame;
}

struct ReturnsCase {
  const char* name;
  uint8_t kind;
  uint8_t matrix;
  int32_t rows;
  bool releaseCall;
  std::vector<int32_t> want;
};

TEST(SharpenBands, RowsHandedOnPerBand) {
  const ReturnsCase cases[] = {
      {"3 x 3, finished with the last band", 1, 0, 25, false, {9, 10, 6}},
      {"3 x 3, finished by a call without rows", 1, 0, 25, true, {9, 10, 5, 1}},
      {"7 x 7", 1, 2, 25, false, {7, 10, 8}},
      {"7 x 7, released at the end", 1, 2, 25, true, {7, 10, 5, 3}},
      {"descreening only: the bookkeeping", 2, 2, 25, false, {9, 10, 6}},
      {"an image of one band", 1, 1, 7, false, {7}},
      {"first band shorter than the carried rows", 1, 2, 4, true, {1, 3}},
  };
  for (const ReturnsCase& c : cases) {
    const PlanarImage image = Noise(12, c.rows, 3);
    std::vector<int32_t> handedOn;
    const PlanarImage out = SharpenInBands(Frame(c.kind, c.matrix, 3), false, image, 10, c.releaseCall, &handedOn);
    EXPECT_EQ(handedOn, c.want) << c.name;
    EXPECT_EQ(out.rows, c.rows) << c.name;
  }
}

TEST(SharpenBands, KindWithoutFilterPassesRowsUnchanged) {
  const PlanarImage image = Noise(9, 23, 1);
  const PlanarImage out = SharpenInBands(Frame(2, 0, 1), false, image, 10, false);
  EXPECT_EQ(out.data, image.data);
}

// With the 7 x 7 matrix the outer three rows and columns stay as they were,
// however the image is cut into bands.
TEST(SharpenBands, BordersOfTheWidestMatrixStayUnfiltered) {
  const PlanarImage image = Noise(14, 31, 3);
  const PlanarImage whole = SharpenInBands(Frame(1, 2, 3), false, image, 31, false);
  const uint32_t rowBytes = image.RowBytes();
  int changed = 0;
  for (int32_t y = 0; y < image.rows; ++y)
    for (int32_t p = 0; p < 3; ++p)
      for (int32_t x = 0; x < image.width; ++x) {
        const size_t at = y * rowBytes + p * image.width + x;
        const bool border = y < 3 || y >= image.rows - 3 || x < 3 || x >= image.width - 3;
        if (border) EXPECT_EQ(whole.data[at], image.data[at]) << y << "," << x;
        else changed += whole.data[at] != image.data[at];
      }
  EXPECT_GT(changed, 0);
  for (int32_t band : {1, 2, 10}) EXPECT_EQ(SharpenInBands(Frame(1, 2, 3), false, image, band, true).data, whole.data);
}

}  // namespace
