// The session's stores, the device recorded as SCAN, and the frame-count
// records that queue the frames of a batch.
#include <gtest/gtest.h>

#include <cstring>

#include "foundation/dialogs/testing/scoped_prompts.h"
#include "foundation/record_store.h"
#include "frames/frame_list.h"
#include "frames/frame_storage.h"
#include "session/device_state.h"
#include "session/device_table.h"
#include "session/scan_session.h"
#include "session/tests/scan_test_support.h"
#include "state/data_source_state.h"

namespace {

class ScanSessionTest : public ScanTest {
 protected:
  void SetUp() override {
    ScanTest::SetUp();
    gDeviceStore = OpenOrCreateFile("QB (ZIR).prf", scratch_.c_str());
    ASSERT_NE(gDeviceStore, nullptr);
  }
  void TearDown() override {
    DeleteAllFrames();
    CloseFile(gDeviceStore);
    gDeviceStore = nullptr;
    ScanTest::TearDown();
  }

  uint16_t FrameCountValue(int32_t id) {
    uint16_t value = 0;
    EXPECT_TRUE(RecordStoreRead(gDeviceStore, kFrameCountType, id, &value, sizeof value));
    return value;
  }
  int FrameCounts() { return RecordStoreCount(gDeviceStore, kFrameCountType); }

  // Three frames of the small image, told apart by their rows, listed and stored.
  void StoreThreeFrames() {
    for (int i = 0; i < 3; ++i) {
      FrameRecord frame = OpenFrame("scan_small_grey8", 8, false, static_cast<uint32_t>(5 + i));
      AppendFrameNode(NewFrameNode(frame));
    }
    MakeFrameCurrent(1);
    ASSERT_TRUE(SaveFrameList());
    ASSERT_EQ(RecordStoreCount(gDeviceStore, CurrentFrameListType()), 3);
  }
};

TEST_F(ScanSessionTest, BatchOfThreeFramesRunsThroughTheFrameCount) {
  StoreThreeFrames();
  gBatchOutput = true;
  ASSERT_TRUE(PrepareScan());
  EXPECT_EQ(FrameCountValue(kFrameCountReflectiveId), 16001);
  EXPECT_EQ(gBatchIndex, 1);
  EXPECT_EQ(gBatchLast, 3);
  EXPECT_EQ(session_.rows, 5);

  // First end of transfer: frame 16001 with the counters (2, 3), and 16002 queued.
  ReportScannerStatus();
  ASSERT_EQ(FrameCounts(), 1);
  PrepareNextFrame();
  EXPECT_EQ(gSessionEnded, 0);
  EXPECT_EQ(session_.rows, 6);
  EXPECT_EQ(gBatchIndex, 2);
  EXPECT_EQ(gBatchLast, 3);
  EXPECT_EQ(FrameCountValue(kFrameCountReflectiveId), 16002);

  // Second: frame 16002 with (3, 3), nothing queued after it.
  ReportScannerStatus();
  ASSERT_EQ(FrameCounts(), 1);
  PrepareNextFrame();
  EXPECT_EQ(session_.rows, 7);
  EXPECT_EQ(gBatchIndex, 3);
  EXPECT_EQ(gBatchLast, 3);
  EXPECT_EQ(FrameCounts(), 0);
  EXPECT_EQ(session_.transferActive, 0);

  // Third: no frame count left, the transfers return to the idle state and the batch end is told.
  ScopedPrompts batchEnd;
#if defined(_WIN32)
  batchEnd.Reply(kAnswerOk);  // the notice exists only in the product
#endif
  ReportScannerStatus();
  EXPECT_EQ(FrameCounts(), 0);
}

TEST_F(ScanSessionTest, TransparentOriginalsQueueUnderTheirOwnId) {
  gLightSourceFlag = 1;
  StoreThreeFrames();
  gBatchOutput = true;
  ASSERT_TRUE(PrepareScan());
  EXPECT_EQ(FrameCountValue(kFrameCountTransparentId), 16001);
  ReportScannerStatus();
  PrepareNextFrame();
  EXPECT_EQ(gLightSourceFlag, 1);
  EXPECT_EQ(gBatchIndex, 2);
}

TEST_F(ScanSessionTest, NoQueuedFrameEndsTheSession) {
  PrepareNextFrame();
  EXPECT_EQ(gSessionEnded, 1);
}

TEST_F(ScanSessionTest, ClearingRemovesEveryFrameCount) {
  const uint16_t value = 16001;
  ASSERT_TRUE(RecordStoreAdd(gDeviceStore, kFrameCountType, kFrameCountReflectiveId, &value, 2, kFrameCountName));
  ASSERT_TRUE(RecordStoreAdd(gDeviceStore, kFrameCountType, kFrameCountTransparentId, &value, 2, kFrameCountName));
  ClearFrameCountRecords();
  EXPECT_EQ(FrameCounts(), 0);
}

TEST_F(ScanSessionTest, SingleFrameWithoutBatchQueuesNothing) {
  StoreThreeFrames();
  ASSERT_TRUE(PrepareScan());
  EXPECT_EQ(FrameCounts(), 0);
  EXPECT_EQ(gBatchIndex, 0);
}

TEST_F(ScanSessionTest, SelectedDeviceIsWrittenAndOpenedAgain) {
  ASSERT_TRUE(TakeImage(Fixture("scan_small_rgb24.tif")));
  const uint16_t row = gDeviceLayer.deviceIndex;
  SaveSelectedDevice();
  DeviceEntry recorded;
  ASSERT_TRUE(RecordStoreRead(gAppStore, kScanDeviceType, kScanDeviceId, &recorded, sizeof recorded));
  EXPECT_EQ(recorded.index, row);
  uint32_t size = 0;
  ASSERT_TRUE(RecordStoreSize(gAppStore, kScanDeviceType, kScanDeviceId, &size));
  EXPECT_EQ(size, 140u);

  gDeviceLayer.imagePath[0] = '\0';
  ASSERT_TRUE(SelectSourceDevice());
  EXPECT_EQ(gDeviceLayer.deviceIndex, row);
  EXPECT_NE(std::strstr(gDeviceLayer.imagePath, "scan_small_rgb24.tif"), nullptr);
}

}  // namespace
