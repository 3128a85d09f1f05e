// The frame list in the device store: saving, loading with its repairs, the
// stand-in frame, and records that must not be taken.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "foundation/record_store.h"
#include "frames/frame_list.h"
#include "frames/frame_storage.h"
#include "frame_store_fixture.h"

namespace {

const RecordType kReflectiveList = TagFromString("EFrA");

using FrameStorageTest = FrameStoreTest;

void StoreFrame(int32_t id, const FrameRecord& frame, RecordType type = kReflectiveList) {
  ASSERT_TRUE(RecordStoreAdd(gDeviceStore, type, id, &frame, sizeof frame, "Frame"));
}

TEST_F(FrameStorageTest, SavesOneFrameRecordPerFrameInListOrder) {
  AppendFrames({1, 2, 3});
  ASSERT_TRUE(SaveFrameList());
  ASSERT_EQ(RecordStoreCount(gDeviceStore, kReflectiveList), 3);
  for (int i = 0; i < 3; ++i) {
    const int32_t id = 16000 + i;
    uint32_t size = 0;
    char name[64] = {};
    FrameRecord stored;
    ASSERT_TRUE(RecordStoreSize(gDeviceStore, kReflectiveList, id, &size));
    EXPECT_EQ(size, 2080u);
    ASSERT_TRUE(RecordStoreNameById(gDeviceStore, kReflectiveList, id, name));
    EXPECT_STREQ(name, "Frame");
    ASSERT_TRUE(RecordStoreRead(gDeviceStore, kReflectiveList, id, &stored, sizeof stored));
    const FrameRecord expected = TestFrame(i + 1);
    EXPECT_EQ(std::memcmp(&stored, &expected, sizeof stored), 0) << id;
  }

  // A shorter list leaves no record of the longer one behind.
  RemoveCurrentFrame();
  ASSERT_TRUE(SaveFrameList());
  EXPECT_EQ(RecordStoreCount(gDeviceStore, kReflectiveList), 2);
  uint32_t size = 0;
  EXPECT_FALSE(RecordStoreSize(gDeviceStore, kReflectiveList, 16002, &size));
}

TEST_F(FrameStorageTest, AGapInTheIdsDropsOnlyTheMissingFrame) {
  AppendFrames({1, 2, 3, 4, 5});
  ASSERT_TRUE(SaveFrameList());
  ASSERT_TRUE(RecordStoreDelete(gDeviceStore, kReflectiveList, 16002));
  DeleteAllFrames();
  LoadFrameList();
  EXPECT_EQ(ListTags(), (std::vector<int>{1, 2, 4, 5}));
}

TEST_F(FrameStorageTest, LoadsInIdOrderWhateverTheStoreOrder) {
  StoreFrame(16003, TestFrame(4));
  StoreFrame(16000, TestFrame(1));
  StoreFrame(16001, TestFrame(2));
  LoadFrameList();
  EXPECT_EQ(ListTags(), (std::vector<int>{1, 2, 4}));
}

TEST_F(FrameStorageTest, LoadingReplacesTheFramesOfTheList) {
  AppendFrames({7, 8});
  StoreFrame(16000, TestFrame(1));
  LoadFrameList();
  EXPECT_EQ(ListTags(), (std::vector<int>{1}));
}

TEST_F(FrameStorageTest, SkipsRecordsThatAreNotCurrentFrames) {
  FrameRecord oldVersion = TestFrame(2);
  oldVersion.version = 5;
  std::vector<uint8_t> tooShort(1756, 0);
  PutValueAt<uint32_t>(tooShort.data(), 0, 6);
  std::vector<uint8_t> tooLong(2100, 0);
  const FrameRecord fourth = TestFrame(4);
  std::memcpy(tooLong.data(), &fourth, sizeof fourth);
  StoreFrame(16000, TestFrame(1));
  StoreFrame(16001, oldVersion);
  ASSERT_TRUE(RecordStoreAdd(gDeviceStore, kReflectiveList, 16002, tooShort.data(), 1756, "Frame"));
  ASSERT_TRUE(RecordStoreAdd(gDeviceStore, kReflectiveList, 16003, tooLong.data(), 2100, "Frame"));
  StoreFrame(16004, TestFrame(5));
  LoadFrameList();
  EXPECT_EQ(ListTags(), (std::vector<int>{1, 5}));
}

TEST_F(FrameStorageTest, WithoutAUsableRecordTheTransferFrameStandsIn) {
  gScanFrame = TestFrame(77);
  gScanFrame.width = 20.0;  // wider than the scan area
  NameFrame(&gScanFrame, "Scan");
  FrameRecord oldVersion = TestFrame(1);
  oldVersion.version = 2;

  for (bool withRecord : {false, true}) {
    if (withRecord) StoreFrame(16000, oldVersion);
    LoadFrameList();
    EXPECT_EQ(ListTags(), (std::vector<int>{77})) << withRecord;
    EXPECT_EQ(gCurrentFrame->width, 8.0 - gCurrentFrame->originX) << withRecord;
    EXPECT_STREQ(gCurrentFrame->name, "Scan");
  }
}

TEST_F(FrameStorageTest, AllZeroNegativeDataBecomesNeutralPairs) {
  FrameRecord zero = TestFrame(1);
  std::memset(zero.negativeLimits, 0, sizeof zero.negativeLimits);
  FrameRecord oneSet = TestFrame(2);
  std::memset(oneSet.negativeLimits, 0, sizeof oneSet.negativeLimits);
  oneSet.negativeLimits[6] = 0.25f;
  StoreFrame(16000, zero);
  StoreFrame(16001, oneSet);
  LoadFrameList();

  const FrameListNode* first = FrameListHead();
  for (int pair = 0; pair < 4; ++pair) {
    EXPECT_EQ(first->frame.negativeLimits[2 * pair], 0.0f);
    EXPECT_EQ(first->frame.negativeLimits[2 * pair + 1], 1.0f);
  }
  const float kept[8] = {0, 0, 0, 0, 0, 0, 0.25f, 0};
  EXPECT_EQ(std::memcmp(first->next->frame.negativeLimits, kept, sizeof kept), 0);
}

TEST_F(FrameStorageTest, ScalesOfZeroComeFromTheOldValues) {
  FrameRecord frame = TestFrame(1);
  frame.outputScaleX = 0.0f;
  frame.outputScaleY = 80.0f;
  frame.oldScalePercentX = 150;
  frame.oldScalePercentY = 60;
  StoreFrame(16000, frame);
  LoadFrameList();
  EXPECT_EQ(gCurrentFrame->outputScaleX, 150.0f);
  EXPECT_EQ(gCurrentFrame->outputScaleY, 80.0f);
}

TEST_F(FrameStorageTest, LoadedFramesAreFixedUp) {
  FrameRecord outside = TestFrame(1);
  outside.originX = -1.0;
  outside.height = 30.0;
  FrameRecord missingProfile = TestFrame(2);
  missingProfile.filmProfileRef = 300;
  missingProfile.filmProfileValue = 0.5f;
  FrameRecord knownProfile = TestFrame(3);
  knownProfile.filmProfileRef = 301;
  knownProfile.filmProfileValue = 0.5f;
  const uint8_t profile[16] = {1};
  ASSERT_TRUE(RecordStoreAdd(gAppStore, TagFromString("NgFm"), 301, profile, sizeof profile, "Film"));
  StoreFrame(16000, outside);
  StoreFrame(16001, missingProfile);
  StoreFrame(16002, knownProfile);
  LoadFrameList();

  const FrameListNode* node = FrameListHead();
  EXPECT_EQ(node->frame.originX, 0.0);
  EXPECT_EQ(node->frame.height, 10.0 - node->frame.originY);
  node = node->next;
  EXPECT_EQ(node->frame.filmProfileRef, 0u);
  EXPECT_EQ(node->frame.filmProfileValue, 0.0f);
  node = node->next;
  EXPECT_EQ(node->frame.filmProfileRef, 301u);
  EXPECT_EQ(node->frame.filmProfileValue, 0.5f);
}

TEST_F(FrameStorageTest, OfTwoLoadedFramesWithOneNameTheFirstKeepsIt) {
  FrameRecord first = TestFrame(1);
  FrameRecord second = TestFrame(2);
  NameFrame(&first, "A");
  NameFrame(&second, "A");
  StoreFrame(16000, first);
  StoreFrame(16001, second);
  LoadFrameList();
  EXPECT_STREQ(gCurrentFrame->name, "A");
  EXPECT_EQ(FrameListHead()->next->frame.hasName, 0);
  EXPECT_STREQ(FrameListHead()->next->frame.name, "");
}

TEST_F(FrameStorageTest, TheLightSourcePicksTheRecordType) {
  gLightSourceFlag = 1;
  EXPECT_EQ(CurrentFrameListType(), TagFromString("EFrD"));
  EXPECT_EQ(CurrentFrameSetType(), TagFromString("FRsD"));
  AppendFrames({1});
  ASSERT_TRUE(SaveFrameList());
  EXPECT_EQ(RecordStoreCount(gDeviceStore, TagFromString("EFrD")), 1);
  EXPECT_EQ(RecordStoreCount(gDeviceStore, kReflectiveList), 0);
}

}  // namespace
