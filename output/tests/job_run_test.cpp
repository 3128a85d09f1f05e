// Job runs over the real device layer and writers: the pre-run questions, the
// names the run writes, the statuses, and the state put back afterwards.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "foundation/dialogs/testing/scoped_prompts.h"
#include "foundation/file_io.h"
#include "foundation/memory.h"
#include "foundation/record_store.h"
#include "output/job_hooks.h"
#include "output/job_list.h"
#include "output/job_run.h"
#include "output/output_names.h"
#include "output/tests/writer_test_support.h"
#include "records/defaults_block.h"
#include "state/data_source_state.h"

namespace {

const unsigned char kVendor[] = "\x0AQuillbrook";
const unsigned char kModel[] = "\x03ZIR";

// What the job manager's rows saw: the entry and the "TIFL" record's name and path.
struct RowRedraw {
  int16_t index;
  std::string recordName;
  std::string recordPath;
};
std::vector<RowRedraw>* gRedraws = nullptr;

class JobRunTest : public WriterTest {
 protected:
  void SetUp() override {
    WriterTest::SetUp();
    system_->strings[473] = "Stapel Bild.tif";
    system_->strings[500] = "Warnung";
    system_->strings[550] = "Hinweis";
    system_->strings[148] = "Vorsicht, Sie \xfc" "berschreiben Ihre Quelldaten !";
    system_->strings[502] = "Einige Dateien sind bereits vorhanden.\n\nErsetzen ?";
    system_->strings[1629] = "Nicht alle Jobeintr\xe4" "ge k\xf6" "nnen im gew\xe4" "hlten Dateiformat gespeichert werden.";
    system_->strings[1630] = "Sollen die entsprechenden Eintr\xe4" "ge stattdessen im TIFF-Format gespeichert werden?";
    system_->strings[1631] = "1-Bit Strich-Daten k\xf6" "nnen nicht im JPEG-Format gespeichert werden.";
    gBatchOutput = false;
    gOutputFormat = kFormatTiff;
    SetDefault(gDefaults, kDefaultBatchStartNumber, int16_t{0});
    frame_ = OpenFrame("scan_small_rgb24", 8, true);
    list_ = new JobList(kVendor, kModel, "Auftrag");
    out_ = Scratch("");
    out_.pop_back();
    list_->SetOutputFolder(out_.c_str(), true);
    gRedraws = &redraws_;
    JobWindowHooks hooks;
    hooks.redrawJobRow = [](int16_t index, int16_t) {
      char name[64] = {}, path[256] = {};
      RecordStoreNameByIndex(gAppStore, kOutputPathType, 1, name);
      RecordStoreReadIndexed(gAppStore, kOutputPathType, 1, path, sizeof path);
      gRedraws->push_back({index, name, path});
    };
    InstallJobWindowHooks(hooks);
  }
  void TearDown() override {
    InstallJobWindowHooks(JobWindowHooks());
    gRedraws = nullptr;
    list_->MarkStored();
    delete list_;
    WriterTest::TearDown();
  }
  JobItem& Add(const char* name = nullptr, int32_t kind = kJobFile, uint8_t bits = 8) {
    FrameRecord frame = frame_;
    frame.hasName = name != nullptr;
    std::strcpy(frame.name, name ? name : "");
    frame.bitsPerChannel = bits;
    if (bits == 1) frame.colorMode = 0;
    const std::string image = Fixture("scan_small_rgb24.tif");
    JobNode* node = list_->AddJobItem(&frame, 0, kind, image.c_str(), nullptr);
    EXPECT_NE(node, nullptr);
    return *node->item;
  }
  std::vector<int32_t> Statuses() const {
    std::vector<int32_t> statuses;
    for (JobNode* node = list_->Head(); node; node = node->next) statuses.push_back(node->item->Status());
    return statuses;
  }
  std::string Out(const std::string& name) const { return out_ + "\\" + name; }
  std::vector<std::string> Block() const {
    std::vector<std::string> names;
    char* block = OutputNameBlock(*list_);
    for (const char* at = block; at && *at; at += std::strlen(at) + 1) names.push_back(at);
    FreeBlock(block);
    return names;
  }

