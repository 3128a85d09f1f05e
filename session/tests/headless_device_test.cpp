// The road of a session without any window: a recent image and the `SCAN`
// record of its row in the application store, the device opened from them.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "foundation/dialogs/testing/scoped_prompts.h"
#include "foundation/record_store.h"
#include "records/frame_record.h"
#include "session/device_chooser.h"
#include "session/device_layer.h"
#include "session/device_read.h"
#include "session/device_state.h"
#include "session/device_table.h"
#include "session/tests/session_test_environment.h"
#include "state/data_source_state.h"

namespace {

constexpr RecordType kScanRecordType = TagFromString("SCAN");
constexpr int32_t kScanRecordId = 128;

class HeadlessDeviceTest : public SessionTest {
 protected:
  // The stores as an earlier session left them: image 1 is the 48-bit scan, and it was the device used last.
  void SetUp() override {
    SessionTest::SetUp();
    char path[kRecentImagePathSize] = {};
    std::strncpy(path, Fixture("rgb48.tif").c_str(), sizeof path - 1);
    ASSERT_TRUE(RecordStoreAdd(gAppStore, kRecentImageType, 1, path, sizeof path, "rgb48.tif"));
    DeviceTable table;
    ASSERT_EQ(BuildDeviceTable(&table), 3);
    ASSERT_TRUE(RecordStoreAdd(gAppStore, kScanRecordType, kScanRecordId, &table.entries[2], sizeof(DeviceEntry), ""));
  }

