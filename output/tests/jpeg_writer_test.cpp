// The JPEG writer over the scan tests' images: each file is a JPEG of the
// pipeline's rows (the raw test writer's output) at the right precision,
// size and density, without its temporary file; its APP2 markers carry the
// embedded profile whole, its APP13 marker the thumbnail. The files stay in
// the working directory for check_jpeg_outputs.py, which decodes them with
// the library builds' djpeg against cjpeg of the same rows.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "foundation/file_io.h"
#include "foundation/memory.h"
#include "output/jpeg_file_writer.h"
#include "output/jpeg_markers.h"
#include "output/output_names.h"
#include "output/tests/writer_test_support.h"
#include "readers/jpeg/jpeg_glue.h"
#include "readers/jpeg/jpeg_icc_profile.h"
#include "records/defaults_block.h"
#include "state/data_source_state.h"
#include "state/module_state.h"

namespace {

uint16_t Big16(const uint8_t* at) { return static_cast<uint16_t>(at[0] << 8 | at[1]); }
uint32_t Big32(const uint8_t* at) { return uint32_t{at[0]} << 24 | at[1] << 16 | at[2] << 8 | at[3]; }

struct Marker {
  int code;
  std::vector<uint8_t> content;  // the bytes after the length word
};

// The markers in front of the first scan.
std::vector<Marker> MarkersOf(const std::vector<uint8_t>& file) {
  std::vector<Marker> markers;
  if (file.size() < 4 || file[0] != 0xFF || file[1] != 0xD8) return markers;
  size_t at = 2;
  while (at + 4 <= file.size() && file[at] == 0xFF) {
    const int code = file[at + 1];
    const size_t length = Big16(&file[at + 2]);
    if (at + 2 + length > file.size()) break;
    markers.push_back(Marker{code, std::vector<uint8_t>(file.begin() + at + 4, file.begin() + at + 2 + length)});
    if (code == 0xDA) break;
    at += 2 + length;
  }
  return markers;
}

const Marker* Find(const std::vector<Marker>& markers, int code) {
  for (const Marker& marker : markers)
    if (marker.code == code) return &marker;
  return nullptr;
}

class JpegWriterTest : public WriterTest {
 protected:
  void SetUp() override {
    WriterTest::SetUp();
    gBatchOutput = false;
  }
  void TearDown() override {
    SetDefault(gDefaults, kDefaultThreeChannelOutput, uint8_t{1});
    WriterTest::TearDown();
  }