  FrameRecord frame_;
  JobList* list_ = nullptr;
  std::string out_;
  std::vector<RowRedraw> redraws_;
};

TEST_F(JobRunTest, EntriesRunAreNumberedInListOrder) {
  Add();
  Add().SetStatus(kJobWritten);
  Add();
  const uint8_t all[] = {1, 1, 1};
  EXPECT_EQ(Block(), (std::vector<std::string>{Out("Stapel Bild0001.tif"), Out("Stapel Bild0002.tif")}));
  RunJobList(*list_, all);
  EXPECT_EQ(Statuses(), (std::vector<int32_t>{kJobWritten, kJobWritten, kJobWritten}));
  EXPECT_TRUE(FileExists(Out("Stapel Bild0001.tif").c_str()));
  EXPECT_TRUE(FileExists(Out("Stapel Bild0002.tif").c_str()));
  EXPECT_FALSE(FileExists(Out("Stapel Bild0003.tif").c_str()));
  EXPECT_TRUE(list_->IsModified());
  // Rows 1 and 3, each redrawn running and done; during the run "TIFL" names the job's folder.
  ASSERT_EQ(redraws_.size(), 4u);
  EXPECT_EQ(redraws_[0].index, 1);
  EXPECT_EQ(redraws_[2].index, 3);
  EXPECT_EQ(redraws_[0].recordName, "JobPic Location");
  EXPECT_EQ(redraws_[0].recordPath, out_ + "\\Stapel Bild.tif");
  // None before the run, none after it; the file numbers are used up.
  char path[256];
  EXPECT_FALSE(LoadOutputPath(path));
  EXPECT_EQ(GetDefault(gDefaults, kDefaultBatchStartNumber), 2);
  EXPECT_FALSE(gBatchOutput);
  EXPECT_EQ(gOutputFormat, kFormatTiff);
}

TEST_F(JobRunTest, TheStateBeforeTheRunIsPutBack) {
  ASSERT_TRUE(SaveOutputPath("C:\\Bilder\\Serie.tif"));
  FrameRecord own = frame_;
  gCurrentFrame = &own;
  gLightSourceFlag = 0;
  SetDefault(gDefaults, kDefaultNegativeMode, uint8_t{0});
  SetDefault(gDefaults, kDefaultThreeChannelOutput, uint8_t{0});
  JobItem& item = Add("Negativ");
  item.settings.filmFlag = 1;
  item.settings.outputConversionByte = 1;
  item.settings.lightSource = 1;
  item.settings.positionNumber = 3;
  list_->SetOutputFormat(kFormatJpeg, true);
  const uint8_t all[] = {1};
  RunJobList(*list_, all);
  EXPECT_EQ(Statuses(), std::vector<int32_t>{kJobWritten});
  EXPECT_TRUE(FileExists(Out("Negativ.jpg").c_str()));
  EXPECT_EQ(gCurrentFrame, &own);
  EXPECT_EQ(gLightSourceFlag, 0);
  EXPECT_EQ(gOptionSlot, 0);
  EXPECT_EQ(GetDefault(gDefaults, kDefaultNegativeMode), 0);
  EXPECT_EQ(GetDefault(gDefaults, kDefaultThreeChannelOutput), 0);
  EXPECT_EQ(gOutputFormat, kFormatTiff);
  char path[256], name[64];
  ASSERT_TRUE(LoadOutputPath(path));
  EXPECT_STREQ(path, "C:\\Bilder\\Serie.tif");
  EXPECT_EQ(RecordStoreCount(gAppStore, kOutputPathType), 1);
  ASSERT_TRUE(RecordStoreNameByIndex(gAppStore, kOutputPathType, 1, name));
  EXPECT_STREQ(name, "BatchPic Location");
}

// A line-art entry in a JPEG job: the check asks, and after OK it is written as TIFF.
TEST_F(JobRunTest, EntriesTheFormatCannotHoldAreWrittenAsTiff) {
  Add();
  Add(nullptr, kJobFile, 1);
  Add();
  list_->SetOutputFormat(kFormatJpeg, true);
  const uint8_t all[] = {1, 1, 1};
  {
    ScopedPrompts prompts;
    prompts.Reply(kAnswerCancel);
    uint8_t exists = 9, overwrite = 9, problem = 9;
    EXPECT_FALSE(CheckJobsBeforeRun(*list_, all, &exists, &overwrite, &problem));
    EXPECT_EQ(problem, 1);
    EXPECT_EQ(exists, 0);
    EXPECT_EQ(overwrite, 0);
    EXPECT_EQ(prompts.Asked(0).title, "Warnung");
    EXPECT_EQ(prompts.Asked(0).text, system_->strings[1629] + "\nHinweis:\n" + system_->strings[1631] + "\n\n" +
                                         system_->strings[1630]);
    EXPECT_EQ(prompts.Asked(0).style, static_cast<uint32_t>(kBoxOkCancel | kBoxIconInformation));
  }
  {
    ScopedPrompts prompts;
    prompts.Reply(kAnswerOk);
    EXPECT_TRUE(CheckJobsBeforeRun(*list_, all, nullptr, nullptr, nullptr));
  }
  const std::vector<std::string> names = {Out("Stapel Bild0001.jpg"), Out("Stapel Bild0002.tif"),
                                          Out("Stapel Bild0003.jpg")};
  EXPECT_EQ(Block(), names);
  RunJobList(*list_, all);
  EXPECT_EQ(Statuses(), (std::vector<int32_t>{kJobWritten, kJobWritten, kJobWritten}));
  for (const std::string& name : names) EXPECT_TRUE(FileExists(name.c_str())) << name;
}

TEST_F(JobRunTest, ExistingFilesAndTheSourceItselfAreAskedAbout) {
  Add();
  Add();
  const uint8_t all[] = {1, 1};
  const uint8_t second[] = {0, 1};
  // The second entry, run alone, writes file 1: that one is asked about.
  CloseFile(CreateFileForWriting(Out("Stapel Bild0001.tif").c_str()));
  uint8_t exists = 0;
  {
    ScopedPrompts prompts;
    prompts.Reply(kAnswerNo);
    EXPECT_FALSE(CheckJobsBeforeRun(*list_, second, &exists, nullptr, nullptr));
    EXPECT_EQ(exists, 1);
    EXPECT_EQ(prompts.Asked(0).text, system_->strings[502]);
  }
  {
    ScopedPrompts prompts;
    prompts.Reply(kAnswerYes);
    EXPECT_TRUE(CheckJobsBeforeRun(*list_, all, nullptr, nullptr, nullptr));
  }
  DeleteFileAt(Out("Stapel Bild0001.tif").c_str());
  EXPECT_TRUE(CheckJobsBeforeRun(*list_, all, &exists, nullptr, nullptr));
  EXPECT_EQ(exists, 0);

  // A frame named like its own image, written into the image's folder.
  Add("scan_small_rgb24");
  std::string folder = Fixture("x");
  folder.resize(folder.size() - 2);
  list_->SetOutputFolder(folder.c_str(), true);
  const uint8_t third[] = {0, 0, 1};
  uint8_t overwrite = 0;
  ScopedPrompts prompts;
  prompts.Reply(kAnswerOk);
  EXPECT_FALSE(CheckJobsBeforeRun(*list_, third, &exists, &overwrite, nullptr));
  EXPECT_EQ(overwrite, 1);
  EXPECT_EQ(prompts.Asked(0).text, system_->strings[148]);
}

// Paths that write no file end as failed; the base entry's automatic adjustment has nothing to do.
TEST_F(JobRunTest, NoFileMeansFailed) {
  JobItem& missing = Add();
  std::strcpy(static_cast<FileJobItem&>(missing).imagePath, Scratch("fehlt.tif").c_str());
  Add(nullptr, kJobCurrentSource).autoBeforeRun = 1;
  const uint8_t all[] = {1, 1};
  RunJobList(*list_, all);
  EXPECT_EQ(Statuses(), (std::vector<int32_t>{kJobFailed, kJobWritten}));
  EXPECT_TRUE(FileExists(Out("Stapel Bild0002.tif").c_str()));

  list_->ResetEntryStatus(1);
  list_->ResetEntryStatus(2);
  list_->SetOutputFormat(7, true);
  RunJobList(*list_, all);
  EXPECT_EQ(Statuses(), (std::vector<int32_t>{kJobFailed, kJobFailed}));
  EXPECT_EQ(gOutputFormat, kFormatTiff);
}

TEST_F(JobRunTest, NothingRunnableChangesNothing) {
  Add().SetStatus(kJobFailed);
  Add();
  list_->MarkStored();
  const uint8_t first[] = {1, 0};
  RunJobList(*list_, first);
  EXPECT_TRUE(redraws_.empty());
  EXPECT_FALSE(list_->IsModified());
  EXPECT_EQ(Block(), std::vector<std::string>{Out("Stapel Bild0001.tif")});
}

}  // namespace
