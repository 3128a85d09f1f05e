// The JPEG reader and header reader over files of ImageMagick and of the
// dependency build's cjpeg: pixels against the same build's djpeg, the depth
// conversions, the kept comments and markers, a stop by the progress callback
// and damaged files.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

#include "imagelib/imagelib.h"
#include "imagelib/library_context.h"
#include "imagelib/platform.h"
#include "imagelib/tests/jpeg_test_files.h"
#include "tools/tests/jpeg_decode.h"

using namespace imagelib;

namespace {

constexpr int kWidth = 33;
constexpr int kHeight = 17;

struct HeaderInfo {
  int result = 0;
  int error = 0;
  int width = 0;
  int height = 0;
  int bits = 0;
  ImageResolution resolution = {-1, -1, -1};
};

HeaderInfo ReadInfo(const std::string& path) {
  HeaderInfo info;
  ImageStream stream = OpenFileSource(path.c_str());
  info.result = GetJpegFileInfo(stream, &info.width, &info.height, &info.bits, &info.resolution);
  info.error = GetLastImageError();
  CloseFileSource(stream);
  return info;
}

std::vector<std::string> KeptComments() {
  std::vector<std::string> texts;
  for (int i = 0, count = CountJpegComments(); i < count; ++i) {
    char* text = GetJpegComment(i);
    texts.push_back(text ? text : "(none)");
    GlobalBlockFree(text);
  }
  return texts;
}

class DecodesLikeDjpeg : public ::testing::TestWithParam<const char*> {};

TEST_P(DecodesLikeDjpeg, RgbEqualsDjpegByteForByte) {
  std::string name = GetParam();
  JpegReadResult decoded = ReadJpeg(name + ".jpg", 24);
  PnmImage reference = ReadPnm(name + ".pnm");
  ASSERT_EQ(reference.channels, 3);
  EXPECT_EQ(decoded.error, kImageOk);
  EXPECT_EQ(decoded.width, reference.width);
  EXPECT_EQ(decoded.height, reference.height);
  EXPECT_TRUE(decoded.pixels == reference.samples);
}

INSTANTIATE_TEST_SUITE_P(Files, DecodesLikeDjpeg,
                         ::testing::Values("im420", "im444", "improgressive", "im300dpi", "cjpeg"),
                         [](const auto& info) { return std::string(info.param); });

TEST(JpegReader, GreyAs24GivesTheGreyInEveryChannel) {
  JpegReadResult decoded = ReadJpeg("imgrey.jpg", 24);
  PnmImage reference = ReadPnm("imgrey.pnm");
  ASSERT_EQ(reference.channels, 1);
  ASSERT_EQ(decoded.error, kImageOk);
  ASSERT_EQ(decoded.pixels.size(), reference.samples.size() * 3);
  for (size_t i = 0; i < reference.samples.size(); ++i) {
    for (int c = 0; c < 3; ++c) ASSERT_EQ(decoded.pixels[i * 3 + c], reference.samples[i]) << i;
  }
  EXPECT_TRUE(ReadJpeg("imgrey.jpg", 8).pixels == reference.samples);
}

TEST(JpegReader, RgbAs8GivesTheTruncatedLuminance) {
  JpegReadResult decoded = ReadJpeg("im444.jpg", 8);
  PnmImage reference = ReadPnm("im444.pnm");
  ASSERT_EQ(decoded.error, kImageOk);
  ASSERT_EQ(decoded.pixels.size() * 3, reference.samples.size());
  for (size_t i = 0; i < decoded.pixels.size(); ++i) {
    const uint8_t* rgb = &reference.samples[i * 3];
    int grey = static_cast<int>(0.299 * rgb[0] + 0.587 * rgb[1] + 0.114 * rgb[2]);
    ASSERT_EQ(decoded.pixels[i], grey) << i;
  }
}

TEST(JpegReader, CmykAs24MultipliesEachInkByBlack) {
  JpegReadResult decoded = ReadJpeg("imcmyk.jpg", 24);
  DecodedJpeg samples = DecodeJpeg8("imcmyk.jpg");
  ASSERT_EQ(samples.components, 4) << samples.error;
  ASSERT_EQ(decoded.error, kImageOk);
  ASSERT_EQ(decoded.pixels.size() * 4, samples.samples.size() * 3);
  for (size_t i = 0; i < decoded.pixels.size() / 3; ++i) {
    const int* cmyk = &samples.samples[i * 4];
    for (int c = 0; c < 3; ++c) ASSERT_EQ(decoded.pixels[i * 3 + c], cmyk[c] * cmyk[3] / 255) << i;
  }
}

TEST(JpegReader, RefusedDepthsLeaveNoBuffer) {
  JpegReadResult cmyk_grey = ReadJpeg("imcmyk.jpg", 8);
  EXPECT_FALSE(cmyk_grey.buffer);
  EXPECT_EQ(cmyk_grey.error, kImageUnsupported);
  JpegReadResult sixteen = ReadJpeg("im444.jpg", 16);
  EXPECT_FALSE(sixteen.buffer);
  EXPECT_EQ(sixteen.error, kImageBadArgument);
}

int StopAtRow10(int done, int, void*) { return done != 10; }

TEST(JpegReader, AStopKeepsTheRowsReadSoFar) {
  GetContext()->progress = StopAtRow10;
  JpegReadResult decoded = ReadJpeg("im444.jpg", 24);
  GetContext()->progress = nullptr;
  PnmImage reference = ReadPnm("im444.pnm");
  ASSERT_TRUE(decoded.buffer);
  EXPECT_EQ(decoded.error, kImageStopped);
  ASSERT_EQ(decoded.pixels.size(), reference.samples.size());
  size_t done = 11 * kWidth * 3;
  EXPECT_TRUE(std::equal(decoded.pixels.begin(), decoded.pixels.begin() + done, reference.samples.begin()));
  EXPECT_EQ(std::count(decoded.pixels.begin() + done, decoded.pixels.end(), 0),
            static_cast<long>(decoded.pixels.size() - done));
  EXPECT_EQ(GetContext()->depth, 0);
}

TEST(JpegFileInfo, SizeComponentsAndDensity) {
  HeaderInfo colour = ReadInfo("im300dpi.jpg");
  EXPECT_EQ(colour.result, 1);
  EXPECT_EQ(colour.error, kImageOk);
  EXPECT_EQ(colour.width, kWidth);
  EXPECT_EQ(colour.height, kHeight);
  EXPECT_EQ(colour.bits, 24);
  EXPECT_EQ(colour.resolution.x_density, 300);
  EXPECT_EQ(colour.resolution.y_density, 300);
  EXPECT_EQ(colour.resolution.unit, 1);
  EXPECT_EQ(ReadInfo("imgrey.jpg").bits, 8);
  EXPECT_EQ(ReadInfo("imcmyk.jpg").bits, 32);
}

TEST(JpegFileInfo, KeepsAnApp1MarkerWithItsBytes) {
  ASSERT_EQ(ReadInfo("app1.jpg").result, 1);
  ASSERT_EQ(CountJpegMarkers(), 1);
  uint8_t* data = nullptr;
  int length = 0;
  int marker = 0;
  ASSERT_EQ(GetJpegMarker(0, &data, &length, &marker), 1);
  EXPECT_EQ(marker, 0xE1);
  ASSERT_EQ(length, 100);
  for (int i = 0; i < length; ++i) EXPECT_EQ(data[i], (i * 11 + 3) & 0xFF) << i;
  GlobalBlockFree(data);
  EXPECT_EQ(CountJpegComments(), 0);
}

TEST(JpegFileInfo, App0AloneKeepsNoMarker) {
  ASSERT_EQ(ReadInfo("cjpeg.jpg").result, 1);
  EXPECT_EQ(CountJpegMarkers(), 0);
  EXPECT_EQ(CountJpegComments(), 0);
}

TEST(JpegFileInfo, KeepsTwoCommentsWithTheirTexts) {
  ASSERT_EQ(ReadInfo("twocomments.jpg").result, 1);
  EXPECT_EQ(KeptComments(), (std::vector<std::string>{"Hafen am Morgen", "zweiter Kommentar"}));
}

TEST(JpegFileInfo, EveryHeaderReadEmptiesTheLists) {
  ReadInfo("twocomments.jpg");
  ReadInfo("cjpeg.jpg");
  EXPECT_EQ(CountJpegComments(), 0);
  ReadInfo("twocomments.jpg");
  EXPECT_EQ(ReadInfo("empty.jpg").result, 0);
  EXPECT_EQ(CountJpegComments(), 0);
  ReadInfo("twocomments.jpg");
  EXPECT_EQ(ReadJpeg("app1.jpg", 24).error, kImageOk);
  EXPECT_EQ(CountJpegComments(), 0);
  EXPECT_EQ(CountJpegMarkers(), 1);
}

TEST(JpegFileInfo, AnotherThreadSeesNoneOfThem) {
  ReadInfo("twocomments.jpg");
  ReadInfo("app1.jpg");
  ReadInfo("twocomments.jpg");
  int comments = -1;
  int markers = -1;
  std::thread([&] {
    comments = CountJpegComments();
    markers = CountJpegMarkers();
  }).join();
  EXPECT_EQ(comments, 0);
  EXPECT_EQ(markers, 0);
  EXPECT_EQ(CountJpegComments(), 2);
}

struct DamagedFile {
  const char* file;
  int code;
  const char* reference;  // djpeg's decoding when the file still loads
};

class DamagedJpeg : public ::testing::TestWithParam<DamagedFile> {};

TEST_P(DamagedJpeg, ReadsWithItsCode) {
  const DamagedFile& damaged = GetParam();
  JpegReadResult decoded = ReadJpeg(damaged.file, 24);
  EXPECT_EQ(decoded.error, damaged.code);
  EXPECT_EQ(decoded.buffer, damaged.code == kImageOk);
  if (damaged.reference) {
    PnmImage reference = ReadPnm(damaged.reference);
    EXPECT_EQ(decoded.width, reference.width);
    EXPECT_EQ(decoded.height, reference.height);
    EXPECT_TRUE(decoded.pixels == reference.samples);
  }
  EXPECT_EQ(GetContext()->depth, 0);
}

INSTANTIATE_TEST_SUITE_P(Files, DamagedJpeg,
                         ::testing::Values(DamagedFile{"empty.jpg", kImageJpegFailed, nullptr},
                                           DamagedFile{"cut_header.jpg", kImageJpegFailed, nullptr},
                                           DamagedFile{"garbage.jpg", kImageJpegFailed, nullptr},
                                           DamagedFile{"twelve.jpg", kImageJpegFailed, nullptr},
                                           DamagedFile{"huge.jpg", kImageNoMemory, nullptr},
                                           DamagedFile{"zero_width.jpg", kImageJpegFailed, nullptr},
                                           DamagedFile{"cut_scan.jpg", kImageOk, "cut_scan.pnm"}),
                         [](const auto& info) {
                           std::string name = info.param.file;
                           return name.substr(0, name.find('.'));
                         });

TEST(JpegFileInfo, AHugeFrameStillHasItsHeaderRead) {
  HeaderInfo huge = ReadInfo("huge.jpg");
  EXPECT_EQ(huge.result, 1);
  EXPECT_EQ(huge.width, 65500);
  EXPECT_EQ(huge.height, 65500);
}

}  // namespace
