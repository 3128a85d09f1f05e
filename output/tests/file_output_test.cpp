// Writing the scan to files: the output names, the format checks, the
// save-as choice with its stored path, and batch runs over the frame list.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "foundation/dialogs/testing/scoped_prompts.h"
#include "foundation/file_io.h"
#include "foundation/record_store.h"
#include "frames/frame_list.h"
#include "output/file_output.h"
#include "output/output_checks.h"
#include "output/output_names.h"
#include "output/tests/writer_test_support.h"
#include "records/defaults_block.h"
#include "state/data_source_state.h"

namespace {

// A literal with its inner zero bytes and its own terminator: a filter list.
template <size_t N>
std::string Bytes(const char (&text)[N]) {
  return std::string(text, N);
}

class FileOutputTest : public WriterTest {
 protected:
  void SetUp() override {
    WriterTest::SetUp();
    system_->strings[488] = "Stapel Bild";
    system_->strings[1601] = "Unbenannt-";
    gBatchOutput = false;
    gOutputFormat = kFormatTiff;
    SetDefault(gDefaults, kDefaultBatchStartNumber, int16_t{0});
    base_ = Scratch("Stapel Bild.tif");
    ASSERT_TRUE(SaveOutputPath(base_.c_str()));
  }
  void TearDown() override {
    DeleteAllFrames();
    gBatchOutput = false;
    WriterTest::TearDown();
  }

  std::string Name(int16_t kind, int32_t plate, int32_t number) const {
    char path[256];
    std::strcpy(path, base_.c_str());
    BuildOutputFileName(kind, path, plate, number, 1);
    return path;
  }
  void AddFrame(const FrameRecord& frame, const char* name = nullptr) {
    FrameListNode* node = NewFrameNode(frame);
    ASSERT_NE(node, nullptr);
    if (name) {
      node->frame.hasName = 1;
      std::strcpy(node->frame.name, name);
    }
    AppendFrameNode(node);
  }
  std::string StoredPath() const {
    char path[256];
    return LoadOutputPath(path) ? path : "";
  }

