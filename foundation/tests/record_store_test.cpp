// Record stores: the byte layout, ids and indexes, compaction, and failures
// that must leave a store as it was. Each scenario also leaves its store and
// the API's view of it in record_store_cases/, for the independent reader.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "foundation/file_io.h"
#include "foundation/folder_tools.h"
#include "foundation/paths.h"
#include "foundation/record_store.h"
#include "store_view.h"

namespace {

const char* kCases = "record_store_cases\\";
const RecordType kSet1 = TagFromString("Set1");
const RecordType kGrad = TagFromString("Grad");
const RecordType kMask = TagFromString("MASK");

std::vector<uint8_t> Bytes(size_t n, uint8_t seed) {
  std::vector<uint8_t> bytes(n);
  for (size_t i = 0; i < n; ++i) bytes[i] = static_cast<uint8_t>(seed + i * 7);
  return bytes;
}

std::vector<uint8_t> FileBytes(FileHandle file) {
  uint64_t size = 0;
  EXPECT_TRUE(GetFileSize(file, &size));
  std::vector<uint8_t> bytes(size);
  if (size > 0) {
    EXPECT_TRUE(ReadBytesAt(file, 0, bytes.data(), static_cast<uint32_t>(size)));
  }
  return bytes;
}

RecordDirectoryEntry EntryAt(const std::vector<uint8_t>& file, int slot) {
  RecordDirectoryEntry entry;
  std::memcpy(&entry, file.data() + slot * sizeof entry, sizeof entry);
  return entry;
}

// Every run starts from an empty cases folder, so the reader sees only this run's stores.
class FreshCasesFolder : public testing::Environment {
 public:
  void SetUp() override {
    DeleteFolder(kCases);
    CreateFolder(kCases);
  }
};
testing::Environment* const gFreshCases = testing::AddGlobalTestEnvironment(new FreshCasesFolder);

class RecordStoreTest : public testing::Test {
 protected:
  void SetUp() override {
    name_ = std::string(kCases) + testing::UnitTest::GetInstance()->current_test_info()->name();
    DeleteFileAt((name_ + ".prf").c_str());
    store_ = OpenOrCreateFile((FileNamePart(name_.c_str()) + std::string(".prf")).c_str(), kCases);
    ASSERT_NE(store_, nullptr);
  }

  void TearDown() override {
    WriteView();
    CloseFile(store_);
  }

  void Add(RecordType type, int32_t id, size_t size, const char* name, uint8_t seed = 1) {
    auto data = Bytes(size, seed);
    ASSERT_TRUE(RecordStoreAdd(store_, type, id, data.data(), static_cast<uint32_t>(size), name));
  }

  void WriteView() {
    // The C library takes "/" on both platforms.
    std::string path = std::string("record_store_cases/") + FileNamePart(name_.c_str()) + ".view";
    std::FILE* view = std::fopen(path.c_str(), "wb");  // the same bytes on both platforms
    ASSERT_NE(view, nullptr);
    for (const std::string& line : StoreView(store_)) std::fprintf(view, "%s\n", line.c_str());
    std::fclose(view);
  }

