// The preview orientation round trip through a real device store.
#include <gtest/gtest.h>

#include <cstdint>

#include "foundation/file_io.h"
#include "foundation/record_store.h"
#include "frames/orientation/preview_orientation.h"
#include "state/data_source_state.h"
#include "ui/preview_orientation_store.h"

namespace {

class PreviewOrientationStore : public ::testing::Test {
 protected:
  void SetUp() override {
    DeleteFileAt(kPath);
    gDeviceStore = OpenFileReadWrite(kPath);
    ASSERT_NE(gDeviceStore, nullptr);
  }
  void TearDown() override {
    CloseFile(gDeviceStore);
    gDeviceStore = nullptr;
    DeleteFileAt(kPath);
  }
  int Count() { return RecordStoreCount(gDeviceStore, kPreviewOrientationRecordType); }

  static constexpr const char* kPath = "orientation_store.prf";
};

TEST_F(PreviewOrientationStore, SaveReplacesEveryRecordAndLoadReadsItBack) {
  const uint8_t stale[8] = {1, 0, 0, 0, 0, 0, 0, 0};
  ASSERT_TRUE(RecordStoreAdd(gDeviceStore, kPreviewOrientationRecordType, 300, stale, 8, "alt"));
  ASSERT_TRUE(RecordStoreAdd(gDeviceStore, kPreviewOrientationRecordType, 301, stale, 8, "alt"));
  SetPreviewOrientation(1, 0, 3);
  SavePreviewOrientation();
  EXPECT_EQ(Count(), 1);
  char name[64];
  ASSERT_TRUE(RecordStoreNameByIndex(gDeviceStore, kPreviewOrientationRecordType, 1, name));
  EXPECT_STREQ(name, "pPreviewOrientation");

  SetPreviewOrientation(0, 0, 0);
  EXPECT_TRUE(LoadPreviewOrientation());
  EXPECT_EQ(PreviewMirrorH(), 1);
  EXPECT_EQ(PreviewMirrorV(), 0);
  EXPECT_EQ(PreviewQuarterTurns(), 3);
}

TEST_F(PreviewOrientationStore, WrongSizedOrMissingRecordGivesTheDefault) {
  SetPreviewOrientation(1, 1, 1);
  EXPECT_FALSE(LoadPreviewOrientation()) << "no record";
  EXPECT_EQ(PreviewQuarterTurns(), 0);

  const uint8_t tenBytes[10] = {1, 0, 0, 0, 1, 1, 2, 0, 0, 0};
  ASSERT_TRUE(RecordStoreAdd(gDeviceStore, kPreviewOrientationRecordType, 128, tenBytes, 10, "x"));
  SetPreviewOrientation(1, 1, 1);
  EXPECT_FALSE(LoadPreviewOrientation());
  EXPECT_EQ(PreviewMirrorH(), 0);
  EXPECT_EQ(PreviewQuarterTurns(), 0);
}

}  // namespace
