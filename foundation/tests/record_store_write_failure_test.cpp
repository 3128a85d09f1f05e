// Record store operations whose writes fail part-way, one write after another
// in turn (a full disk or a pulled drive): afterwards the store holds every
// record either as before the operation or as after it, and stays usable.
// The stores are left in record_store_failures/ for the independent reader.
//
// The failures come from this program's own pwrite and ftruncate, which take
// the place of the C library's for the file layer linked in here.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <functional>
#include <string>
#include <sys/syscall.h>
#include <unistd.h>
#include <vector>

#include "foundation/file_io.h"
#include "foundation/folder_tools.h"
#include "foundation/record_store.h"
#include "store_view.h"

namespace {

// -1: no failures; otherwise the number of writes that still succeed.
int gWritesBeforeFailure = -1;
bool gLaterWritesFail = false;
int gWritesSeen = 0;

bool ThisWriteFails() {
  const int index = gWritesSeen++;
  if (gWritesBeforeFailure < 0) return false;
  return gLaterWritesFail ? index >= gWritesBeforeFailure : index == gWritesBeforeFailure;
}

}  // namespace

extern "C" ssize_t pwrite(int fd, const void* buffer, size_t count, off_t offset) {
  if (ThisWriteFails()) {
    errno = ENOSPC;
    return -1;
  }
  return static_cast<ssize_t>(syscall(SYS_pwrite64, fd, buffer, count, offset));
}

extern "C" int ftruncate(int fd, off_t length) {
  if (ThisWriteFails()) {
    errno = EIO;
    return -1;
  }
  return static_cast<int>(syscall(SYS_ftruncate, fd, length));
}

namespace {

const char* kFolder = "record_store_failures";
const RecordType kSet1 = TagFromString("Set1");
const RecordType kGrad = TagFromString("Grad");

std::vector<uint8_t> Bytes(size_t n, uint8_t seed) {
  std::vector<uint8_t> bytes(n);
  for (size_t i = 0; i < n; ++i) bytes[i] = static_cast<uint8_t>(i * 31 + seed * 7 + i / 251);
  return bytes;
}

// Five records; the one behind the second is larger than the store's move
// buffer, so closing a gap takes several writes per copy.
void FillStore(FileHandle store) {
  const struct {
    RecordType type;
    int32_t id;
    size_t size;
    const char* name;
  } records[] = {{kSet1, 1, 100, "erster"}, {kGrad, 2, 3000, "zweiter"}, {kSet1, 3, 530000, "gross"},
                 {kGrad, 4, 10, "vierter"}, {kSet1, 5, 70000, "letzter"}};
  uint8_t seed = 1;
  for (const auto& r : records) {
    const std::vector<uint8_t> data = Bytes(r.size, seed++);
    ASSERT_TRUE(RecordStoreAdd(store, r.type, r.id, data.data(), static_cast<uint32_t>(data.size()), r.name));
  }
}

struct Operation {
  const char* name;
  std::function<bool(FileHandle)> run;
};

const Operation kOperations[] = {
    {"delete_second", [](FileHandle s) { return RecordStoreDelete(s, kGrad, 2); }},
    {"delete_last", [](FileHandle s) { return RecordStoreDelete(s, kSet1, 5); }},
    {"replace_second", [](FileHandle s) {
       const std::vector<uint8_t> data = Bytes(5000, 9);
       return RecordStoreAdd(s, kGrad, 2, data.data(), static_cast<uint32_t>(data.size()), "ersetzt");
     }},
};

std::string StorePath(const std::string& name) { return std::string(kFolder) + "/" + name + ".prf"; }

FileHandle FreshStore(const std::string& name) {
  DeleteFileAt(StorePath(name).c_str());
  return OpenOrCreateFile((name + ".prf").c_str(), (std::string(kFolder) + "\\").c_str());
}

void CopyWholeFile(const std::string& from, const std::string& to) {
  std::FILE* in = std::fopen(from.c_str(), "rb");
  std::FILE* out = std::fopen(to.c_str(), "wb");
  ASSERT_TRUE(in && out);
  char buffer[65536];
  for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, in)) > 0;) std::fwrite(buffer, 1, n, out);
  std::fclose(in);
  std::fclose(out);
}

void WriteView(const std::string& name, const std::vector<std::string>& view) {
  std::FILE* file = std::fopen((std::string(kFolder) + "/" + name + ".view").c_str(), "wb");
  ASSERT_NE(file, nullptr);
  for (const std::string& line : view) std::fprintf(file, "%s\n", line.c_str());
  std::fclose(file);
}

class RecordStoreWriteFailure : public testing::TestWithParam<Operation> {
 protected:
  static void SetUpTestSuite() {
    DeleteFolder(kFolder);
    CreateFolder(kFolder);
  }
  void TearDown() override { gWritesBeforeFailure = -1; }
};

TEST_P(RecordStoreWriteFailure, LeavesEveryRecordAsBeforeOrAsAfter) {
  const Operation& operation = GetParam();
  // The views before and after, and the number of writes of an undisturbed run.
  const std::string reference = std::string(operation.name) + "_undisturbed";
  FileHandle store = FreshStore(reference);
  ASSERT_NE(store, nullptr);
  FillStore(store);
  const std::vector<std::string> before = StoreView(store);
  gWritesSeen = 0;
  ASSERT_TRUE(operation.run(store));
  const int writes = gWritesSeen;
  const std::vector<std::string> after = StoreView(store);
  ASSERT_NE(after, before);
  WriteView(reference, after);
  CloseFile(store);
  ASSERT_GE(writes, 2);

  for (bool laterFail : {false, true}) {
    for (int failing = 0; failing < writes; ++failing) {
      const std::string name = std::string(operation.name) + (laterFail ? "_from_" : "_only_") +
                               std::to_string(failing);
      SCOPED_TRACE(name);
      store = FreshStore(name);
      ASSERT_NE(store, nullptr);
      FillStore(store);
      gWritesSeen = 0;
      gWritesBeforeFailure = failing;
      gLaterWritesFail = laterFail;
      const bool reported = operation.run(store);
      gWritesBeforeFailure = -1;
      CloseFile(store);

      store = OpenExistingFile(StorePath(name).c_str());
      ASSERT_NE(store, nullptr);
      const std::vector<std::string> view = StoreView(store);
      EXPECT_TRUE(view == before || view == after) << "a record was lost or changed";
      // A reported success is a store as after; a store as before was reported as a failure.
      if (reported) {
        EXPECT_EQ(view, after);
      } else {
        EXPECT_EQ(view, before) << "a failure reported, yet the operation took place";
      }
      EXPECT_FALSE(RecordStoreIsDamaged(store));
      WriteView(name, view);
      CloseFile(store);

      // Still usable: a copy with the operation done again where it failed is the store as after.
      const std::string retried = name + "_retried";
      CopyWholeFile(StorePath(name), StorePath(retried));
      store = OpenExistingFile(StorePath(retried).c_str());
      ASSERT_NE(store, nullptr);
      if (view == before) {
        EXPECT_TRUE(operation.run(store));
      }
      EXPECT_EQ(StoreView(store), after);
      WriteView(retried, StoreView(store));
      CloseFile(store);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Operations, RecordStoreWriteFailure, testing::ValuesIn(kOperations),
                         [](const testing::TestParamInfo<Operation>& info) { return std::string(info.param.name); });

}  // namespace
