// Opening an image as the device: resolution list, header, description and
// the small answers of the facade.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/memory.h"
#include "session/device_layer.h"
#include "session/device_state.h"
#include "session/tests/session_test_environment.h"
#include "state/data_source_state.h"

namespace {

struct ResolutionCase {
  uint32_t imageResolution;
  std::vector<uint16_t> expected;
};

class ResolutionListTest : public ::testing::TestWithParam<ResolutionCase> {};

TEST_P(ResolutionListTest, DoublesFromFiftyUpToTheImage) {
  ResolutionList list = {};
  BuildResolutionList(GetParam().imageResolution, &list);
  EXPECT_EQ(std::vector<uint16_t>(list.values, list.values + list.count), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Images, ResolutionListTest,
                         ::testing::Values(ResolutionCase{300, {50, 100, 200, 300}}, ResolutionCase{72, {50, 72}},
                                           ResolutionCase{50, {50}}, ResolutionCase{40, {40}},
                                           ResolutionCase{200, {50, 100, 200}},
                                           ResolutionCase{4000, {50, 100, 200, 400, 800, 1600, 3200, 4000}}));

using DeviceLayerTest = SessionTest;

TEST_F(DeviceLayerTest, OpensA48BitScan) {
  ASSERT_TRUE(OpenImageDevice(Fixture("rgb48.tif").c_str()));
  EXPECT_STREQ(gImagePath, Fixture("rgb48.tif").c_str());
  EXPECT_TRUE(gDataSourceState.deviceHas16Bits);
  EXPECT_EQ(gDeviceLayer.imageWidth, 64u);
  EXPECT_EQ(gDeviceLayer.imageHeight, 40u);
  EXPECT_EQ(gDeviceLayer.scanAreaWidth, 64u);
  EXPECT_EQ(gDeviceLayer.scanAreaHeight, 40u);
  ASSERT_EQ(gResolutionList.count, 4);
  EXPECT_EQ(gDeviceLayer.minResolution, 50);
  EXPECT_EQ(gDeviceLayer.maxResolution, 300);
  EXPECT_EQ(gDeviceLayer.geometryInfo.bitsPerSample, 16);
  const DeviceDescription& description = gDeviceLayer.description;
  EXPECT_EQ(description.bitsPerSample, 16);
  EXPECT_EQ(description.bitsPerPixel, 48);
  EXPECT_EQ(description.minResolution, 10);
  EXPECT_EQ(description.maxResolution, 1000);
  EXPECT_TRUE(description.has16Bits);
}

TEST_F(DeviceLayerTest, GreyImageOfSeventyTwoDpi) {
  ASSERT_TRUE(OpenImageDevice(Fixture("grey72.tif").c_str()));
  EXPECT_FALSE(gDataSourceState.deviceHas16Bits);
  EXPECT_EQ(std::vector<uint16_t>(gResolutionList.values, gResolutionList.values + gResolutionList.count),
            std::vector<uint16_t>({50, 72}));
  EXPECT_EQ(gDeviceLayer.description.bitsPerPixel, 24);
}

TEST_F(DeviceLayerTest, BadFileLeavesTheDeviceAsItWas) {
  ASSERT_TRUE(OpenImageDevice(Fixture("grey72.tif").c_str()));
  for (const char* bad : {"broken.tif", "missing.tif", "grey72.expect"})
    EXPECT_FALSE(OpenImageDevice(Fixture(bad).c_str())) << bad;
  EXPECT_STREQ(gImagePath, Fixture("grey72.tif").c_str());
  EXPECT_EQ(gDeviceLayer.imageWidth, 20u);
}

TEST_F(DeviceLayerTest, OpenRowTakesTheImageName) {
  BuildDeviceTable(&gDeviceTable);
  gDeviceLayer.deviceIndex = 1;
  ASSERT_TRUE(OpenImageDevice(Fixture("grey40.tif").c_str()));
  const uint8_t* name = gDeviceTable.entries[1].name;
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(name + 1), name[0]), "grey40.tif");
  EXPECT_EQ(gResolutionList.count, 1);
  EXPECT_EQ(gResolutionList.values[0], 40);
}

TEST_F(DeviceLayerTest, IdentifierIsKindTwoWithACopyOfThePath) {
  ASSERT_TRUE(OpenImageDevice(Fixture("grey72.tif").c_str()));
  uint16_t kind = 0;
  char* data = nullptr;
  ASSERT_TRUE(GetDeviceIdentifier(&kind, &data));
  EXPECT_EQ(kind, 2);
  EXPECT_STREQ(data, Fixture("grey72.tif").c_str());
  EXPECT_NE(data, gImagePath);
  FreeBlock(data);
}