  // Opens the device recorded as `SCAN`, answering no prompt at all.
  void OpenRecordedDevice() {
    ScopedPrompts noWindows;
    DeviceEntry recorded;
    ASSERT_TRUE(RecordStoreRead(gAppStore, kScanRecordType, kScanRecordId, &recorded, sizeof recorded));
    BuildDeviceTable(&gDeviceTable);
    ASSERT_TRUE(OpenSourceDevice(recorded));
    ASSERT_TRUE(LoadImageGeometry());
    ResetDeviceStatus();
    EXPECT_TRUE(noWindows.Asked().empty());
  }
};

TEST_F(HeadlessDeviceTest, OpensTheRecordedImage) {
  OpenRecordedDevice();
  EXPECT_STREQ(gImagePath, Fixture("rgb48.tif").c_str());
  EXPECT_EQ(gDeviceLayer.deviceIndex, 2);
  EXPECT_TRUE(gDataSourceState.deviceHas16Bits);
  EXPECT_EQ(gDeviceLayer.imageWidth, 64u);
  EXPECT_EQ(gDeviceLayer.imageHeight, 40u);
  EXPECT_EQ(gDeviceLayer.openedInfo.samplesPerPixel, 3);
  EXPECT_EQ(gDeviceLayer.openedInfo.bitsPerSample, 16);
  ASSERT_EQ(gResolutionList.count, 4);
  EXPECT_EQ(gResolutionList.values[3], 300);
}

// The whole image as a 16-bit colour frame whose pixel size follows the resolution.
FrameRecord WholeImageFrame(uint16_t resolution, uint8_t bits) {
  FrameRecord frame = {};
  frame.colorMode = 2;
  frame.bitsPerChannel = bits;
  frame.width = 64.0 / 300;
  frame.height = 40.0 / 300;
  frame.scanPixelWidth = static_cast<uint16_t>(64 * resolution / 300);
  frame.scanPixelHeight = static_cast<uint16_t>(40 * resolution / 300);
  return frame;
}

// The samples the generator put into the image, as its .expect file lists them.
std::vector<uint16_t> ExpectedSamples(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  uint32_t head[4] = {};
  file.read(reinterpret_cast<char*>(head), sizeof head);
  std::vector<uint16_t> samples(head[0] * head[1] * head[2]);
  file.read(reinterpret_cast<char*>(samples.data()), static_cast<std::streamsize>(samples.size() * 2));
  return samples;
}

// Reads every line of the frame in bands; the planar rows one after the other.
std::vector<uint16_t> ReadAllLines(const FrameRecord& frame, int* bands) {
  const size_t rowSamples = frame.scanPixelWidth * 3u;
  std::vector<uint16_t> image(rowSamples * frame.scanPixelHeight);
  uint32_t row = 0;
  *bands = 0;
  while (row < frame.scanPixelHeight) {
    uint32_t made = 0;
    EXPECT_TRUE(ReadDeviceLines(false, reinterpret_cast<uint8_t*>(image.data() + row * rowSamples),
                                frame.scanPixelHeight - row, &made));
    if (made == 0) break;
    row += made;
    ++*bands;
  }
  EXPECT_EQ(row, frame.scanPixelHeight);
  return image;
}

TEST_F(HeadlessDeviceTest, ReadsTheImageInBandsAtTwoResolutions) {
  OpenRecordedDevice();
  std::vector<uint16_t> source = ExpectedSamples(Fixture("rgb48.expect"));

  FrameRecord full = WholeImageFrame(300, 16);
  ASSERT_TRUE(StartDeviceRead(&full, false)) << gDeviceErrorWord;
  int bands = 0;
  std::vector<uint16_t> image = ReadAllLines(full, &bands);
  EXPECT_GT(bands, 1) << "read in bands";
  // At the image's own resolution every sample comes through; rows hold red, green and blue planes.
  for (uint32_t y = 0; y < 40; ++y)
    for (uint32_t x = 0; x < 64; ++x)
      for (uint32_t c = 0; c < 3; ++c)
        ASSERT_EQ(image[(y * 3 + c) * 64 + x], source[(y * 64 + x) * 3 + c]) << x << "," << y << " c" << c;
  EXPECT_EQ(gDeviceLayer.read.reader, nullptr) << "the reader is gone after the last line";

  FrameRecord half = WholeImageFrame(150, 16);
  ASSERT_TRUE(StartDeviceRead(&half, false)) << gDeviceErrorWord;
  image = ReadAllLines(half, &bands);
  // The first sample of every plane is the image's own first sample.
  for (uint32_t c = 0; c < 3; ++c) EXPECT_EQ(image[c * 32], source[c]) << "channel " << c;
}

TEST_F(HeadlessDeviceTest, OtherFormatsOfTheSameImage) {
  OpenRecordedDevice();
  struct Case {
    uint8_t colorMode;
    uint8_t bits;
    uint32_t rowBytes;  // of a 32-pixel row
  };
  for (const Case& c : {Case{2, 8, 96}, Case{0, 8, 32}, Case{0, 16, 64}, Case{0, 1, 4}}) {
    FrameRecord frame = WholeImageFrame(150, c.bits);
    frame.colorMode = c.colorMode;
    ASSERT_TRUE(StartDeviceRead(&frame, false)) << "mode " << int{c.colorMode} << ", " << int{c.bits} << " bits";
    std::vector<uint8_t> image(c.rowBytes * 20 + 16, 0xEE);
    uint32_t row = 0, made = 0;
    while (row < 20 && ReadDeviceLines(false, image.data() + row * c.rowBytes, 20 - row, &made) && made > 0)
      row += made;
    EXPECT_EQ(row, 20u) << "mode " << int{c.colorMode} << ", " << int{c.bits} << " bits";
    EXPECT_EQ(image[c.rowBytes * 20], 0xEE) << "nothing written past the last row";
    EXPECT_EQ(gDeviceLayer.read.reader, nullptr);
  }
}

TEST_F(HeadlessDeviceTest, FailedStartsLeaveTheirErrorWord) {
  OpenRecordedDevice();
  FrameRecord frame = WholeImageFrame(150, 8);
  struct Case {
    const char* image;
    uint16_t error;
    bool alert;
  };
  for (const Case& c : {Case{"rgb48.expect", kDeviceErrorReaderObject, false},
                        Case{"missing.tif", kDeviceErrorOpenFile, false},
                        Case{"broken.tif", kDeviceErrorFile, true}}) {
    ScopedPrompts prompts;
    if (c.alert) prompts.Reply(kAnswerOk);
    std::snprintf(gImagePath, sizeof gImagePath, "%s", Fixture(c.image).c_str());
    EXPECT_FALSE(StartDeviceRead(&frame, false)) << c.image;
    EXPECT_EQ(gDeviceErrorWord, c.error) << c.image;
    if (c.alert) {
      EXPECT_EQ(prompts.Asked(0).title, "Fehler");
    }
    EXPECT_EQ(gDeviceLayer.read.reader, nullptr);
    EXPECT_EQ(gDeviceLayer.read.sourceBuffer, nullptr);
  }
}

TEST_F(HeadlessDeviceTest, FinishEndsTheReadEarly) {
  OpenRecordedDevice();
  FrameRecord frame = WholeImageFrame(300, 16);
  ASSERT_TRUE(StartDeviceRead(&frame, false));
  std::vector<uint16_t> band(64 * 3 * 40);
  uint32_t made = 0;
  ASSERT_TRUE(ReadDeviceLines(false, reinterpret_cast<uint8_t*>(band.data()), 5, &made));
  EXPECT_EQ(made, 5u);
  ASSERT_TRUE(ReadDeviceLines(true, reinterpret_cast<uint8_t*>(band.data()), 5, &made));
  EXPECT_EQ(made, 0u);
  EXPECT_EQ(gDeviceLayer.read.reader, nullptr);
}

}  // namespace
