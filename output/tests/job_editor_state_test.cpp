// Editing a job entry in the main window: the window's frames, settings,
// orientation and preview files set aside, the entry loaded alone, and all
// of it back afterwards.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "foundation/file_io.h"
#include "foundation/file_names.h"
#include "foundation/folder_tools.h"
#include "foundation/paths.h"
#include "foundation/pstring.h"
#include "foundation/settings_folders.h"
#include "frames/frame_list.h"
#include "frames/orientation/preview_orientation.h"
#include "output/job_hooks.h"
#include "output/job_list.h"
#include "output/tests/writer_test_support.h"
#include "session/device_layer.h"
#include "session/preview_files.h"
#include "state/data_source_state.h"

namespace {

const unsigned char kVendor[] = "\x0AQuillbrook";
const unsigned char kModel[] = "\x03ZIR";
const ScanNameSource kDeviceName = {[](unsigned char* name) { PStrFromC(name, "ZIR test.tif"); }, [] { return false; },
                                    [] { return false; }};

struct WindowCalls {
  int relayout = 0, reset = 0, refresh = 0;
};
WindowCalls* gCalls = nullptr;

void WriteText(const char* path, const std::string& text) {
  FileHandle file = CreateFileForWriting(path);
  ASSERT_NE(file, nullptr);
  ASSERT_TRUE(WriteBytesAt(file, 0, text.data(), static_cast<uint32_t>(text.size())));
  CloseFile(file);
}

std::string ReadText(const char* path) {
  FileHandle file = OpenFileForReading(path);
  if (!file) return "<none>";
  uint64_t size = 0;
  GetFileSize(file, &size);
  std::string text(static_cast<size_t>(size), '\0');
  ReadBytesAt(file, 0, &text[0], static_cast<uint32_t>(size));
  CloseFile(file);
  return text;
}

FrameRecord Named(const char* name) {
  FrameRecord frame = {};
  frame.hasName = 1;
  std::strcpy(frame.name, name);
  return frame;
}

class EditorStateTest : public WriterTest {
 protected:
  void SetUp() override {
    WriterTest::SetUp();
    SetScanNameSource(&kDeviceName);
    ASSERT_TRUE(GetPreviewsFolder(preview_));
    CreateFolder(preview_);
    ASSERT_TRUE(PreviewFilePath(kPreviewFile, preview_));
    gCalls = &calls_;
    JobWindowHooks hooks;
    hooks.relayoutPreview = [] { ++gCalls->relayout; };
    hooks.resetEditor = [] { ++gCalls->reset; };
    hooks.refreshEditor = [] { ++gCalls->refresh; };
    InstallJobWindowHooks(hooks);
    list_ = new JobList(kVendor, kModel, "Bearbeiten");
  }
  void TearDown() override {
    list_->MarkStored();
    delete list_;
    DeleteAllFrames();
    InstallJobWindowHooks(JobWindowHooks());
    SetPreviewOrientation(0, 0, 0);
    SetScanNameSource(nullptr);
    gCalls = nullptr;
    WriterTest::TearDown();
  }

  char preview_[kPathSize] = {};
  WindowCalls calls_;
  JobList* list_ = nullptr;
};

TEST_F(EditorStateTest, TheWindowComesBackAfterAnEntryWasEdited) {
  // The entry caches the preview that was current when it was made.
  WriteText(preview_, "Vorschau des Eintrags");
  FrameRecord entry = Named("Eintrag");
  ASSERT_NE(list_->AddJobItem(&entry, 0, kJobCurrentSource, "", nullptr), nullptr);

  // The window's own state when the edit begins.
  WriteText(preview_, "Vorschau des Fensters");
  AppendFrameNode(NewFrameNode(Named("Eins")));
  AppendFrameNode(NewFrameNode(Named("Zwei")));
  FrameRecord* own = gCurrentFrame;
  SetPreviewOrientation(1, 0, 1);

  list_->SaveEditorState();
  EXPECT_FALSE(FileExists(preview_)) << "set aside";
  list_->LoadEntryIntoEditor(1);
  ASSERT_EQ(CountFrames(), 1);
  EXPECT_STREQ(gCurrentFrame->name, "Eintrag");
  EXPECT_EQ(ReadText(preview_), "Vorschau des Eintrags");
  EXPECT_EQ(PreviewMirrorH(), 0);
  EXPECT_EQ(PreviewQuarterTurns(), 0);
  EXPECT_EQ(calls_.relayout, 1);
  EXPECT_EQ(calls_.reset, 1);
  EXPECT_EQ(calls_.refresh, 1);

  list_->RestoreEditorState();
  EXPECT_EQ(gCurrentFrame, own);
  ASSERT_EQ(CountFrames(), 2);
  EXPECT_STREQ(gCurrentFrame->name, "Eins");
  EXPECT_EQ(ReadText(preview_), "Vorschau des Fensters");
  EXPECT_EQ(PreviewMirrorH(), 1);
  EXPECT_EQ(PreviewQuarterTurns(), 1);
  EXPECT_EQ(calls_.relayout, 2);
  EXPECT_EQ(calls_.reset, 2);
  EXPECT_EQ(calls_.refresh, 2);
}

// Files set aside go to new "~QB" files of the temporary folder and come
// back whole; a file that was not there is not made.
TEST_F(EditorStateTest, PreviewFilesAreSetAsideAndBack) {
  char zoom[kPathSize];
  ASSERT_TRUE(PreviewFilePath(kZoomFile, zoom));
  DeleteFileAt(zoom);
  char temporary[kPathSize];
  ASSERT_TRUE(GetTemporaryFolder(temporary, sizeof temporary));
  const std::string taken = std::string(temporary) + "~QB0000.tmp";
  WriteText(taken.c_str(), "fremd");
  DeleteFileAt((std::string(temporary) + "~QB0001.tmp").c_str());
  WriteText(preview_, "Vorschau");

  list_->SetAsideCurrentPreviews(false);
  EXPECT_FALSE(FileExists(preview_));
  EXPECT_EQ(ReadText(taken.c_str()), "fremd") << "an existing file is never replaced";
  EXPECT_EQ(ReadText((std::string(temporary) + "~QB0001.tmp").c_str()), "Vorschau");

  WriteText(preview_, "Zwischenstand");
  list_->SetAsideCurrentPreviews(true);
  EXPECT_EQ(ReadText(preview_), "Vorschau");
  EXPECT_FALSE(FileExists((std::string(temporary) + "~QB0001.tmp").c_str()));
  EXPECT_FALSE(FileExists(zoom));
  DeleteFileAt(taken.c_str());
}

}  // namespace
