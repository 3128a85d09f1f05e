// The JPEG writer against the dependency build's cjpeg given the same pixels
// and settings, its frame header and density, the outgoing comments and
// markers, a stop by the progress callback, and sinks that fail.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "imagelib/imagelib.h"
#include "imagelib/io_state.h"
#include "imagelib/library_context.h"
#include "imagelib/platform.h"
#include "imagelib/tests/jpeg_test_files.h"

using namespace imagelib;

namespace {

struct Written {
  int result = 0;
  int error = 0;
  long closed_size = 0;
};

Written WriteJpeg(const std::string& path, const PnmImage& image, int quality, int progressive,
                  const ImageResolution* resolution) {
  Written written;
  ImageStream sink = OpenFileSink(path.c_str());
  written.result = WriteJpegFile(sink, image.samples.data(), image.width, image.height, quality, progressive,
                                 image.channels * 8, resolution);
  written.error = GetLastImageError();
  written.closed_size = CloseFileSink(sink);
  return written;
}

// The component sampling bytes (h << 4 | v) of the first frame header.
std::vector<int> FrameSampling(const std::vector<uint8_t>& jpeg) {
  for (size_t at = 2; at + 4 <= jpeg.size();) {
    int marker = jpeg[at + 1];
    size_t length = static_cast<size_t>(jpeg[at + 2] << 8 | jpeg[at + 3]);
    if (marker == 0xC0 || marker == 0xC2) {
      std::vector<int> sampling;
      for (int c = 0; c < jpeg[at + 9]; ++c) sampling.push_back(jpeg[at + 11 + 3 * c]);
      return sampling;
    }
    at += 2 + length;
  }
  return {};
}

struct CjpegCase {
  const char* name;
  const char* source;
  int quality;
  int progressive;
  bool one_by_one;  // every sampling factor 1 through SetJpegSampling
};

class MatchesCjpeg : public ::testing::TestWithParam<CjpegCase> {
 protected:
  void TearDown() override { SetJpegSampling(nullptr, nullptr); }
};

TEST_P(MatchesCjpeg, ByteForByte) {
  const CjpegCase& c = GetParam();
  const int ones[10] = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
  if (c.one_by_one) SetJpegSampling(ones, ones);
  std::string path = std::string("written_") + c.name + ".jpg";
  Written written = WriteJpeg(path, ReadPnm(c.source), c.quality, c.progressive, nullptr);
  std::vector<uint8_t> ours = FileBytes(path);
  EXPECT_EQ(written.error, kImageOk);
  EXPECT_EQ(written.result, static_cast<int>(ours.size()));
  EXPECT_EQ(written.closed_size, written.result);
  EXPECT_TRUE(ours == FileBytes(std::string("cjpeg_") + c.name + ".jpg"));
}

INSTANTIATE_TEST_SUITE_P(Settings, MatchesCjpeg,
                         ::testing::Values(CjpegCase{"q75", "source.ppm", 75, 0, false},
                                           CjpegCase{"q20", "source.ppm", 20, 0, false},
                                           CjpegCase{"q95_1x1", "source.ppm", 95, 0, true},
                                           CjpegCase{"q80_progressive", "source.ppm", 80, 1, false},
                                           CjpegCase{"q90_grey", "source.pgm", 90, 0, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(JpegWriter, WithoutSamplingTheLibrarysDefaultApplies) {
  SetJpegSampling(nullptr, nullptr);
  WriteJpeg("written_default_sampling.jpg", ReadPnm("source.ppm"), 75, 0, nullptr);
  EXPECT_EQ(FrameSampling(FileBytes("written_default_sampling.jpg")), (std::vector<int>{0x22, 0x11, 0x11}));
}

// identify checks the density of written_72dpi.jpg as well (check_jpeg_density.py).
TEST(JpegWriter, WritesTheDensityOrItsDefault) {
  const ImageResolution dpi72 = {72, 72, 1};
  PnmImage source = ReadPnm("source.ppm");
  ASSERT_EQ(WriteJpeg("written_72dpi.jpg", source, 75, 0, &dpi72).error, kImageOk);
  ASSERT_EQ(WriteJpeg("written_no_density.jpg", source, 75, 0, nullptr).error, kImageOk);
  for (const auto& expected : {std::make_pair("written_72dpi.jpg", dpi72),
                               std::make_pair("written_no_density.jpg", ImageResolution{1, 1, 0})}) {
    ImageStream stream = OpenFileSource(expected.first);
    int width = 0, height = 0, bits = 0;
    ImageResolution read = {-1, -1, -1};
    EXPECT_EQ(GetJpegFileInfo(stream, &width, &height, &bits, &read), 1);
    CloseFileSource(stream);
    EXPECT_EQ(read.x_density, expected.second.x_density) << expected.first;
    EXPECT_EQ(read.y_density, expected.second.y_density) << expected.first;
    EXPECT_EQ(read.unit, expected.second.unit) << expected.first;
  }
}

TEST(JpegWriter, WritesTheOutgoingCommentsAndMarkers) {
  JpegSettings& jpeg = GetContext()->jpeg;
  jpeg.outgoing_comments = {{0xFE, "Hafen", {}}, {0xFE, "", {}}, {0xFE, "am Morgen", {}}};
  jpeg.outgoing_markers = {{0xE3, "", {1, 2, 3, 4, 5}}};
  Written written = WriteJpeg("written_markers.jpg", ReadPnm("source.ppm"), 75, 0, nullptr);
  jpeg.outgoing_comments.clear();
  jpeg.outgoing_markers.clear();
  ASSERT_EQ(written.error, kImageOk);

  ImageStream stream = OpenFileSource("written_markers.jpg");
  int width = 0, height = 0, bits = 0;
  ASSERT_EQ(GetJpegFileInfo(stream, &width, &height, &bits, nullptr), 1);
  CloseFileSource(stream);
  ASSERT_EQ(jpeg.kept_comments.size(), 2u);
  EXPECT_EQ(jpeg.kept_comments[0].text, "Hafen");
  EXPECT_EQ(jpeg.kept_comments[1].text, "am Morgen");
  ASSERT_EQ(jpeg.kept_markers.size(), 1u);
  EXPECT_EQ(jpeg.kept_markers[0].marker, 0xE3);
  EXPECT_EQ(jpeg.kept_markers[0].data, (std::vector<uint8_t>{1, 2, 3, 4, 5}));
}

int StopAtRow10(int done, int, void*) { return done != 10; }

TEST(JpegWriter, AStopWritesNoFileSize) {
  GetContext()->progress = StopAtRow10;
  Written written = WriteJpeg("written_stopped.jpg", ReadPnm("source.ppm"), 75, 0, nullptr);
  GetContext()->progress = nullptr;
  EXPECT_EQ(written.result, 0);
  EXPECT_EQ(written.error, kImageStopped);
  EXPECT_EQ(GetContext()->depth, 0);
}

TEST(JpegWriter, RefusesAnEmptyImage) {
  PnmImage source = ReadPnm("source.ppm");
  ImageStream sink = OpenFileSink("written_empty.jpg");
  EXPECT_EQ(WriteJpegFile(sink, source.samples.data(), 0, source.height, 75, 0, 24, nullptr), 0);
  EXPECT_EQ(GetLastImageError(), kImageBadArgument);
  EXPECT_EQ(WriteJpegFile(sink, source.samples.data(), source.width, 0, 75, 0, 24, nullptr), 0);
  EXPECT_EQ(GetLastImageError(), kImageBadArgument);
  CloseFileSink(sink);
}

// A memory sink of 300 bytes: a small image's one write at the end does not
// fit, nor does a noisy image's first full buffer during the rows.
class SmallSink : public ::testing::Test {
 protected:
  void SetUp() override {
    state_ = static_cast<IoState*>(GlobalBlockAlloc(sizeof(IoState)));
    state_->start_magic = kIoStartMagic;
    state_->end_magic = kIoEndMagic;
    state_->kind = kIoMemory;
    state_->write_mode = 1;
    state_->memory_base = memory_.data();
    state_->capacity = static_cast<uint32_t>(memory_.size());
  }
  void TearDown() override { GlobalBlockFree(state_); }

  int Write(int width, int height, const std::vector<uint8_t>& pixels) {
    return WriteJpegFile(state_, pixels.data(), width, height, 100, 0, 24, nullptr);
  }

  IoState* state_ = nullptr;
  std::vector<uint8_t> memory_ = std::vector<uint8_t>(300);
};

TEST_F(SmallSink, AFailedWriteAtTheEndGives9) {
  ASSERT_EQ(Write(8, 8, std::vector<uint8_t>(8 * 8 * 3, 0x80)), 0);
  EXPECT_EQ(GetLastImageError(), kImageJpegFailed);
}

TEST_F(SmallSink, AFailedWriteDuringTheRowsGives4) {
  std::vector<uint8_t> noise(256 * 256 * 3);
  uint32_t seed = 12345;
  for (uint8_t& v : noise) {
    seed = seed * 1103515245u + 12345u;
    v = static_cast<uint8_t>(seed >> 24);
  }
  ASSERT_EQ(Write(256, 256, noise), 0);
  EXPECT_EQ(GetLastImageError(), kImageWriteFailed);
}

}  // namespace
