// Default frame sets from the module's resources: installed into a device
// store without records of their type, named from the string table, and
// never over records the store already has.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/scripted_system.h"
#include "frame_store_fixture.h"
#include "frames/default_frame_sets.h"

namespace {

using DefaultFrameSetsTest = FrameStoreTest;

// Indexes are 1-based ranks in slot order.
std::vector<uint8_t> Read(RecordType type, int index) {
  uint32_t size = 0;
  EXPECT_TRUE(RecordStoreSizeByIndex(gDeviceStore, type, index, &size));
  std::vector<uint8_t> bytes(size);
  EXPECT_TRUE(RecordStoreReadIndexed(gDeviceStore, type, index, bytes.data(), size));
  return bytes;
}

std::string Name(RecordType type, int index) {
  char name[kRecordNameSize] = "";
  EXPECT_TRUE(RecordStoreNameByIndex(gDeviceStore, type, index, name));
  return name;
}

TEST_F(DefaultFrameSetsTest, ResourcesOfTypesWithoutRecordsAreCopiedOnce) {
  ScopedScriptedSystem system;
  system->resources[{"FRsA", 7}] = {1, 0, 7, 7};
  system->resources[{"FRsA", 9}] = {1, 0, 9};
  system->resources[{"FRs3", 2}] = {2, 0};
  system->resources[{"FRsD", 1}] = {5, 5};
  system->strings[64007] = "Standard";
  const std::vector<uint8_t> own = {0, 0};
  ASSERT_TRUE(RecordStoreAdd(gDeviceStore, TagFromString("FRsD"), 128, own.data(), 2, "Eigene"));

  for (int run = 0; run < 2; ++run) {
    InstallAllDefaultFrameSets();
    const RecordType reflective = TagFromString("FRsA");
    ASSERT_EQ(RecordStoreCount(gDeviceStore, reflective), 2) << run;
    EXPECT_EQ(Read(reflective, 1), (std::vector<uint8_t>{1, 0, 7, 7}));
    EXPECT_EQ(Name(reflective, 1), "Standard");
    EXPECT_EQ(Read(reflective, 2), (std::vector<uint8_t>{1, 0, 9}));
    EXPECT_EQ(Name(reflective, 2), "") << "no string for the name";
    ASSERT_EQ(RecordStoreCount(gDeviceStore, TagFromString("FRs3")), 1);
    EXPECT_EQ(Read(TagFromString("FRs3"), 1), (std::vector<uint8_t>{2, 0}));
    ASSERT_EQ(RecordStoreCount(gDeviceStore, TagFromString("FRsD")), 1) << "the store's own set stays alone";
    EXPECT_EQ(Read(TagFromString("FRsD"), 1), own);
    EXPECT_EQ(RecordStoreCount(gDeviceStore, TagFromString("FRsO")), 0);
  }
}

}  // namespace
