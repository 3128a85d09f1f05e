// PackBits rows, the fixed header and image-resource blocks.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "readers/psd/psd_format.h"

namespace {

struct PackCase {
  const char* name;
  std::vector<uint8_t> packed;
  uint32_t rowBytes;
  bool sound;
  std::vector<uint8_t> row;
};

class PackBits : public ::testing::TestWithParam<PackCase> {};

TEST_P(PackBits, UnpacksAtMostOneRow) {
  const PackCase& c = GetParam();
  // A guard byte behind the row must survive every case.
  std::vector<uint8_t> row(c.rowBytes + 1, 0xEE);
  EXPECT_EQ(UnpackBitsRow(c.packed.data(), static_cast<uint32_t>(c.packed.size()), row.data(), c.rowBytes), c.sound);
  EXPECT_EQ(row.back(), 0xEE);
  row.pop_back();
  EXPECT_EQ(row, c.row);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, PackBits,
    ::testing::Values(
        PackCase{"Literal", {2, 1, 2, 3}, 3, true, {1, 2, 3}},
        PackCase{"Run", {0xFE, 7}, 3, true, {7, 7, 7}},
        PackCase{"Mixed", {0, 9, 0xFF, 4, 1, 5, 6}, 5, true, {9, 4, 4, 5, 6}},
        PackCase{"NoOpSkipped", {0x80, 1, 1, 2}, 2, true, {1, 2}},
        PackCase{"RunPastRow", {0xFD, 7}, 3, false, {0, 0, 0}},
        PackCase{"LiteralPastRow", {0, 1, 3, 2, 3, 4, 5}, 3, false, {1, 0, 0}},
        PackCase{"LiteralPastData", {4, 1, 2}, 5, false, {0, 0, 0, 0, 0}},
        PackCase{"RunWithoutByte", {0, 8, 0xFE}, 3, false, {8, 0, 0}},
        PackCase{"DataEndsEarly", {0, 8}, 3, false, {8, 0, 0}},
        PackCase{"ExtraDataIgnored", {0xFF, 1, 0, 9}, 2, true, {1, 1}}),
    [](const ::testing::TestParamInfo<PackCase>& info) { return info.param.name; });

TEST(PsdHeader, ReadsBigEndianFields) {
  const uint8_t bytes[kPsdHeaderBytes] = {'8', 'B', 'P', 'S', 0, 1, 0, 0, 0, 0, 0, 0, 0, 3,
                                          0, 0, 1, 2, 0, 0, 0, 0x30, 0, 16, 0, 3};
  PsdHeader header = ParsePsdHeader(bytes);
  EXPECT_EQ(header.channels, 3);
  EXPECT_EQ(header.height, 258u);
  EXPECT_EQ(header.width, 0x30u);
  EXPECT_EQ(header.depth, 16);
  EXPECT_EQ(header.mode, 3);
  EXPECT_EQ(PsdSamplesPerPixel(1), 1);
  EXPECT_EQ(PsdSamplesPerPixel(3), 3);
  EXPECT_EQ(PsdSamplesPerPixel(4), 0);
}

std::string Block(uint16_t id, const std::string& name, const std::string& data) {
  std::string block = "8BIM";
  block += char(id >> 8);
  block += char(id & 0xFF);
  block += char(name.size());
  block += name;
  if ((name.size() + 1) % 2) block += '\0';
  for (int shift = 24; shift >= 0; shift -= 8) block += char((data.size() >> shift) & 0xFF);
  block += data;
  if (data.size() % 2) block += '\0';
  return block;
}

bool Find(const std::string& blocks, uint16_t id, ImageResourceView* view) {
  return FindImageResourceBlock(reinterpret_cast<const uint8_t*>(blocks.data()), static_cast<uint32_t>(blocks.size()),
                                id, view);
}

TEST(ImageResources, WalksPaddedNamesAndData) {
  std::string blocks = Block(1000, "", "abc") + Block(1005, "res", "0123456789abcdef") + Block(1039, "x", "ICC");
  ImageResourceView view;
  ASSERT_TRUE(Find(blocks, 1005, &view));
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(view.data), view.size), "0123456789abcdef");
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(view.name), 4), "\x03res");
  ASSERT_TRUE(Find(blocks, 1039, &view));
  EXPECT_EQ(view.size, 3u);
  EXPECT_FALSE(Find(blocks, 1033, &view));
}

TEST(ImageResources, BlocksRunningPastTheEndAreNotTrusted) {
  std::string good = Block(1000, "", "abc");
  std::string blocks = good + Block(1005, "", std::string(16, 'r'));
  ImageResourceView view;
  for (size_t cut = good.size(); cut < blocks.size(); ++cut) {
    EXPECT_FALSE(Find(blocks.substr(0, cut), 1005, &view)) << cut;
  }
  std::string hugeName = good + "8BIM" + char(0x03) + char(0xED) + char(200) + "ab";
  EXPECT_FALSE(Find(hugeName, 1005, &view));
  EXPECT_FALSE(Find("", 1005, &view));
}

}  // namespace