  std::string name_;
  FileHandle store_ = nullptr;
};

TEST_F(RecordStoreTest, NewFileBecomesTwentyThousandBytesOfFreeEntries) {
  EXPECT_EQ(RecordStoreCount(store_, kSet1), 0);
  auto file = FileBytes(store_);
  ASSERT_EQ(file.size(), 20000u);
  for (int slot = 0; slot < kRecordSlots; ++slot) {
    const uint8_t free_entry[20] = {0, 0, 0, 0, '?', '?', '?', '?'};
    ASSERT_EQ(std::memcmp(file.data() + slot * 20, free_entry, 20), 0) << "slot " << slot;
  }
}

TEST_F(RecordStoreTest, AddAndReplaceLayTheRecordsOut) {
  Add(kSet1, 200, 10, "A");
  auto file = FileBytes(store_);
  ASSERT_EQ(file.size(), 20074u);
  const uint8_t entry[20] = {1, 0, 0, 0, 'S', 'e', 't', '1', 200, 0, 0, 0, 0x20, 0x4E, 0, 0, 74, 0, 0, 0};
  EXPECT_EQ(std::memcmp(file.data(), entry, 20), 0);
  EXPECT_EQ(file[20000], 'A');
  EXPECT_EQ(file[20001], 0);
  EXPECT_EQ(std::memcmp(file.data() + 20064, Bytes(10, 1).data(), 10), 0);

  Add(kSet1, 200, 20, "B", 9);
  file = FileBytes(store_);
  ASSERT_EQ(file.size(), 20084u);
  EXPECT_EQ(EntryAt(file, 0).offset, 20000u);
  EXPECT_EQ(EntryAt(file, 0).size, 84u);
  EXPECT_EQ(EntryAt(file, 1).used, 0) << "the replaced record's slot is reused";
  EXPECT_EQ(RecordStoreCount(store_, kSet1), 1);
  std::vector<uint8_t> data(20);
  ASSERT_TRUE(RecordStoreRead(store_, kSet1, 200, data.data(), 20));
  EXPECT_EQ(data, Bytes(20, 9));
}

TEST_F(RecordStoreTest, DeleteCompactsAndFreesTheSlotForTheNextAdd) {
  Add(kGrad, 300, 100, "first", 1);
  Add(kGrad, 301, 50, "second", 2);
  Add(kSet1, 302, 30, "third", 3);
  ASSERT_TRUE(RecordStoreDelete(store_, kGrad, 300));
  auto file = FileBytes(store_);
  EXPECT_EQ(file.size(), 20000u + 114 + 94);
  EXPECT_EQ(EntryAt(file, 0).used, 0);
  EXPECT_EQ(EntryAt(file, 1).offset, 20000u);
  EXPECT_EQ(EntryAt(file, 2).offset, 20114u);
  std::vector<uint8_t> data(50);
  ASSERT_TRUE(RecordStoreRead(store_, kGrad, 301, data.data(), 50));
  EXPECT_EQ(data, Bytes(50, 2));

  Add(kGrad, 303, 5, "newest", 4);
  int32_t id = 0;
  ASSERT_TRUE(RecordStoreIdAtIndex(store_, kGrad, 1, &id));
  EXPECT_EQ(id, 303) << "the new record took slot 0, so it comes first by index";
  EXPECT_FALSE(RecordStoreDelete(store_, kGrad, 999));
  EXPECT_FALSE(RecordStoreDeleteIndexed(store_, kGrad, 3));
}

TEST_F(RecordStoreTest, TailsLargerThanTheMoveBufferMoveIntact) {
  Add(kMask, 1000, 3000, "gap", 5);
  Add(kMask, 1001, 700000, "big", 6);
  Add(kMask, 1002, 400000, "bigger still", 7);
  Add(kSet1, 1003, 1, "small", 8);
  ASSERT_TRUE(RecordStoreDelete(store_, kMask, 1000));
  uint64_t size = 0;
  ASSERT_TRUE(GetFileSize(store_, &size));
  EXPECT_EQ(size, 20000u + 700064 + 400064 + 65);
  std::vector<uint8_t> data(700000);
  ASSERT_TRUE(RecordStoreRead(store_, kMask, 1001, data.data(), 700000));
  EXPECT_EQ(data, Bytes(700000, 6));
  ASSERT_TRUE(RecordStoreRead(store_, kMask, 1002, data.data(), 700000));
  data.resize(400000);
  EXPECT_EQ(data, Bytes(400000, 7));
}

TEST_F(RecordStoreTest, TypeCodesAreStoredInReadingOrder) {
  Add(TagFromString("AB"), 1, 1, "short code");
  Add(RecordTypeOfSlot(TagFromString("FRs0"), 9), 2, 1, "slot 9");
  auto file = FileBytes(store_);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&file[4]), 4), "AB  ");
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&file[24]), 4), "ORs0");
}

TEST_F(RecordStoreTest, UniqueIdsLookAtEveryType) {
  EXPECT_EQ(RecordStoreUniqueId(store_, kSet1), 128);
  EXPECT_EQ(RecordStoreUniqueIdAbove(store_, kSet1, 300), 301);
  Add(kGrad, 5, 1, "five");
  EXPECT_EQ(RecordStoreUniqueId(store_, kSet1), 128);
  Add(TagFromString("AB"), 16000, 1, "fixed");
  EXPECT_EQ(RecordStoreUniqueId(store_, kSet1), 16001);
  EXPECT_EQ(RecordStoreUniqueIdAbove(store_, kSet1, 300), 16001);
  EXPECT_EQ(RecordStoreUniqueIdAbove(store_, kSet1, 20000), 20001);
  EXPECT_EQ(RecordStoreUniqueId(nullptr, kSet1), 127);
  EXPECT_EQ(RecordStoreUniqueIdAbove(nullptr, kSet1, 300), 300);
}

