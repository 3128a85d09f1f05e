// The start-up passes: old type codes moved to the current ones with their
// 5208-byte records converted, older layouts upgraded, and a second start-up
// that finds nothing left to do.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "foundation/record_store.h"
#include "frames/frame_migration.h"
#include "frames/frame_record_upgrade.h"
#include "frame_store_fixture.h"

namespace {

std::vector<uint8_t> OldFrame(uint8_t seed) {
  std::vector<uint8_t> bytes(kOldFrameRecordSize);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(seed + i * 13);
  return bytes;
}

FrameRecord Converted(const std::vector<uint8_t>& old) {
  FrameRecord frame;
  ConvertOldFrameRecord(reinterpret_cast<const OldFrameRecord*>(old.data()), &frame, gDefaults);
  return frame;
}

// [u16 n] followed by the frames' bytes.
std::vector<uint8_t> Set(const std::vector<std::vector<uint8_t>>& frames) {
  std::vector<uint8_t> set(2);
  PutValueAt<uint16_t>(set.data(), 0, static_cast<uint16_t>(frames.size()));
  for (const auto& frame : frames) set.insert(set.end(), frame.begin(), frame.end());
  return set;
}

std::vector<uint8_t> Bytes(const FrameRecord& frame) {
  const auto* bytes = reinterpret_cast<const uint8_t*>(&frame);
  return std::vector<uint8_t>(bytes, bytes + sizeof frame);
}

// A frame of an older layout: the record's bytes up to its version's size.
std::vector<uint8_t> FrameOfVersion(uint32_t version, int tag) {
  FrameRecord frame = TestFrame(tag);
  frame.version = version;
  std::vector<uint8_t> bytes = Bytes(frame);
  bytes.resize(version == 2 ? 2080 : FrameRecordSizeOfVersion(version));
  return bytes;
}

std::vector<uint8_t> Read(FileHandle store, RecordType type, int32_t id) {
  uint32_t size = 0;
  if (!RecordStoreSize(store, type, id, &size)) return {};
  std::vector<uint8_t> data(size);
  EXPECT_TRUE(RecordStoreRead(store, type, id, data.data(), size));
  return data;
}

std::string Name(FileHandle store, RecordType type, int32_t id) {
  char name[64] = "";
  return RecordStoreNameById(store, type, id, name) ? name : "(none)";
}

void Add(FileHandle store, RecordType type, int32_t id, const std::vector<uint8_t>& data, const char* name) {
  ASSERT_TRUE(RecordStoreAdd(store, type, id, data.data(), static_cast<uint32_t>(data.size()), name));
}

void RunStartUpPasses() {
  MigrateFrameListTypes();
  MigrateFrameSetTypes();
  UpgradeAllFrameListRecords();
  UpgradeAllFrameSetRecords();
}

struct TypePair {
  bool set;
  const char* oldType;
  const char* newType;
  int slot;  // added to both codes
};

class TypeMigrations : public FrameStoreTest, public testing::WithParamInterface<TypePair> {};

TEST_P(TypeMigrations, MoveOnceToTheCurrentCode) {
  const TypePair& c = GetParam();
  const RecordType oldType = RecordTypeOfSlot(TagFromString(c.oldType), c.slot);
  const RecordType newType = RecordTypeOfSlot(TagFromString(c.newType), c.slot);
  FileHandle store = c.set ? gAppStore : gDeviceStore;
  const std::vector<uint8_t> old = OldFrame(7);
  Add(store, oldType, 300, c.set ? Set({old}) : old, "Alt");

  for (int run = 0; run < 2; ++run) {
    RunStartUpPasses();
    EXPECT_EQ(RecordStoreCount(store, oldType), 0) << run;
    ASSERT_EQ(RecordStoreCount(store, newType), 1) << run;
  }
  int32_t id = 0;
  ASSERT_TRUE(RecordStoreIdAtIndex(store, newType, 1, &id));
  EXPECT_EQ(id, c.set ? 301 : 16000);  // a set takes a fresh id above every id in the store
  EXPECT_EQ(Name(store, newType, id), "Alt");
  EXPECT_EQ(Read(store, newType, id), c.set ? Set({Bytes(Converted(old))}) : Bytes(Converted(old)));
}

INSTANTIATE_TEST_SUITE_P(
    Codes, TypeMigrations,
    testing::Values(TypePair{false, "EFRM", "EFrA", 0}, TypePair{false, "EFRT", "EFrD", 0},
                    TypePair{false, "EFR0", "EFrO", 0}, TypePair{false, "EFRO", "Efr0", 1},
                    TypePair{false, "EFRO", "Efr0", 9}, TypePair{true, "FRSA", "FRsA", 0},
                    TypePair{true, "FRSD", "FRsD", 0}, TypePair{true, "FRSO", "FRsO", 0},
                    TypePair{true, "FRSO", "FRs0", 1}, TypePair{true, "FRSO", "FRs0", 9}));

TEST_F(FrameStoreTest, OldFrameListsKeepTheirOrderAndNames) {
  const RecordType old = TagFromString("EFRM");
  const RecordType current = TagFromString("EFrA");
  Add(gDeviceStore, old, 410, OldFrame(1), "Frame");
  Add(gDeviceStore, old, 400, OldFrame(2), "Zweiter");
  Add(gDeviceStore, old, 420, std::vector<uint8_t>(2080, 6), "Frame");  // not an old record: dropped
  MigrateFrameListTypes();
  EXPECT_EQ(RecordStoreCount(gDeviceStore, old), 0);
  EXPECT_EQ(RecordStoreCount(gDeviceStore, current), 2);
  EXPECT_EQ(Read(gDeviceStore, current, 16000), Bytes(Converted(OldFrame(1))));
  EXPECT_EQ(Read(gDeviceStore, current, 16001), Bytes(Converted(OldFrame(2))));
  EXPECT_EQ(Name(gDeviceStore, current, 16001), "Zweiter");
}

TEST_F(FrameStoreTest, OldSetsConvertEveryFrame) {
  const RecordType old = TagFromString("FRSD");
  const RecordType current = TagFromString("FRsD");
  Add(gAppStore, old, 200, Set({OldFrame(1), OldFrame(2)}), "Dias");
  MigrateFrameSetTypes();
  EXPECT_EQ(RecordStoreCount(gAppStore, old), 0);
  EXPECT_EQ(Read(gAppStore, current, 201), Set({Bytes(Converted(OldFrame(1))), Bytes(Converted(OldFrame(2)))}));
  EXPECT_EQ(Name(gAppStore, current, 201), "Dias");
}

TEST_F(FrameStoreTest, FrameListRecordsOfOlderLayoutsAreUpgraded) {
  const RecordType type = TagFromString("EFrD");
  const std::vector<uint8_t> version5 = FrameOfVersion(5, 1);
  const std::vector<uint8_t> current = FrameOfVersion(6, 2);
  const std::vector<uint8_t> version2 = FrameOfVersion(2, 3);
  Add(gDeviceStore, type, 16000, version5, "Frame");
  Add(gDeviceStore, type, 16001, current, "Frame");
  Add(gDeviceStore, type, 16002, version2, "Frame");
  UpgradeAllFrameListRecords();

  FrameRecord upgraded;
  ASSERT_TRUE(UpgradeFrameRecord(version5.data(), static_cast<uint32_t>(version5.size()), &upgraded, nullptr));
  EXPECT_EQ(Read(gDeviceStore, type, 16000), Bytes(upgraded));
  EXPECT_EQ(Name(gDeviceStore, type, 16000), "Frame");
  EXPECT_EQ(Read(gDeviceStore, type, 16001), current);
  EXPECT_EQ(Read(gDeviceStore, type, 16002), version2);
}

TEST_F(FrameStoreTest, FrameSetsOfOlderLayoutsAreUpgradedFrameByFrame) {
  const RecordType type = RecordTypeOfSlot(TagFromString("FRs0"), 4);
  const std::vector<uint8_t> version4 = FrameOfVersion(4, 1);
  const std::vector<uint8_t> version1 = FrameOfVersion(1, 2);
  const std::vector<uint8_t> current = FrameOfVersion(6, 3);
  const std::vector<uint8_t> mixed = Set({version4, current, version1});
  const std::vector<uint8_t> allCurrent = Set({current, current});
  const std::vector<uint8_t> unknown = Set({version4, FrameOfVersion(2, 4)});
  // A count of 65535 over one frame: left as it is (and nothing sized by the count).
  std::vector<uint8_t> overcounted = Set({version4});
  overcounted[0] = overcounted[1] = 0xFF;
  Add(gAppStore, type, 130, mixed, "Gemischt");
  Add(gAppStore, type, 131, allCurrent, "Aktuell");
  Add(gAppStore, type, 132, unknown, "Unbekannt");
  Add(gAppStore, type, 133, overcounted, "Zuviel");
  UpgradeAllFrameSetRecords();

  FrameRecord first, third;
  ASSERT_TRUE(UpgradeFrameRecord(version4.data(), static_cast<uint32_t>(version4.size()), &first, nullptr));
  ASSERT_TRUE(UpgradeFrameRecord(version1.data(), static_cast<uint32_t>(version1.size()), &third, nullptr));
  EXPECT_EQ(Read(gAppStore, type, 130), Set({Bytes(first), current, Bytes(third)}));
  EXPECT_EQ(Name(gAppStore, type, 130), "Gemischt");
  EXPECT_EQ(Read(gAppStore, type, 131), allCurrent);
  EXPECT_EQ(Read(gAppStore, type, 132), unknown);
  EXPECT_EQ(Read(gAppStore, type, 133), overcounted);
}

}  // namespace
