// The preview made again from its stored parameters, and a file entry's
// automatic adjustment before its run, with the main window's parts
// installed as at module attach.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "foundation/file_io.h"
#include "foundation/global_dib.h"
#include "foundation/paths.h"
#include "foundation/record_store.h"
#include "frames/frame_list.h"
#include "output/job_hooks.h"
#include "output/job_list.h"
#include "output/job_run.h"
#include "output/tests/writer_test_support.h"
#include "records/defaults_block.h"
#include "session/device_layer.h"
#include "session/frame_geometry.h"
#include "session/preview_files.h"
#include "session/preview_store.h"
#include "state/data_source_state.h"
#include "ui/job_hooks_install.h"
#include "ui/preview_geometry.h"
#include "ui/preview_param.h"
#include "ui/tone_hooks_install.h"

namespace {

const unsigned char kVendor[] = "\x0AQuillbrook";
const unsigned char kModel[] = "\x03ZIR";
// Where a single-strip little-endian TIFF keeps its pixels (tag 273); 0 when
// the bytes are not such a file. The header's size varies with its preview.
uint32_t PixelOffset(const std::vector<uint8_t>& tiff) {
  auto u16 = [&](size_t at) { return at + 2 <= tiff.size() ? uint32_t{tiff[at]} | uint32_t{tiff[at + 1]} << 8 : 0u; };
  auto u32 = [&](size_t at) { return at + 4 <= tiff.size() ? u16(at) | u16(at + 2) << 16 : 0u; };
  if (tiff.size() < 8 || tiff[0] != 'I' || tiff[1] != 'I') return 0;
  const uint32_t ifd = u32(4);
  for (uint32_t i = 0, n = u16(ifd); i < n; ++i) {
    const size_t entry = ifd + 2 + size_t{i} * 12;
    if (u16(entry) == 273) return u16(entry + 2) == 3 ? u16(entry + 8) : u32(entry + 8);
  }
  return 0;
}

bool SameRect(const WinRect& a, const WinRect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

class PreviewRestoreTest : public WriterTest {
 protected:
  void SetUp() override {
    WriterTest::SetUp();
    system_->strings[473] = "Stapel Bild.tif";
    SetDefault(gDefaults, kDefaultPrescanFactor, uint32_t{1});
    gDeviceStore = OpenOrCreateFile("QB (ZIR).prf", Scratch("").c_str());
    ASSERT_NE(gDeviceStore, nullptr);
    frame_ = OpenFrame("scan_small_rgb24", 8, true);
    ComputeScanAreaInches();
    InstallUserInterfaceToneHooks();
    InstallUserInterfaceJobHooks();
    // The main window's preview as its layout left it.
    gPreviewClientRect = WinRect{0, 0, 74, 46};
    gPreviewExtentWidth = gScanAreaInches.width;
    gPreviewExtentHeight = gScanAreaInches.height;
    gPreviewZoomed = false;
  }
  void TearDown() override {
    InstallJobWindowHooks(JobWindowHooks());
    DeleteAllFrames();
    FreePreviewBuffers();
    CloseFile(gDeviceStore);
    gDeviceStore = nullptr;
    WriterTest::TearDown();
  }
  static std::string PrescanPath() {
    char path[kPathSize] = {};
    EXPECT_TRUE(PreviewFilePath(kPrescanFile, path));
    return path;
  }

  FrameRecord frame_;
};

TEST_F(PreviewRestoreTest, WithoutARecordNothingChanges) {
  AppendFrameNode(NewFrameNode(frame_));
  AppendFrameNode(NewFrameNode(frame_));
  EXPECT_FALSE(RestorePreviewParam(false));
  EXPECT_EQ(CountFrames(), 2);
  EXPECT_EQ(gPreviewClientRect.right, 74);
  // A batch without a document feeder has no preview to make again.
  gBatchOutput = true;
  EXPECT_TRUE(PrecheckBatchPreview());
  gBatchOutput = false;
}

TEST_F(PreviewRestoreTest, TheStoredPreviewComesBackWithItsFrame) {
  FrameRecord stored = frame_;
  stored.hasName = 1;
  std::strcpy(stored.name, "Vorlage");
  ASSERT_TRUE(SavePreviewParam(MakePreviewParam(stored, UiRect{0, 0, 20, 12}, 1, gScanAreaInches.width,
                                                gScanAreaInches.height, false)));
  AppendFrameNode(NewFrameNode(frame_));
  AppendFrameNode(NewFrameNode(frame_));
  CloseFile(CreateFileForWriting(PrescanPath().c_str()));

  ASSERT_TRUE(RestorePreviewParam(false));
  ASSERT_EQ(CountFrames(), 1);
  EXPECT_STREQ(gCurrentFrame->name, "Vorlage");
  EXPECT_FALSE(FileExists(PrescanPath().c_str())) << "the prescan file goes";
  EXPECT_TRUE(SameRect(gPreviewClientRect, WinRect{0, 0, 20, 12}));
  ASSERT_NE(gPreviewDib, nullptr);
  EXPECT_EQ(GlobalDibWidth(gPreviewDib), 20);
  EXPECT_EQ(GlobalDibHeight(gPreviewDib), 12);

  // Keeping the frames leaves the list alone.
  AppendFrameNode(NewFrameNode(frame_));
  ASSERT_TRUE(RestorePreviewParam(true));
  EXPECT_EQ(CountFrames(), 2);
}

// The same frame of one image with and without the automatic adjustment:
// the adjusted file differs, and the main window's preview state is put back.
TEST_F(PreviewRestoreTest, FileEntriesAreAdjustedBeforeTheyAreWritten) {
  JobList list(kVendor, kModel, "Automatik");
  std::string out = Scratch("");
  out.pop_back();
  list.SetOutputFolder(out.c_str(), true);
  const std::string image = Fixture("scan_small_rgb24.tif");
  for (const char* name : {"Ohne", "Mit"}) {
    FrameRecord frame = frame_;
    frame.hasName = 1;
    std::strcpy(frame.name, name);
    ASSERT_NE(list.AddJobItem(&frame, 0, kJobFile, image.c_str(), nullptr), nullptr);
  }
  NthJobNode(list, 2)->item->autoBeforeRun = 1;
  const WinRect client = gPreviewClientRect;
  const ScanAreaInches area = gScanAreaInches;

  const uint8_t all[] = {1, 1};
  RunJobList(list, all);
  EXPECT_EQ(NthJobNode(list, 1)->item->Status(), kJobWritten);
  EXPECT_EQ(NthJobNode(list, 2)->item->Status(), kJobWritten);

  const std::vector<uint8_t> plain = ReadOutput(out + PathSeparator() + "Ohne.tif");
  const std::vector<uint8_t> adjusted = ReadOutput(out + PathSeparator() + "Mit.tif");
  const size_t pixels = size_t{frame_.scanPixelWidth} * frame_.scanPixelHeight * 3;
  const uint32_t plainAt = PixelOffset(plain), adjustedAt = PixelOffset(adjusted);
  ASSERT_GT(plainAt, 0u);
  ASSERT_GT(adjustedAt, 0u);
  ASSERT_GE(plain.size(), plainAt + pixels);
  ASSERT_GE(adjusted.size(), adjustedAt + pixels);
  EXPECT_NE(std::memcmp(plain.data() + plainAt, adjusted.data() + adjustedAt, pixels), 0);

  // The preview it measured: 600 pixels on the image's longer side.
  PreviewParamRecord record = {};
  ASSERT_TRUE(LoadPreviewParam(&record));
  const int32_t side = 600, other = static_cast<int32_t>(23.0 / (37.0 / 600.0) + 0.5);
  EXPECT_TRUE((record.previewRect == UiRect{0, 0, side, other}));
  EXPECT_FALSE(FileExists(PrescanPath().c_str()));
  EXPECT_TRUE(SameRect(gPreviewClientRect, client));
  EXPECT_EQ(gScanAreaInches.width, area.width);
  EXPECT_EQ(gPreviewExtentWidth, area.width);
  list.MarkStored();
}

}  // namespace