TEST_F(RecordStoreTest, FreeIdSearchesTheHalfOpenRangeOfOneType) {
  int32_t id = -1;
  Add(kSet1, 128, 1, "");
  Add(kSet1, 129, 1, "");
  Add(kGrad, 130, 1, "other type");
  ASSERT_TRUE(RecordStoreFreeId(store_, kSet1, &id, 128, 131));
  EXPECT_EQ(id, 130);
  Add(kSet1, 130, 1, "");
  id = -1;
  EXPECT_FALSE(RecordStoreFreeId(store_, kSet1, &id, 128, 131));
  EXPECT_FALSE(RecordStoreFreeId(store_, kSet1, &id, 5, 5));
  EXPECT_EQ(id, -1);
}

TEST_F(RecordStoreTest, ReadRefusesASmallBufferAndNamesAreCut) {
  Add(kSet1, 140, 16, "Einstellung");
  uint8_t buffer[16];
  std::memset(buffer, 0xEE, sizeof buffer);
  EXPECT_FALSE(RecordStoreRead(store_, kSet1, 140, buffer, 15));
  for (uint8_t b : buffer) ASSERT_EQ(b, 0xEE);
  uint32_t size = 0;
  ASSERT_TRUE(RecordStoreSize(store_, kSet1, 140, &size));
  EXPECT_EQ(size, 16u);
  EXPECT_FALSE(RecordStoreSize(store_, kSet1, 141, &size));

  std::string longName(100, 'n');
  Add(kSet1, 141, 4, longName.c_str());
  char name[64];
  ASSERT_TRUE(RecordStoreNameById(store_, kSet1, 141, name));
  EXPECT_EQ(std::string(name), longName.substr(0, 63));
  uint32_t dataSize = 0;
  ASSERT_TRUE(RecordStoreSize(store_, kSet1, 141, &dataSize));
  EXPECT_EQ(dataSize, 4u) << "the cut name does not spill into the data";
}

TEST_F(RecordStoreTest, FindsByNameAndByPrefixExceptListed) {
  Add(kGrad, 150, 2, "Kurve 1");
  Add(kGrad, 151, 2, "Kurve 2");
  Add(kGrad, 152, 2, "Kurve 22");
  Add(kSet1, 153, 2, "Kurve 3");
  int32_t id = 0;
  ASSERT_TRUE(RecordStoreFind(store_, kGrad, "Kurve 2", &id));
  EXPECT_EQ(id, 151);
  EXPECT_FALSE(RecordStoreFind(store_, kGrad, "kurve 2", &id));
  EXPECT_FALSE(RecordStoreFind(store_, kGrad, "Kurve 3", &id)) << "another type";
  NameNode* except = PushNameNode(nullptr, "Kurve 1");
  except = PushNameNode(except, "Kurve 2");
  EXPECT_FALSE(RecordStoreFindPrefixExcept(store_, kGrad, "Kurve", &id, except)) << "Kurve 2 covers Kurve 22";
  FreeNameList(&except);
  except = PushNameNode(nullptr, "Kurve 1");
  ASSERT_TRUE(RecordStoreFindPrefixExcept(store_, kGrad, "Kurve", &id, except));
  EXPECT_EQ(id, 151);
  FreeNameList(&except);
}

TEST_F(RecordStoreTest, DeleteRangeAndCopyType) {
  for (int32_t id : {10, 20, 30, 40}) Add(kSet1, id, 8, "r", static_cast<uint8_t>(id));
  ASSERT_TRUE(RecordStoreDeleteRange(store_, kSet1, 20, 30));
  EXPECT_EQ(RecordStoreCount(store_, kSet1), 2);
  int32_t id = 0;
  ASSERT_TRUE(RecordStoreIdAtIndex(store_, kSet1, 2, &id));
  EXPECT_EQ(id, 40);
  ASSERT_TRUE(RecordStoreDeleteRange(store_, kSet1, 0, 10));
  ASSERT_TRUE(RecordStoreIdAtIndex(store_, kSet1, 1, &id));
  EXPECT_EQ(id, 40);

  std::string targetPath = name_ + "_target.prf";
  DeleteFileAt(targetPath.c_str());
  FileHandle target = OpenExistingFile(targetPath.c_str());
  EXPECT_EQ(target, nullptr);
  target = OpenOrCreateFile("DeleteRangeAndCopyType_target.prf", kCases);
  ASSERT_NE(target, nullptr);
  Add(kGrad, 500, 3, "grad");
  ASSERT_TRUE(RecordStoreAdd(target, kGrad, 16000, "xyz", 3, "fixed"));
  ASSERT_TRUE(RecordStoreCopyType(store_, target, "Set1"));
  ASSERT_TRUE(RecordStoreIdAtIndex(target, kSet1, 1, &id));
  EXPECT_EQ(id, 16001);
  uint8_t data[8];
  ASSERT_TRUE(RecordStoreRead(target, kSet1, 16001, data, 8));
  EXPECT_EQ(std::vector<uint8_t>(data, data + 8), Bytes(8, 40));
  EXPECT_EQ(RecordStoreCount(target, kGrad), 1);
  CloseFile(target);
  DeleteFileAt(targetPath.c_str());
}

