// A whole job under Windows with the real device layer, writers and progress
// window: seven file entries over three generated images, cancelled in the
// fourth and started again, ends with exactly seven files and every entry
// written. check_job_outputs.py compares the files with numpy.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "foundation/dialogs/testing/scoped_prompts.h"
#include "foundation/progress/progress_window.h"
#include "output/job_hooks.h"
#include "output/job_list.h"
#include "output/job_run.h"
#include "output/output_names.h"
#include "output/tests/writer_test_support.h"
#include "records/defaults_block.h"
#include "session/device_layer.h"
#include "state/data_source_state.h"

namespace {

namespace fs = std::filesystem;

const unsigned char kVendor[] = "\x0AQuillbrook";
const unsigned char kModel[] = "\x03ZIR";

struct Entry {
  const char* image;
  int bits;
  bool rgb;
  const char* name;  // null: unnamed
  uint8_t mirrorH;
  uint16_t quarterTurns;
  const char* file;  // what the job writes
};
const Entry kEntries[] = {
    {"scan_small_rgb24", 8, true, nullptr, 0, 0, "Stapel Bild0001.tif"},
    {"scan_small_rgb24", 8, true, "Farbe", 0, 1, "Farbe.tif"},
    {"scan_small_grey8", 8, false, nullptr, 0, 0, "Stapel Bild0003.tif"},
    {"scan_rgb48", 16, true, "Tief", 0, 0, "Tief.tif"},
    {"scan_small_grey8", 8, false, "Grau", 1, 0, "Grau.tif"},
    {"scan_small_rgb24", 8, true, nullptr, 1, 3, "Stapel Bild0006.tif"},
    {"scan_rgb48", 16, true, nullptr, 0, 2, "Stapel Bild0007.tif"},
};
constexpr int16_t kCancelledEntry = 4;

class JobRunWindowsTest : public WriterTest {
 protected:
  void TearDown() override {
    SetProgressCancelled(false);
    InstallJobWindowHooks(JobWindowHooks());
    gOutputFormat = kFormatTiff;
    WriterTest::TearDown();
  }
};

std::vector<int32_t> Statuses(const JobList& list) {
  std::vector<int32_t> statuses;
  for (JobNode* node = list.Head(); node; node = node->next) statuses.push_back(node->item->Status());
  return statuses;
}

TEST_F(JobRunWindowsTest, ACancelledJobStartedAgainLosesNoFrame) {
  system_->strings[473] = "Stapel Bild.tif";
  system_->strings[500] = "Warnung";
  system_->strings[502] = "Einige Dateien sind bereits vorhanden.\n\nErsetzen ?";
  SetDefault(gDefaults, kDefaultBatchStartNumber, int16_t{0});
  // The module's built-in gamma of reflective originals, which the numpy model assumes.
  SetDefault(gDefaults, kDefaultGammaReflective, 1.8);
  const fs::path folder = fs::current_path() / "job_run";
  fs::remove_all(folder);
  fs::create_directories(folder);

  JobList list(kVendor, kModel, "Sieben");
  list.SetOutputFolder(folder.string().c_str(), true);
  list.SetOutputFormat(kFormatTiff, true);
  FILE* manifest = std::fopen((folder / "expect.txt").string().c_str(), "w");
  ASSERT_NE(manifest, nullptr);
  for (const Entry& e : kEntries) {
    FrameRecord frame = OpenFrame(e.image, e.bits, e.rgb);
    frame.hasName = e.name != nullptr;
    std::strcpy(frame.name, e.name ? e.name : "");
    frame.mirrorH = e.mirrorH;
    frame.quarterTurns = e.quarterTurns;
    ASSERT_NE(list.AddJobItem(&frame, 0, kJobFile, Fixture(std::string(e.image) + ".tif").c_str(), nullptr), nullptr);
    std::fprintf(manifest, "%s\t%s\t%d\t%d\n", e.file, e.image, e.mirrorH, e.quarterTurns);
  }
  std::fclose(manifest);
  // The image open when the job starts stays the source afterwards.
  OpenFrame("scan_small_grey8", 8, false);

  // The person presses Cancel as the fourth entry starts.
  JobWindowHooks hooks;
  hooks.redrawJobRow = [](int16_t index, int16_t) {
    static bool pressed = false;
    if (index == kCancelledEntry && !pressed) {
      pressed = true;
      SetProgressCancelled(true);
    }
  };
  InstallJobWindowHooks(hooks);
  // The global output state of a JPEG scan, which the job's TIFF run leaves as it was.
  gOutputFormat = kFormatJpeg;
  gBatchOutput = false;
  const uint8_t all[7] = {1, 1, 1, 1, 1, 1, 1};
  uint8_t exists = 9;
  EXPECT_TRUE(CheckJobsBeforeRun(list, all, &exists, nullptr, nullptr));
  EXPECT_EQ(exists, 0);
  RunJobList(list, all);
  EXPECT_EQ(Statuses(list), (std::vector<int32_t>{2, 2, 2, 0, 0, 0, 0}));
  EXPECT_TRUE(list.StopRequested());
  EXPECT_FALSE(gBatchOutput);
  EXPECT_EQ(gOutputFormat, kFormatJpeg);
  SetProgressCancelled(false);

  // Started again: the files written so far are neither asked about nor replaced.
  {
    ScopedPrompts prompts;
    EXPECT_TRUE(CheckJobsBeforeRun(list, all, &exists, nullptr, nullptr));
    EXPECT_EQ(exists, 0);
  }
  RunJobList(list, all);
  EXPECT_EQ(Statuses(list), std::vector<int32_t>(7, kJobWritten));

  std::vector<std::string> written;
  for (const auto& file : fs::directory_iterator(folder))
    if (file.path().extension() == ".tif") written.push_back(file.path().filename().string());
  std::sort(written.begin(), written.end());
  std::vector<std::string> wanted;
  for (const Entry& e : kEntries) wanted.push_back(e.file);
  std::sort(wanted.begin(), wanted.end());
  EXPECT_EQ(written, wanted);
  char image[256];
  GetImagePath(image);
  EXPECT_EQ(std::string(image), Fixture("scan_small_grey8.tif"));
}

}  // namespace
