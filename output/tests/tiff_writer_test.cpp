// The TIFF writer over the scan tests' images: its files hold the rows the
// band pipeline makes (the raw test writer's output), behind the header; a
// turned frame passes through a first-pass file that is gone afterwards; a
// frame too large for classic TIFF is refused. The files stay in the working
// directory for the independent checks of check_tiff_outputs.py.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "foundation/dialogs/testing/scoped_prompts.h"
#include "foundation/file_io.h"
#include "foundation/memory.h"
#include "output/output_names.h"
#include "output/tests/writer_test_support.h"
#include "output/tiff_file_writer.h"
#include "records/defaults_block.h"
#include "state/data_source_state.h"

namespace {

uint16_t Le16(const uint8_t* at) { return static_cast<uint16_t>(at[0] | at[1] << 8); }

// The value of a tag of the first directory.
uint32_t TagValue(const std::vector<uint8_t>& file, uint16_t tag) {
  const uint16_t count = Le16(&file[8]);
  for (uint16_t i = 0; i < count; ++i) {
    const uint8_t* e = &file[10 + 12 * i];
    if (Le16(e) == tag) return Le16(e + 2) == 3 && GetLittle32(e + 4) == 1 ? Le16(e + 8) : GetLittle32(e + 8);
  }
  return UINT32_MAX;
}

class TiffWriterTest : public WriterTest {
 protected:
  void SetUp() override {
    WriterTest::SetUp();
    gBatchOutput = false;
  }
  void TearDown() override {
    SetDefault(gDefaults, kDefaultOutputCmsMode, int16_t{0});
    WriterTest::TearDown();
  }