TEST_F(RecordStoreTest, ThousandSlotsThenRefused) {
  for (int32_t id = 0; id < kRecordSlots; ++id) ASSERT_TRUE(RecordStoreAdd(store_, kSet1, id, &id, 4, "")) << id;
  int32_t extra = 1;
  EXPECT_FALSE(RecordStoreAdd(store_, kSet1, 5000, &extra, 4, ""));
  EXPECT_TRUE(RecordStoreAdd(store_, kSet1, 999, &extra, 4, "")) << "a replacement always finds its own slot";
  uint64_t size = 0;
  ASSERT_TRUE(GetFileSize(store_, &size));
  EXPECT_EQ(size, 20000u + 1000 * 68);
  ASSERT_TRUE(RecordStoreDeleteRange(store_, kSet1, 0, 989));
  EXPECT_EQ(RecordStoreCount(store_, kSet1), 10);
}

// A store opened without write access makes every write fail: adds, replaces
// and deletes must then leave the file byte for byte as it was.
TEST_F(RecordStoreTest, FailedWritesLeaveTheStoreAsItWas) {
  Add(kSet1, 200, 10, "A", 1);
  Add(kGrad, 201, 30, "B", 2);
  Add(kSet1, 202, 20, "C", 3);
  const auto before = FileBytes(store_);
  CloseFile(store_);
  store_ = OpenFileForReading((name_ + ".prf").c_str());
  ASSERT_NE(store_, nullptr);
  auto data = Bytes(40, 9);
  EXPECT_FALSE(RecordStoreAdd(store_, kSet1, 300, data.data(), 40, "new"));
  EXPECT_FALSE(RecordStoreAdd(store_, kSet1, 200, data.data(), 40, "replacement"));
  EXPECT_FALSE(RecordStoreDelete(store_, kSet1, 200));
  EXPECT_FALSE(RecordStoreDeleteRange(store_, kSet1, 0, 0));
  EXPECT_EQ(FileBytes(store_), before);
  CloseFile(store_);
  store_ = OpenExistingFile((name_ + ".prf").c_str());
  ASSERT_NE(store_, nullptr);
}

// Entries of a damaged directory whose record does not lie whole inside the
// file are left out: nothing reads, sizes or finds them, callers never
// allocate by their sizes, and the next write drops them from the directory.
TEST_F(RecordStoreTest, EntriesOutsideTheFileAreLeftOutAndDroppedByTheNextWrite) {
  Add(kSet1, 200, 10, "A", 1);
  Add(kSet1, 201, 10, "B", 2);
  Add(kSet1, 202, 10, "C", 3);
  struct Damage {
    int slot;
    uint32_t offset, size;
  };
  const Damage damages[] = {
      {1, 20074, 0x7FFFFFF0},  // a size far past the end: callers would allocate by it
      {2, 0xFFFFFFF0, 74},     // an offset near 4 GiB: offset + 64 wraps in 32 bits
  };
  for (const Damage& d : damages) {
    auto entry = EntryAt(FileBytes(store_), d.slot);
    entry.offset = d.offset;
    entry.size = d.size;
    ASSERT_TRUE(WriteBytesAt(store_, d.slot * sizeof entry, &entry, sizeof entry));
  }
  const auto damaged = FileBytes(store_);
  uint32_t size = 0;
  std::vector<uint8_t> data(10);
  EXPECT_EQ(RecordStoreCount(store_, kSet1), 1);
  EXPECT_FALSE(RecordStoreSize(store_, kSet1, 201, &size));
  EXPECT_FALSE(RecordStoreRead(store_, kSet1, 202, data.data(), 10));
  EXPECT_FALSE(RecordStoreDelete(store_, kSet1, 201));
  EXPECT_EQ(FileBytes(store_), damaged) << "reads leave the store as it is";
  ASSERT_TRUE(RecordStoreRead(store_, kSet1, 200, data.data(), 10));
  EXPECT_EQ(data, Bytes(10, 1));

  Add(kGrad, 300, 5, "D", 4);
  const auto file = FileBytes(store_);
  EXPECT_EQ(EntryAt(file, 1).type, kGrad) << "the new record takes the first dropped slot";
  EXPECT_FALSE(EntryAt(file, 2).used);
  EXPECT_EQ(RecordStoreCount(store_, kGrad), 1);
  // The dropped records' bytes stay in the file unused; the independent
  // reader, which wants stores without gaps, gets an empty store instead.
  ASSERT_TRUE(SetFileSize(store_, 0));
}

