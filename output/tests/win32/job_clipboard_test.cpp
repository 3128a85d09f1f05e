// Job entries through the Windows clipboard: format 512 carries the block,
// the temporary file is gone afterwards, and a paste leaves the block as it was.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "foundation/file_io.h"
#include "output/job_clipboard.h"
#include "output/job_list.h"
#include "output/tests/writer_test_support.h"
#include "state/data_source_state.h"

namespace {

const unsigned char kVendor[] = "\x0AQuillbrook";
const unsigned char kOtherVendor[] = "\x05Nikra";
const unsigned char kModel[] = "\x03ZIR";

std::vector<uint8_t> ClipboardBlock() {
  std::vector<uint8_t> bytes;
  if (!OpenClipboard(nullptr)) return bytes;
  if (HANDLE data = GetClipboardData(kJobClipboardFormat)) {
    if (const uint8_t* block = static_cast<const uint8_t*>(GlobalLock(data))) {
      bytes.assign(block, block + GlobalSize(data));
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return bytes;
}

class JobClipboardTest : public WriterTest {
 protected:
  void SetUp() override {
    WriterTest::SetUp();
    gCurrentFrame = &current_;
  }
  void TearDown() override {
    for (JobList* list : lists_) {
      list->MarkStored();
      delete list;
    }
    gCurrentFrame = nullptr;
    WriterTest::TearDown();
  }
  JobList* NewList(const unsigned char* vendor, std::vector<const char*> names) {
    lists_.push_back(new JobList(vendor, kModel, "Ablage"));
    for (const char* name : names) {
      FrameRecord frame = {};
      frame.hasName = 1;
      std::strcpy(frame.name, name);
      EXPECT_NE(lists_.back()->AddJobItem(&frame, 0, kJobCurrentSource, "", nullptr), nullptr);
    }
    return lists_.back();
  }
  static std::vector<std::string> Names(const JobList& list) {
    std::vector<std::string> names;
    for (JobNode* node = list.Head(); node; node = node->next) names.push_back(node->item->frame.name);
    return names;
  }
  FrameRecord current_ = {};
  std::vector<JobList*> lists_;
};

TEST_F(JobClipboardTest, EntriesGoAcrossAndTheBlockStays) {
  JobList* source = NewList(kVendor, {"A", "B", "C"});
  const int16_t rows[] = {2, 0};
  CopyJobsToClipboard(*source, rows, 2);
  ASSERT_TRUE(IsClipboardFormatAvailable(kJobClipboardFormat));
  EXPECT_EQ(kJobClipboardFormat, UINT(CF_PRIVATEFIRST));
  char temporary[MAX_PATH] = {};
  ASSERT_TRUE(GetTemporaryFolder(temporary, sizeof temporary));
  EXPECT_FALSE(FileExists((std::string(temporary) + "JM_ClipBoard.tmp").c_str()));
  const std::vector<uint8_t> block = ClipboardBlock();
  ASSERT_EQ(block.size(), 648u + 2 * (4 + 5024));

  JobList* target = NewList(kVendor, {"A", "X"});
  EXPECT_EQ(PasteJobsFromClipboard(target, 0), 2);
  EXPECT_EQ(Names(*target), (std::vector<std::string>{"A", "X", "C", "Kopie von A"}));
  EXPECT_TRUE(ClipboardBlock() == block);
  // The same block again, after the first entry.
  EXPECT_EQ(PasteJobsFromClipboard(target, 1), 2);
  EXPECT_EQ(Names(*target),
            (std::vector<std::string>{"A", "Kopie von C", "Kopie (2) von A", "X", "C", "Kopie von A"}));

  JobList* foreign = NewList(kOtherVendor, {});
  EXPECT_EQ(PasteJobsFromClipboard(foreign, 0), 0);
  EXPECT_EQ(foreign->Count(), 0);

  // Without the format nothing is pasted.
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  CloseClipboard();
  EXPECT_EQ(PasteJobsFromClipboard(target, 0), 0);
}

}  // namespace