  std::string base_;
};

TEST_F(FileOutputTest, NumberedAndFrameNamedFiles) {
  gBatchOutput = true;
  AddFrame(FrameRecord{});
  EXPECT_EQ(Name(1, 0, 1), Scratch("Stapel Bild0001.tif"));
  EXPECT_EQ(Name(3, 0, 3), Scratch("Stapel Bild0003.jpg"));
  EXPECT_EQ(Name(1, 0, 0), Scratch("Stapel Bild0000.tif"));
  const char* plates = "CMYK";
  for (int plate = 1; plate <= 4; ++plate) {
    EXPECT_EQ(Name(2, plate, 2), Scratch(std::string("Stapel Bild0002") + plates[plate - 1] + ".eps"));
    EXPECT_EQ(Name(2, plate, 0), Scratch("Stapel Bild0000.tm" + std::to_string(plate)));
  }
  EXPECT_EQ(Name(2, 0, 2), Scratch("Stapel Bild0002.eps"));
  SetDefault(gDefaults, kDefaultBatchStartNumber, int16_t{3});
  EXPECT_EQ(Name(1, 0, 1), Scratch("Stapel Bild0004.tif"));
  // A kind that is no writer's leaves the path as it was.
  EXPECT_EQ(Name(7, 0, 1), base_);

  DeleteAllFrames();
  AddFrame(FrameRecord{}, "Ansicht.tif");
  EXPECT_EQ(Name(1, 0, 2), Scratch("Ansicht.tif"));
  // Temporaries stay numbered.
  EXPECT_EQ(Name(1, 0, 0), Scratch("Stapel Bild0000.tif"));

  gBatchOutput = false;
  DeleteAllFrames();
  AddFrame(FrameRecord{});
  EXPECT_EQ(Name(1, 0, 1), Scratch("Stapel Bild.tif"));
}

TEST_F(FileOutputTest, LongPathsAreCutTo255Characters) {
  gBatchOutput = true;
  AddFrame(FrameRecord{});
  const std::string folder = Scratch("");
  base_ = folder + std::string(250 - folder.size(), 'n') + ".tif";
  const std::string name = Name(1, 0, 1);
  EXPECT_EQ(name.size(), 255u);
  EXPECT_EQ(name.substr(name.size() - 8), "0001.tif");
}

TEST_F(FileOutputTest, FormatsTheFramesCanHold) {
  struct Case {
    int32_t format;
    uint32_t colorMode;
    uint8_t bits;
    bool staysRgb;
    uint32_t refusal;
  } cases[] = {
      {kFormatTiff, 1, 1, true, 0},          {kFormatJpeg, 1, 1, true, 1631},   {kFormatJpeg, 2, 16, true, 0},
      {kFormatDcs, 2, 8, false, 0},          {kFormatDcs, 2, 8, true, 1632},    {kFormatDcs, 2, 16, false, 1632},
      {kFormatDcs, 1, 8, false, 1632},       {kFormatEpsf, 1, 1, true, 1633},   {kFormatEpsf, 2, 16, true, 1633},
      {kFormatEpsf, 2, 8, true, 0},          {9, 1, 1, true, 0},
  };
  for (const Case& c : cases) {
    FrameRecord frame{};
    frame.colorMode = c.colorMode;
    frame.bitsPerChannel = c.bits;
    uint32_t message = 99;
    EXPECT_EQ(CanFormatHoldFrame(c.format, frame, c.staysRgb, &message), c.refusal == 0) << c.format << " " << int(c.bits);
    EXPECT_EQ(message, c.refusal);
  }
  // L*a*b* output: only TIFF carries it; a grey frame is not converted.
  SetDefault(gDefaults, kDefaultOutputCmsMode, int16_t{4});
  const Case labCases[] = {
      {kFormatTiff, 2, 8, true, 0},     {kFormatJpeg, 2, 8, true, 1634}, {kFormatJpeg, 2, 16, true, 1634},
      {kFormatDcs, 2, 8, false, 1634},  {kFormatEpsf, 2, 8, true, 1634}, {kFormatJpeg, 1, 8, true, 0},
  };
  for (const Case& c : labCases) {
    FrameRecord frame{};
    frame.colorMode = c.colorMode;
    frame.bitsPerChannel = c.bits;
    uint32_t message = 99;
    EXPECT_EQ(CanFormatHoldFrame(c.format, frame, c.staysRgb, &message), c.refusal == 0) << c.format;
    EXPECT_EQ(message, c.refusal) << c.format;
  }
  SetDefault(gDefaults, kDefaultOutputCmsMode, int16_t{0});
  EXPECT_EQ(WriterKindForFormat(kFormatTiff), 1);
  EXPECT_EQ(WriterKindForFormat(kFormatDcs), 2);
  EXPECT_EQ(WriterKindForFormat(kFormatEpsf), 2);
  EXPECT_EQ(WriterKindForFormat(kFormatJpeg), 3);
  EXPECT_EQ(WriterKindForFormat(7), 7);
}

// The save-as dialog offers the types the frames hold; the chosen name gets the type's extension.
TEST_F(FileOutputTest, TheChosenFileIsStoredWithItsTypesExtension) {
  FrameRecord frame{};
  frame.colorMode = 2;
  frame.bitsPerChannel = 16;
  AddFrame(frame);
  struct Case {
    const char* answer;
    int filterIndex;
    const char* stored;
    int32_t format;
  } cases[] = {{"bild.tiff", 1, "bild.tif", kFormatTiff},
               {"bild.tif", 1, "bild.tif", kFormatTiff},
               {"bild.png", 2, "bild.png.jpg", kFormatJpeg},
               {"bild.jpeg", 2, "bild.jpg", kFormatJpeg},
               {"bild.TIF", 1, "bild.TIF.tif", kFormatTiff}};
  for (const Case& c : cases) {
    ScopedPrompts prompts;
    prompts.Accept(PromptKind::kSaveImage, Scratch(c.answer), c.filterIndex);
    ASSERT_TRUE(ChooseScanOutputFile(nullptr));
    EXPECT_EQ(StoredPath(), Scratch(c.stored));
    EXPECT_EQ(gOutputFormat, c.format);
    // A 16-bit frame: TIFF and JPEG only.
    const std::string filter = prompts.Asked(0).filter;
    EXPECT_EQ(filter, Bytes("TIFF (*.tif)\0*.tif\0JPEG (*.jpg)\0*.jpg\0"));
  }
  // The untitled counter named the proposal and counted the choices.
  ScopedPrompts prompts;
  prompts.Cancel(PromptKind::kSaveImage);
  EXPECT_FALSE(ChooseScanOutputFile(nullptr));
  EXPECT_EQ(prompts.Asked(0).initial, "Unbenannt-" + std::to_string(gUntitledCounter));
}

TEST_F(FileOutputTest, ABatchChoiceStoresItsBaseName) {
  gBatchOutput = true;
  FrameRecord frame{};
  frame.colorMode = 2;
  frame.bitsPerChannel = 8;
  AddFrame(frame);
  char name[256];
  LoadBatchBaseName(name, sizeof name);
  EXPECT_STREQ(name, "Stapel Bild");
  ScopedPrompts prompts;
  prompts.Accept(PromptKind::kSaveImage, Scratch("Serie.eps"), 3);
  ASSERT_TRUE(ChooseScanOutputFile(nullptr));
  EXPECT_EQ(prompts.Asked(0).initial, "Stapel Bild");
  // An 8-bit RGB frame kept RGB: TIFF, JPEG, EPSF.
  EXPECT_EQ(prompts.Asked(0).filter,
            Bytes("TIFF (*.tif)\0*.tif\0JPEG (*.jpg)\0*.jpg\0EPSF (*.eps)\0*.eps\0"));
  EXPECT_EQ(gOutputFormat, kFormatEpsf);
  LoadBatchBaseName(name, sizeof name);
  EXPECT_STREQ(name, "Serie");
  uint32_t size = 0;
  EXPECT_TRUE(RecordStoreSize(gAppStore, kBatchBaseNameType, kBatchBaseNameId, &size));
  EXPECT_EQ(size, 6u);
  char stored[256];
  EXPECT_TRUE(RecordStoreNameById(gAppStore, kOutputPathType, kOutputPathId, stored));
  EXPECT_STREQ(stored, "BatchPic Location");
  EXPECT_TRUE(RecordStoreSize(gAppStore, kOutputPathType, kOutputPathId, &size));
  EXPECT_EQ(size, 256u);
}

// Three frames give 0001 to 0003, the next run goes on from 0004; a frame
// whose name gives an earlier file, or any numbered file of the run, takes
// its batch number instead.
TEST_F(FileOutputTest, BatchRunsNumberTheirFilesAndLoseNone) {
  gBatchOutput = true;
  const FrameRecord frame = OpenFrame("scan_small_rgb24", 8, true);
  for (int i = 0; i < 3; ++i) AddFrame(frame);
  EXPECT_TRUE(SaveScanToFiles());
  for (const char* name : {"Stapel Bild0001.tif", "Stapel Bild0002.tif", "Stapel Bild0003.tif"})
    EXPECT_TRUE(FileExists(Scratch(name).c_str())) << name;
  EXPECT_EQ(gCurrentFrame, nullptr);
  EXPECT_EQ(GetDefault(gDefaults, kDefaultBatchStartNumber), 3);

  AddFrame(frame, "Ansicht");
  AddFrame(frame, "ANSICHT.jpg");
  AddFrame(frame);
  EXPECT_TRUE(SaveScanToFiles());
  EXPECT_TRUE(FileExists(Scratch("Ansicht.tif").c_str()));
  EXPECT_TRUE(FileExists(Scratch("Stapel Bild0005.tif").c_str()));
  EXPECT_TRUE(FileExists(Scratch("Stapel Bild0006.tif").c_str()));
  EXPECT_EQ(GetDefault(gDefaults, kDefaultBatchStartNumber), 6);

  // A name that a later frame's number gives: the named frame takes its own number.
  AddFrame(frame, "Stapel Bild0008");
  AddFrame(frame);
  EXPECT_TRUE(SaveScanToFiles());
  EXPECT_TRUE(FileExists(Scratch("Stapel Bild0007.tif").c_str()));
  EXPECT_TRUE(FileExists(Scratch("Stapel Bild0008.tif").c_str()));
}

// A run whose file fails reports it and stops; what was written stays.
TEST_F(FileOutputTest, AFailedFileEndsTheRunAndIsReported) {
  gBatchOutput = true;
  const FrameRecord frame = OpenFrame("scan_small_rgb24", 8, true);
  AddFrame(frame);
  AddFrame(frame);
  // The output folder does not exist: the first file cannot be made.
  ASSERT_TRUE(SaveOutputPath(Scratch("fehlt/Stapel Bild.tif").c_str()));
  EXPECT_FALSE(SaveScanToFiles());
  EXPECT_EQ(CountFrames(), 2);
  EXPECT_EQ(GetDefault(gDefaults, kDefaultBatchStartNumber), 1);
}

}  // namespace