// A file cut inside its directory is refused by every read and left as it
// is; the first write copies its bytes aside and starts a new store.
TEST_F(RecordStoreTest, FileCutInsideTheDirectoryIsKeptAndSetAsideOnWrite) {
  Add(kSet1, 200, 10, "A", 1);
  ASSERT_TRUE(SetFileSize(store_, 19999));
  const auto cut = FileBytes(store_);
  const std::string aside = name_ + ".prf.damaged";
  DeleteFileAt(aside.c_str());
  uint32_t size = 0;
  char name[kRecordNameSize];
  int32_t id = 0;
  EXPECT_EQ(RecordStoreCount(store_, kSet1), 0);
  EXPECT_FALSE(RecordStoreSize(store_, kSet1, 200, &size));
  EXPECT_FALSE(RecordStoreNameByIndex(store_, kSet1, 1, name));
  EXPECT_FALSE(RecordStoreFind(store_, kSet1, "A", &id));
  EXPECT_FALSE(RecordStoreDelete(store_, kSet1, 200));
  EXPECT_EQ(RecordStoreUniqueId(store_, kSet1), kFirstUniqueRecordId - 1);
  EXPECT_EQ(FileBytes(store_), cut);
  EXPECT_FALSE(FileExists(aside.c_str()));

  Add(kSet1, 201, 10, "B", 2);
  FileHandle copy = OpenFileForReading(aside.c_str());
  ASSERT_NE(copy, nullptr) << "the damaged bytes are kept beside the store";
  EXPECT_EQ(FileBytes(copy), cut);
  CloseFile(copy);
  EXPECT_EQ(RecordStoreCount(store_, kSet1), 1);
  EXPECT_EQ(FileBytes(store_).size(), 20074u);
  EXPECT_EQ(RecordStoreCount(nullptr, kSet1), 0);
  EXPECT_FALSE(RecordStoreAdd(nullptr, kSet1, 1, "x", 1, ""));
}

// Ids run to the top of their range without a fresh id going negative.
TEST_F(RecordStoreTest, AFreshIdNeverWrapsPastTheTopId) {
  Add(kSet1, INT32_MAX, 4, "top");
  Add(kSet1, kFirstUniqueRecordId, 4, "first");
  EXPECT_EQ(RecordStoreUniqueId(store_, kSet1), kFirstUniqueRecordId + 1);
  EXPECT_EQ(RecordStoreUniqueIdAbove(store_, kSet1, 1000), 1001);
  EXPECT_EQ(RecordStoreUniqueIdAbove(store_, kSet1, INT32_MAX - 1), kFirstUniqueRecordId + 1);
}

// A store with a history of adds, replaces and deletes of several types, for
// the independent reader.
TEST_F(RecordStoreTest, MixedHistory) {
  auto typeOf = [](int i) { return i % 3 == 0 ? kSet1 : i % 3 == 1 ? kGrad : TagFromString("AB"); };
  for (int i = 0; i < 40; ++i)
    Add(typeOf(i), 128 + i, static_cast<size_t>(i * 13 % 97), ("Eintrag " + std::to_string(i)).c_str(),
        static_cast<uint8_t>(i));
  for (int i = 0; i < 40; i += 4) ASSERT_TRUE(RecordStoreDelete(store_, typeOf(i), 128 + i));
  for (int i = 1; i < 40; i += 5)
    if (i % 4 != 0) Add(typeOf(i), 128 + i, 33, "ersetzt", 99);
  Add(TagFromString("Thmb"), RecordStoreUniqueId(store_, 0), 5000, "\xC4nderung", 3);
}

}  // namespace