TEST_F(DeviceLayerTest, AvailableWithoutAnImage) {
  EXPECT_EQ(gImagePath[0], '\0');
  EXPECT_TRUE(IsDeviceAvailable());
  uint16_t kind = 0;
  char* data = nullptr;
  ASSERT_TRUE(GetDeviceIdentifier(&kind, &data));
  EXPECT_EQ(kind, 2);
  FreeBlock(data);
}

TEST_F(DeviceLayerTest, TextFieldsComeThroughASideReader) {
  struct Case {
    const char* image;
    const char* documentName;
    const char* artist;
  };
  for (const Case& c : {Case{"profiled.tif", "Scan 7", "Quill"}, Case{"grey72.tif", "", ""}}) {
    ASSERT_TRUE(OpenImageDevice(Fixture(c.image).c_str()));
    std::vector<char> fields(1024, 'x');
    GetImageTextFields(fields.data());
    EXPECT_STREQ(fields.data(), c.documentName);
    EXPECT_STREQ(fields.data() + 512, c.artist);
    EXPECT_EQ(gDeviceLayer.sideReader, nullptr);
  }
}

TEST_F(DeviceLayerTest, EmbeddedProfileOnlyWhenItIsOne) {
  ASSERT_TRUE(OpenImageDevice(Fixture("profiled.tif").c_str()));
  uint32_t size = 0;
  uint8_t name[256] = {};
  uint8_t* profile = GetEmbeddedProfile(1039, &size, name);
  ASSERT_NE(profile, nullptr);
  EXPECT_EQ(size, 160u);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(profile + 36), 4), "acsp");
  EXPECT_EQ(std::string(reinterpret_cast<char*>(name + 1), name[0]), "ICC");
  FreeBlock(profile);
  for (uint16_t id : {1040, 1041}) {
    EXPECT_EQ(GetEmbeddedProfile(id, &size, name), nullptr) << id;
    EXPECT_EQ(size, 0u);
  }
  EXPECT_EQ(GetImageColorTransform(), nullptr) << "no read is open";
}

TEST_F(DeviceLayerTest, OleIsUndoneOnlyAfterASuccess) {
  EXPECT_TRUE(InitializeOle());
  EXPECT_GE(gDeviceLayer.oleResult, 0);
  EXPECT_TRUE(UninitializeOle());
  EXPECT_LT(gDeviceLayer.oleResult, 0);
  EXPECT_TRUE(UninitializeOle());
}

}  // namespace

struct FrameAreaCase {
  uint32_t colorMode;
  uint8_t bits;
  uint16_t result;
  uint16_t width, height;
};

class FrameAreaTest : public testing::TestWithParam<FrameAreaCase> {};

// 1.01 x 0.51 inches at 100 dpi and 100 % (16.16 scales): 101 x 51 pixels.
TEST_P(FrameAreaTest, EightBitColourFramesGetEvenSizes) {
  const FrameAreaCase& c = GetParam();
  FrameRecord frame = {};
  frame.colorMode = c.colorMode;
  frame.bitsPerChannel = c.bits;
  frame.scanResolutionX = frame.scanResolutionY = 100;
  frame.fixedScaleX = frame.fixedScaleY = 100 << 16;
  EXPECT_EQ(ComputeFrameArea(0.0, 0.0, 1.01, 0.51, &frame), c.result);
  EXPECT_EQ(frame.scanPixelWidth, c.width);
  EXPECT_EQ(frame.scanPixelHeight, c.height);
  EXPECT_EQ(ComputeFrameArea(0.0, 0.0, 0.01, 0.01, &frame), c.result);
  EXPECT_EQ(frame.scanPixelWidth, c.result ? 2 : 1);
}

INSTANTIATE_TEST_SUITE_P(Cases, FrameAreaTest,
                         testing::Values(FrameAreaCase{2, 8, kEvenFrameSizes, 100, 50},
                                         FrameAreaCase{3, 8, kEvenFrameSizes, 100, 50}, FrameAreaCase{2, 16, 0, 101, 51},
                                         FrameAreaCase{0, 8, 0, 101, 51}, FrameAreaCase{0, 1, 0, 101, 51}));