  // Writes the frame as TIFF to name.tif in the working directory; failed or not.
  bool WriteTiff(TiffFileWriter& writer, const std::string& name, FrameRecord frame) {
    EXPECT_TRUE(SaveOutputPath((name + ".tif").c_str()));
    return Write(writer, frame);
  }
};

struct TiffCase {
  const char* name;
  const char* image;
  int bits;
  bool rgb;
  uint32_t rows;
  uint8_t threeChannelOutput;
  int16_t outputCmsMode;
  uint16_t quarterTurns;
  uint8_t mirrorH;
  uint16_t photometric;
};

const TiffCase kTiffCases[] = {
    {"rgb8", "scan_small_rgb24", 8, true, 0, 1, 0, 0, 0, 2},
    {"grey8", "scan_small_grey8", 8, false, 0, 1, 0, 0, 0, 1},
    {"grey16", "scan_grey16", 16, false, 20, 1, 0, 0, 0, 1},
    {"rgb16", "scan_rgb48", 16, true, 10, 1, 0, 0, 0, 2},
    {"lineart", "scan_small_grey8", 1, false, 0, 1, 0, 0, 0, 0},
    {"cmyk8", "scan_small_rgb24", 8, true, 0, 0, 0, 0, 0, 5},
    {"lab16", "scan_rgb48", 16, true, 10, 1, 4, 0, 0, 8},
    {"rgb8_turned", "scan_small_rgb24", 8, true, 0, 1, 0, 1, 0, 2},
    {"grey16_mirrored", "scan_grey16", 16, false, 20, 1, 0, 0, 1, 1},
};

class TiffFileTest : public TiffWriterTest, public ::testing::WithParamInterface<TiffCase> {};

TEST_P(TiffFileTest, HoldsThePipelinesRowsBehindItsHeader) {
  const TiffCase& c = GetParam();
  SetDefault(gDefaults, kDefaultThreeChannelOutput, c.threeChannelOutput);
  SetDefault(gDefaults, kDefaultOutputCmsMode, c.outputCmsMode);
  FrameRecord frame = OpenFrame(c.image, c.bits, c.rgb, c.rows);
  frame.quarterTurns = c.quarterTurns;
  frame.mirrorH = c.mirrorH;

  const std::string name = std::string("tiff_") + c.name;
  RawTestWriter raw(name + ".raw", Scratch("first.raw"));
  ASSERT_FALSE(Write(raw, frame));
  TiffFileWriter tiff;
  ASSERT_FALSE(WriteTiff(tiff, name, frame));

  const std::vector<uint8_t> file = ReadOutput(name + ".tif");
  const std::vector<uint8_t> rows = ReadOutput(name + ".raw");
  ASSERT_GT(file.size(), 1278u);
  EXPECT_EQ(TagValue(file, 256), static_cast<uint32_t>(raw.Columns()));
  EXPECT_EQ(TagValue(file, 257), static_cast<uint32_t>(raw.Rows()));
  EXPECT_EQ(TagValue(file, 262), c.photometric);
  EXPECT_EQ(TagValue(file, 277), static_cast<uint32_t>(raw.SamplesPerPixel()));
  const uint32_t strip = TagValue(file, 273), bytes = TagValue(file, 279);
  EXPECT_EQ(strip, 1278u);
  ASSERT_EQ(bytes, rows.size());
  ASSERT_GE(file.size(), strip + bytes);
  // L*a*b* keeps a and b signed in the file; check_tiff_outputs.py compares them.
  if (c.outputCmsMode != 4) {
    EXPECT_EQ(std::memcmp(&file[strip], rows.data(), bytes), 0);
  }
  EXPECT_FALSE(FileExists((name + "0000.tif").c_str()));

  FILE* text = std::fopen((name + ".txt").c_str(), "w");
  ASSERT_NE(text, nullptr);
  std::fprintf(text, "%d %d %d %d %d\n", raw.Columns(), raw.Rows(), raw.SamplesPerPixel(), c.bits, c.photometric);
  std::fclose(text);
}

INSTANTIATE_TEST_SUITE_P(Frames, TiffFileTest, ::testing::ValuesIn(kTiffCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A turned frame exchanges width and height; the first-pass file lies beside
// the output while the rows are written and is gone at the end.
TEST_F(TiffWriterTest, ATurnedFrameGoesThroughAFirstPassFile) {
  FrameRecord frame = OpenFrame("scan_small_rgb24", 8, true);
  frame.quarterTurns = 1;
  TiffFileWriter writer;
  ASSERT_FALSE(WriteTiff(writer, Scratch("turn"), frame));
  const std::vector<uint8_t> file = ReadOutput(Scratch("turn.tif"));
  ASSERT_GT(file.size(), 1278u);
  EXPECT_EQ(TagValue(file, 256), frame.scanPixelHeight);
  EXPECT_EQ(TagValue(file, 257), frame.scanPixelWidth);
  EXPECT_FALSE(FileExists(Scratch("turn0000.tif").c_str()));
}

// Classic TIFF offsets end at 4 GiB: a 9.6 GB frame is refused with the
// writers' alert and no file is made.
TEST_F(TiffWriterTest, AFrameBeyondClassicTiffIsRefused) {
  ScopedPrompts prompts;
  prompts.Reply(kAnswerOk);
  TiffFileWriter writer;
  EXPECT_TRUE(WriteTiff(writer, Scratch("huge"), OpenFrame("writer_huge_rgb48", 16, true)));
  EXPECT_EQ(prompts.Asked().size(), 1u);
  EXPECT_FALSE(FileExists(Scratch("huge.tif").c_str()));
}

// The free space asked for: the image bytes, twice when reoriented, and the spare.
TEST(TiffSpaceNeed, ImageBytesAndTheSpare) {
  EXPECT_EQ(TiffSpaceNeed(100000000, false), 102098430u);
  EXPECT_EQ(TiffSpaceNeed(100000000, true), 202098430u);
}

// A writer that embeds a 3145-byte profile of its own, as colour management would hand it over.
class ProfileWriter : public TiffFileWriter {
 public:
  static constexpr uint32_t kProfileSize = 3145;

 protected:
  bool OpenOutput() override {
    profileData_ = NewMemHandle(kProfileSize);
    if (!profileData_) return false;
    for (uint32_t i = 0; i < kProfileSize; ++i) profileData_->data[i] = static_cast<uint8_t>(i * 13 + 1);
    profileSize_ = kProfileSize;
    return TiffFileWriter::OpenOutput();
  }
};

TEST_F(TiffWriterTest, AnEmbeddedProfileStandsBeforeTheRowsPaddedToEven) {
  FrameRecord frame = OpenFrame("scan_small_rgb24", 8, true);
  RawTestWriter raw("tiff_profile.raw", Scratch("first.raw"));
  ASSERT_FALSE(Write(raw, frame));
  ProfileWriter writer;
  ASSERT_FALSE(WriteTiff(writer, "tiff_profile", frame));
  const std::vector<uint8_t> file = ReadOutput("tiff_profile.tif");
  ASSERT_GT(file.size(), 1278u + 3146u);
  // The live pane's thumbnail (a Windows build) keeps 34377; without a resource it leaves: 17 entries.
  const bool thumbnail = TagValue(file, 34377) != UINT32_MAX;
  EXPECT_EQ(Le16(&file[8]), thumbnail ? 18 : 17);
  EXPECT_EQ(TagValue(file, 34675), 1278u);
  EXPECT_EQ(TagValue(file, 273), 1278u + 3146u);
  for (uint32_t i = 0; i < ProfileWriter::kProfileSize; ++i)
    ASSERT_EQ(file[1278 + i], static_cast<uint8_t>(i * 13 + 1)) << i;
  EXPECT_EQ(file[1278 + 3145], 0);
  const std::vector<uint8_t> rows = ReadOutput("tiff_profile.raw");
  EXPECT_EQ(std::memcmp(&file[1278 + 3146], rows.data(), rows.size()), 0);
  FILE* text = std::fopen("tiff_profile.txt", "w");
  ASSERT_NE(text, nullptr);
  std::fprintf(text, "%d %d 3 8 2\n", raw.Columns(), raw.Rows());
  std::fclose(text);
}

// A writer that hands its own preview and thumbnail to the trailing parts, as the pane would.
class KnownPreviewWriter : public TiffFileWriter {
 public:
  static constexpr int kWidth = 40, kHeight = 30, kThumbWidth = 33, kThumbHeight = 25;
  KnownPreviewWriter() {
    block_.resize(kWidth * kHeight * 3);
    for (size_t i = 0; i < block_.size(); ++i) block_[i] = static_cast<uint8_t>(i * 7);
    const int stride = (kThumbWidth * 24 + 31) / 32 * 4;
    thumbnail_.assign(static_cast<size_t>(stride) * kThumbHeight, 0);
    for (int y = 0; y < kThumbHeight; ++y)
      for (int x = 0; x < kThumbWidth; ++x) {
        uint8_t* p = &thumbnail_[static_cast<size_t>(y) * stride + 3 * x];
        p[0] = static_cast<uint8_t>(x * 7);
        p[1] = static_cast<uint8_t>(y * 9);
        p[2] = 128;
      }
  }
  bool withThumbnail = true;

 protected:
  bool WriteOutput(const PanePreview&) override {
    PanePreview preview;
    preview.rect = WinRect{0, 0, kWidth, kHeight};
    preview.block = block_.data();
    if (withThumbnail) {
      preview.thumbnailRect = WinRect{0, 0, kThumbWidth, kThumbHeight};
      preview.thumbnail = thumbnail_.data();
    }
    return TiffFileWriter::WriteOutput(preview);
  }

 private:
  std::vector<uint8_t> block_, thumbnail_;
};

TEST_F(TiffWriterTest, PreviewDirectoryAndThumbnailResourceAreAppended) {
  FrameRecord frame = OpenFrame("scan_small_rgb24", 8, true);
  KnownPreviewWriter writer;
  ASSERT_FALSE(WriteTiff(writer, "tiff_preview", frame));
  const std::vector<uint8_t> file = ReadOutput("tiff_preview.tif");
  const uint32_t imageEnd = 1278 + TagValue(file, 279);
  ASSERT_GT(file.size(), imageEnd + 196u);
  // The preview directory follows the image; its rows follow it.
  EXPECT_EQ(GetLittle32(&file[214]), imageEnd);
  EXPECT_EQ(Le16(&file[imageEnd]), 14);
  const uint32_t resources = imageEnd + 196 + KnownPreviewWriter::kWidth * KnownPreviewWriter::kHeight * 3;
  const uint32_t count = GetLittle32(&file[182]), offset = GetLittle32(&file[186]);
  EXPECT_EQ(offset, resources);
  EXPECT_EQ(offset + count, file.size());
  EXPECT_EQ(std::memcmp(&file[offset], "8BIM\x04\x09\0\0", 8), 0);
  // Data length N - 12, compressed size N - 40, the JPEG's start marker at 40.
  const uint32_t length = uint32_t{file[offset + 8]} << 24 | file[offset + 9] << 16 | file[offset + 10] << 8 |
                          file[offset + 11];
  EXPECT_EQ(length, count - 12);
  const uint32_t compressed = uint32_t{file[offset + 32]} << 24 | file[offset + 33] << 16 |
                              file[offset + 34] << 8 | file[offset + 35];
  EXPECT_EQ(compressed, count - 40);
  EXPECT_EQ(file[offset + 40], 0xFF);
  EXPECT_EQ(file[offset + 41], 0xD8);
  FILE* text = std::fopen("tiff_preview.thumb", "w");
  ASSERT_NE(text, nullptr);
  std::fprintf(text, "%u %u %d %d\n", offset + 40, compressed, KnownPreviewWriter::kThumbWidth,
               KnownPreviewWriter::kThumbHeight);
  std::fclose(text);
}

}  // namespace
