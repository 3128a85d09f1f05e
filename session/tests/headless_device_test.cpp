// The road of a session without any window: a recent image and the `SCAN`
// record of its row in the application store, the device opened from them.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "foundation/dialogs/testing/scoped_prompts.h"
#include "foundation/record_store.h"
#include "session/device_chooser.h"
#include "session/device_layer.h"
#include "session/device_state.h"
#include "session/device_table.h"
#include "session/tests/session_test_environment.h"
#include "twain/data_source_state.h"

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

}  // namespace