  // Writes the frame as JPEG to name.jpg in the working directory; failed or not.
  bool WriteJpeg(JpegFileWriter& writer, const std::string& name, FrameRecord frame) {
    EXPECT_TRUE(SaveOutputPath((name + ".jpg").c_str()));
    return Write(writer, frame);
  }
};

struct JpegCase {
  const char* name;
  const char* image;
  int bits;
  bool rgb;
  uint32_t rows;
  uint8_t threeChannelOutput;
  uint16_t quarterTurns;
  int precision;
  int components;
};

const JpegCase kJpegCases[] = {
    {"rgb8", "scan_small_rgb24", 8, true, 0, 1, 0, 8, 3},
    {"grey8", "scan_small_grey8", 8, false, 0, 1, 0, 8, 1},
    {"rgb16", "scan_rgb48", 16, true, 10, 1, 0, 12, 3},
    {"grey16", "scan_grey16", 16, false, 20, 1, 0, 12, 1},
    {"cmyk8", "scan_small_rgb24", 8, true, 0, 0, 0, 8, 4},
    {"rgb8_turned", "scan_small_rgb24", 8, true, 0, 1, 1, 8, 3},
};

class JpegFileTest : public JpegWriterTest, public ::testing::WithParamInterface<JpegCase> {};

TEST_P(JpegFileTest, CompressesThePipelinesRows) {
  const JpegCase& c = GetParam();
  SetDefault(gDefaults, kDefaultThreeChannelOutput, c.threeChannelOutput);
  FrameRecord frame = OpenFrame(c.image, c.bits, c.rgb, c.rows);
  frame.quarterTurns = c.quarterTurns;

  const std::string name = std::string("jpeg_") + c.name;
  RawTestWriter raw(name + ".raw", Scratch("first.raw"));
  ASSERT_FALSE(Write(raw, frame));
  JpegFileWriter jpeg;
  ASSERT_FALSE(WriteJpeg(jpeg, name, frame));
  EXPECT_FALSE(FileExists((name + "0000.jpg").c_str()));

  const std::vector<uint8_t> file = ReadOutput(name + ".jpg");
  const std::vector<Marker> markers = MarkersOf(file);
  // Baseline, or the extended process that 12 bits need (optimised tables).
  const Marker* frameHeader = Find(markers, c.precision == 12 ? 0xC1 : 0xC0);
  ASSERT_NE(frameHeader, nullptr);
  EXPECT_EQ(frameHeader->content[0], c.precision);
  EXPECT_EQ(Big16(&frameHeader->content[1]), raw.Rows());
  EXPECT_EQ(Big16(&frameHeader->content[3]), raw.Columns());
  EXPECT_EQ(frameHeader->content[5], c.components);
  // CMYK carries Adobe's marker instead of JFIF.
  if (c.components == 4) {
    EXPECT_EQ(Find(markers, 0xE0), nullptr);
    const Marker* adobe = Find(markers, 0xEE);
    ASSERT_NE(adobe, nullptr);
    EXPECT_EQ(std::memcmp(adobe->content.data(), "Adobe", 5), 0);
  } else {
  // JFIF: dots per inch at the session's resolution.
  const Marker* jfif = Find(markers, 0xE0);
  ASSERT_NE(jfif, nullptr);
  EXPECT_EQ(std::memcmp(jfif->content.data(), "JFIF", 5), 0);
  EXPECT_EQ(jfif->content[7], 1);
  EXPECT_EQ(Big16(&jfif->content[8]), static_cast<uint32_t>(gSession->horizontalResolution) >> 16);
  EXPECT_EQ(Big16(&jfif->content[10]), static_cast<uint32_t>(gSession->verticalResolution) >> 16);
  EXPECT_GT(Big16(&jfif->content[8]), 0);
  }

  FILE* text = std::fopen((name + ".txt").c_str(), "w");
  ASSERT_NE(text, nullptr);
  std::fprintf(text, "%d %d %d %d\n", raw.Columns(), raw.Rows(), raw.SamplesPerPixel(), c.bits);
  std::fclose(text);
}

INSTANTIATE_TEST_SUITE_P(Frames, JpegFileTest, ::testing::ValuesIn(kJpegCases),
                         [](const auto& info) { return std::string(info.param.name); });

// CMYK samples go into the file as 255 - value (Adobe's convention): decoded
// through the library they come back close to the inverted pipeline rows.
TEST_F(JpegWriterTest, CmykSamplesAreWrittenInverted) {
  SetDefault(gDefaults, kDefaultThreeChannelOutput, uint8_t{0});
  FrameRecord frame = OpenFrame("scan_small_rgb24", 8, true);
  RawTestWriter raw(Scratch("cmyk.raw"), Scratch("first.raw"));
  ASSERT_FALSE(Write(raw, frame));
  ASSERT_EQ(raw.SamplesPerPixel(), 4);
  JpegFileWriter jpeg;
  ASSERT_FALSE(WriteJpeg(jpeg, Scratch("cmyk"), frame));
  const std::vector<uint8_t> rows = ReadOutput(Scratch("cmyk.raw"));
  const std::vector<uint8_t> file = ReadOutput(Scratch("cmyk.jpg"));

  const JpegLibrary& library = JpegLibraryFor(8);
  JpegObject* decoder = library.createDecompress();
  bool headerOk = false;
  ASSERT_TRUE(library.memorySource(decoder, file.data(), static_cast<uint32_t>(file.size())));
  ASSERT_TRUE(library.readHeader(decoder, true, &headerOk));
  ASSERT_TRUE(library.startDecompress(decoder));
  JpegDecodeInfo info;
  ASSERT_TRUE(library.getDecodeInfo(decoder, &info));
  ASSERT_EQ(info.outputComponents, 4);
  std::vector<uint8_t> row(info.outputWidth * 4);
  double error = 0, straight = 0;
  for (uint32_t y = 0; y < info.outputHeight; ++y) {
    ASSERT_TRUE(library.readScanline(decoder, row.data()));
    for (size_t i = 0; i < row.size(); ++i) {
      const int value = rows[y * row.size() + i];
      error += std::abs(row[i] - (255 - value));
      straight += std::abs(row[i] - value);
    }
  }
  library.freeObject(decoder);
  const double samples = double(info.outputHeight) * row.size();
  EXPECT_LT(error / samples, 3.0);
  EXPECT_GT(straight / samples, 10.0);
}

// A writer that embeds a profile of its own and hands over a thumbnail, as
// colour management and the progress pane would.
class MarkerWriter : public JpegFileWriter {
 public:
  explicit MarkerWriter(uint32_t profileSize) : profileSize(profileSize) {
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
  static constexpr int kThumbWidth = 33, kThumbHeight = 25;
  uint32_t profileSize;

 protected:
  bool OpenOutput() override {
    profileData_ = NewMemHandle(profileSize);
    if (!profileData_) return false;
    for (uint32_t i = 0; i < profileSize; ++i) profileData_->data[i] = static_cast<uint8_t>(i * 13 + i / 251);
    profileSize_ = profileSize;
    return JpegFileWriter::OpenOutput();
  }
  bool WriteOutput(const PanePreview&) override {
    PanePreview preview;
    preview.thumbnailRect = WinRect{0, 0, kThumbWidth, kThumbHeight};
    preview.thumbnail = thumbnail_.data();
    return JpegFileWriter::WriteOutput(preview);
  }

 private:
  std::vector<uint8_t> thumbnail_;
};

TEST_F(JpegWriterTest, ProfileChunksAndThumbnailMarkerStandBeforeTheImage) {
  struct ProfileCase {
    uint32_t size;
    std::vector<uint32_t> chunks;
  } cases[] = {{3145, {3145}}, {140000, {65519, 65519, 8962}}};
  FrameRecord frame = OpenFrame("scan_small_rgb24", 8, true);
  for (const ProfileCase& c : cases) {
    SCOPED_TRACE(c.size);
    MarkerWriter writer(c.size);
    const std::string name = "jpeg_profile" + std::to_string(c.size);
    ASSERT_FALSE(WriteJpeg(writer, name, frame));
    const std::vector<uint8_t> file = ReadOutput(name + ".jpg");
    const std::vector<Marker> markers = MarkersOf(file);

    std::vector<uint32_t> chunks;
    IccChunkAssembler assembler;
    for (const Marker& marker : markers) {
      if (marker.code != 0xE2) continue;
      IccMarkerChunk chunk;
      ASSERT_TRUE(ParseIccMarker(marker.content.data(), static_cast<uint32_t>(marker.content.size()), &chunk));
      EXPECT_EQ(chunk.number, chunks.size() + 1);
      EXPECT_EQ(chunk.count, c.chunks.size());
      chunks.push_back(chunk.size);
      assembler.AddChunk(chunk);
    }
    EXPECT_EQ(chunks, c.chunks);
    ASSERT_TRUE(assembler.Complete());
    ASSERT_EQ(assembler.Profile().size(), c.size);
    for (uint32_t i = 0; i < c.size; ++i)
      ASSERT_EQ(assembler.Profile()[i], static_cast<uint8_t>(i * 13 + i / 251)) << i;

    const Marker* app13 = Find(markers, 0xED);
    ASSERT_NE(app13, nullptr);
    const std::vector<uint8_t>& p = app13->content;
    const uint32_t total = static_cast<uint32_t>(p.size());
    EXPECT_EQ(total % 2, 0u);
    EXPECT_EQ(std::memcmp(p.data(), "Photoshop 3.0\0" "8BIM\x04\x09\0\0", 22), 0);
    EXPECT_EQ(Big32(&p[22]), total - 26);
    EXPECT_EQ(Big32(&p[26]), 1u);
    EXPECT_EQ(Big32(&p[30]), uint32_t{MarkerWriter::kThumbWidth});
    EXPECT_EQ(Big32(&p[34]), uint32_t{MarkerWriter::kThumbHeight});
    EXPECT_EQ(Big32(&p[38]), (MarkerWriter::kThumbWidth * 24u + 31) / 32 * 4);
    EXPECT_EQ(Big32(&p[46]), total - 54);
    EXPECT_EQ(Big16(&p[50]), 24);
    EXPECT_EQ(Big16(&p[52]), 1);
    EXPECT_EQ(Big16(&p[54]), 0xFFD8);
  }
  FILE* text = std::fopen("jpeg_thumbnail.txt", "w");
  ASSERT_NE(text, nullptr);
  std::fprintf(text, "jpeg_profile3145.jpg %d %d\n", MarkerWriter::kThumbWidth, MarkerWriter::kThumbHeight);
  std::fclose(text);
}

// A thumbnail that compresses beyond one marker's 65533 bytes is left out;
// the image is written all the same.
TEST(JpegMarkers, AThumbnailTooLargeForAMarkerIsLeftOut) {
  constexpr uint32_t width = 400, height = 300, stride = (width * 24 + 31) / 32 * 4;
  std::vector<uint8_t> noise(size_t{stride} * height);
  uint32_t seed = 12345;
  for (uint8_t& value : noise) {
    seed = seed * 1103515245u + 12345u;
    value = static_cast<uint8_t>(seed >> 16);
  }
  EXPECT_TRUE(BuildPhotoshopMarker(noise.data(), width, height).empty());
  const std::vector<uint8_t> small = BuildPhotoshopMarker(noise.data(), 8, 8);
  ASSERT_FALSE(small.empty());
  EXPECT_LE(small.size(), kLargestMarkerContent);
}

TEST(JpegMarkers, ProfileChunkCounts) {
  EXPECT_EQ(IccMarkerCount(0), 0u);
  EXPECT_EQ(IccMarkerCount(1), 1u);
  EXPECT_EQ(IccMarkerCount(65519), 1u);
  EXPECT_EQ(IccMarkerCount(65520), 2u);
  const std::vector<uint8_t> profile(70000, 7);
  EXPECT_EQ(BuildIccMarker(profile.data(), 70000, 2).size(), 14u + 70000 - 65519);
  EXPECT_TRUE(BuildIccMarker(profile.data(), 70000, 3).empty());
}

TEST_F(JpegWriterTest, ProgressTitles) {
  struct TitleWriter : JpegFileWriter {
    uint32_t Title(bool mirror, bool rotate) const { return ProgressTitleId(mirror, rotate); }
  } writer;
  EXPECT_EQ(writer.Title(false, false), 16024u);
  EXPECT_EQ(writer.Title(true, false), 16016u);
  EXPECT_EQ(writer.Title(true, true), 16017u);
}

}  // namespace
