// The layout converters on small blocks whose samples name their place.
#include "color/pixel_layout.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

// Planar rows: sample value 100 x row + 10 x channel + pixel.
template <typename Sample>
std::vector<Sample> PlanarBlock(int rows, int width, int channels) {
  std::vector<Sample> block;
  for (int y = 0; y < rows; ++y)
    for (int c = 0; c < channels; ++c)
      for (int x = 0; x < width; ++x) block.push_back(static_cast<Sample>(100 * y + 10 * c + x));
  return block;
}

// The same samples as pixels, channels in the given order.
template <typename Sample>
std::vector<Sample> PixelBlock(int rows, int width, const std::vector<int>& order) {
  std::vector<Sample> block;
  for (int y = 0; y < rows; ++y)
    for (int x = 0; x < width; ++x)
      for (int c : order) block.push_back(static_cast<Sample>(100 * y + 10 * c + x));
  return block;
}

TEST(PixelLayout, PlanesToPixelsAndBack) {
  for (int width : {1, 3}) {
    const int rows = 2;
    const auto planes3 = PlanarBlock<uint8_t>(rows, width, 3);
    const auto planes4 = PlanarBlock<uint8_t>(rows, width, 4);
    const auto wide3 = PlanarBlock<uint16_t>(rows, width, 3);
    const auto wide4 = PlanarBlock<uint16_t>(rows, width, 4);
    std::vector<uint8_t> out(planes4.size());
    std::vector<uint16_t> out16(wide4.size());

    Planar3ToInterleaved8(planes3.data(), out.data(), rows, width);
    EXPECT_EQ(std::vector<uint8_t>(out.begin(), out.begin() + planes3.size()), PixelBlock<uint8_t>(rows, width, {0, 1, 2}));
    Planar3ToBgr8(planes3.data(), out.data(), rows, width);
    EXPECT_EQ(std::vector<uint8_t>(out.begin(), out.begin() + planes3.size()), PixelBlock<uint8_t>(rows, width, {2, 1, 0}))
        << "red, green, blue planes give blue, green, red pixels";
    Planar4ToInterleaved8(planes4.data(), out.data(), rows, width);
    EXPECT_EQ(out, PixelBlock<uint8_t>(rows, width, {0, 1, 2, 3}));
    Planar3ToInterleaved16(wide3.data(), out16.data(), rows, width);
    EXPECT_EQ(std::vector<uint16_t>(out16.begin(), out16.begin() + wide3.size()),
              PixelBlock<uint16_t>(rows, width, {0, 1, 2}));
    Planar4ToInterleaved16(wide4.data(), out16.data(), rows, width);
    EXPECT_EQ(out16, PixelBlock<uint16_t>(rows, width, {0, 1, 2, 3}));

    std::vector<uint8_t> back(planes3.size());
    InterleavedToPlanar3x8(PixelBlock<uint8_t>(rows, width, {0, 1, 2}).data(), back.data(), rows, width);
    EXPECT_EQ(back, planes3);
    std::vector<uint16_t> back16(wide3.size());
    InterleavedToPlanar3x16(PixelBlock<uint16_t>(rows, width, {0, 1, 2}).data(), back16.data(), rows, width);
    EXPECT_EQ(back16, wide3);
  }
}

TEST(PixelLayout, NoRowsOrNoWidthLeaveTheTarget) {
  const auto planes = PlanarBlock<uint8_t>(1, 2, 4);
  const auto wide = PlanarBlock<uint16_t>(1, 2, 4);
  for (int rows : {0, -1, 1}) {
    const int width = rows == 1 ? 0 : 2;
    std::vector<uint8_t> target(8, 0xEE);
    std::vector<uint16_t> target16(8, 0xEEEE);
    Planar3ToInterleaved8(planes.data(), target.data(), rows, width);
    Planar4ToInterleaved8(planes.data(), target.data(), rows, width);
    Planar3ToBgr8(planes.data(), target.data(), rows, width);
    InterleavedToPlanar3x8(planes.data(), target.data(), rows, width);
    Planar3ToInterleaved16(wide.data(), target16.data(), rows, width);
    Planar4ToInterleaved16(wide.data(), target16.data(), rows, width);
    InterleavedToPlanar3x16(wide.data(), target16.data(), rows, width);
    EXPECT_EQ(target, std::vector<uint8_t>(8, 0xEE)) << rows << " rows of " << width;
    EXPECT_EQ(target16, std::vector<uint16_t>(8, 0xEEEE)) << rows << " rows of " << width;
  }
}

}  // namespace
