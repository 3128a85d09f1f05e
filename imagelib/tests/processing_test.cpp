// The processing functions against the numpy reference of
// processing_reference.py, then the telling cases of their double arithmetic,
// their argument checks and their progress.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <limits>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "imagelib/imagelib.h"
#include "imagelib/library_context.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes ReadBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

struct ReferenceCase {
  std::string name;
  std::string function;
  std::vector<double> params;
  Bytes input;
  Bytes source;
  Bytes expected;
};

const char kCaseFolder[] = "processing_cases/";

std::vector<ReferenceCase> LoadCases() {
  std::vector<ReferenceCase> cases;
  std::ifstream list(std::string(kCaseFolder) + "cases.txt");
  std::string line;
  while (std::getline(list, line)) {
    std::istringstream fields(line);
    ReferenceCase c;
    fields >> c.name >> c.function;
    std::string value;
    while (fields >> value) c.params.push_back(std::strtod(value.c_str(), nullptr));
    std::string base = kCaseFolder + c.name;
    c.input = ReadBytes(base + ".in");
    c.source = ReadBytes(base + ".src");
    c.expected = ReadBytes(base + ".out");
    cases.push_back(std::move(c));
  }
  return cases;
}

Bytes AsBytes(const int* values, size_t count) {
  const auto* p = reinterpret_cast<const uint8_t*>(values);
  return Bytes(p, p + count * sizeof(int));
}

// Runs the library on one case and answers its result in the reference's layout.
Bytes RunCase(const ReferenceCase& c) {
  auto p = [&](size_t i) { return static_cast<int>(c.params.at(i)); };
  Bytes image = c.input;
  int ok = 0;
  if (c.function == "grey") {
    Bytes grey(static_cast<size_t>(p(0)) * p(1));
    ok = ConvertRgbToGrey(image.data(), p(0), p(1), grey.data());
    image = grey;
  } else if (c.function == "luma_hist" || c.function == "channel_hist") {
    int histogram[256];
    ok = c.function == "luma_hist" ? ComputeLumaHistogram(image.data(), p(0), p(1), histogram)
                                   : ComputeChannelHistogram(image.data(), p(0), p(1), p(2), histogram);
    image = AsBytes(histogram, 256);
  } else if (c.function == "gamma") {
    ok = ApplyGamma(image.data(), p(0), p(1), c.params.at(2));
  } else if (c.function == "levels") {
    ok = AdjustLevels(image.data(), p(0), p(1), p(2), p(3), p(4));
  } else if (c.function == "noise") {
    ok = ReduceNoise(image.data(), p(0), p(1));
  } else if (c.function == "sharpen") {
    Bytes out(image.size(), 0xCC);
    ok = SharpenImage(image.data(), p(0), p(1), out.data(), p(2));
    image = out;
  } else if (c.function == "blend") {
    ok = BlendImages(image.data(), p(0), p(1), c.source.data(), p(2), p(3), p(4), p(5), c.params.at(6), p(7));
  } else if (c.function == "resample") {
    Bytes out(static_cast<size_t>(p(2)) * p(3) * p(4), 0xCC);
    ok = ResampleImage(image.data(), p(0), p(1), out.data(), p(2), p(3), p(4));
    image = out;
  } else {
    ADD_FAILURE() << "unknown function " << c.function;
  }
  EXPECT_EQ(ok, 1);
  EXPECT_EQ(GetLastImageError(), kImageOk);
  return image;
}

TEST(NumpyReference, EveryCaseMatches) {
  std::vector<ReferenceCase> cases = LoadCases();
  ASSERT_GT(cases.size(), 100u) << "run processing_reference.py first";
  for (const ReferenceCase& c : cases) {
    SCOPED_TRACE(c.name);
    Bytes actual = RunCase(c);
    ASSERT_EQ(actual.size(), c.expected.size());
    for (size_t i = 0; i < actual.size(); ++i)
      if (actual[i] != c.expected[i]) {
        ADD_FAILURE() << "first difference at byte " << i << ": " << int(actual[i]) << " instead of "
                      << int(c.expected[i]);
        break;
      }
  }
}

// Double arithmetic that a rewrite in integers or floats would lose.
TEST(DoubleArithmetic, GreyFallsOneShortForSomeGreyPixels) {
  const uint8_t pixels[] = {1, 1, 1, 4, 4, 4, 10, 10, 10, 255, 255, 255};
  uint8_t grey[4];
  ASSERT_EQ(ConvertRgbToGrey(pixels, 4, 1, grey), 1);
  EXPECT_EQ(grey[0], 0);
  EXPECT_EQ(grey[1], 3);
  EXPECT_EQ(grey[2], 10);
  EXPECT_EQ(grey[3], 255);
}

struct BlendCase {
  double opacity;
  int table;
  uint8_t value;
  uint8_t expected;
};

class BlendOfEqualImages : public ::testing::TestWithParam<BlendCase> {};

TEST_P(BlendOfEqualImages, KeepsOrLosesOne) {
  const BlendCase& c = GetParam();
  uint8_t dst[3] = {c.value, c.value, c.value};
  const uint8_t src[3] = {c.value, c.value, c.value};
  ASSERT_EQ(BlendImages(dst, 1, 1, src, 1, 1, 0, 0, c.opacity, c.table), 1);
  EXPECT_EQ(dst[0], c.expected);
}

INSTANTIATE_TEST_SUITE_P(Opacities, BlendOfEqualImages,
                         ::testing::Values(BlendCase{0.01, 0, 3, 2}, BlendCase{0.5, 0, 3, 3},
                                           BlendCase{0.6, 0, 3, 3}, BlendCase{1.5, 0, 3, 3},
                                           BlendCase{0.0, 1, 3, 3}, BlendCase{0.5, 1, 3, 2}));

TEST(DoubleArithmetic, StretchWalksWithLowCount9AndHighCount490On500Pixels) {
  // Grey pixels: 9 of 10, 1 of 30, 480 of 100, 1 of 150 and 9 of 200. A low count
  // of 10 would put the low level at 30, a high count of 491 the high level at 150.
  std::vector<uint8_t> pixels;
  for (auto [value, count] : {std::pair<int, int>{10, 9}, {30, 1}, {100, 480}, {150, 1}, {200, 9}})
    for (int i = 0; i < count * 3; ++i) pixels.push_back(static_cast<uint8_t>(value));
  ASSERT_EQ(AdjustLevels(pixels.data(), 25, 20, 5, 250, 0), 1);
  EXPECT_EQ(pixels[0], 0);          // 10 is the low level
  EXPECT_EQ(pixels[9 * 3], 56);     // (30 - 10) x 255 / 90
  EXPECT_EQ(pixels[10 * 3], 255);   // 100 is the high level
  EXPECT_EQ(pixels[499 * 3], 255);
}

TEST(DoubleArithmetic, StretchOfAFlatImageLeavesTheLuminanceShortfall) {
  // Both levels land on the one grey value, so every grey value becomes 0;
  // (4, 4, 4) has luminance 3 and (10, 10, 10) luminance 10.
  for (auto [value, expected] : {std::pair<uint8_t, uint8_t>{4, 1}, {10, 0}}) {
    std::vector<uint8_t> pixels(10 * 10 * 3, value);
    ASSERT_EQ(AdjustLevels(pixels.data(), 10, 10, 5, 250, 0), 1);
    EXPECT_EQ(pixels, std::vector<uint8_t>(10 * 10 * 3, expected)) << int(value);
  }
}

TEST(Arguments, BadArgumentsAreRefusedWith5) {
  uint8_t rgb[12] = {};
  uint8_t other[12] = {};
  int histogram[256];
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const std::pair<const char*, std::function<int()>> calls[] = {
      {"grey null", [&] { return ConvertRgbToGrey(nullptr, 2, 2, other); }},
      {"grey negative", [&] { return ConvertRgbToGrey(rgb, -1, 2, other); }},
      {"luma null", [&] { return ComputeLumaHistogram(rgb, 2, 2, nullptr); }},
      {"channel mask 3", [&] { return ComputeChannelHistogram(rgb, 2, 2, 3, histogram); }},
      {"channel mask 0", [&] { return ComputeChannelHistogram(rgb, 2, 2, 0, histogram); }},
      {"gamma negative", [&] { return ApplyGamma(rgb, 2, 2, -0.5); }},
      {"gamma nan", [&] { return ApplyGamma(rgb, 2, 2, nan); }},
      {"levels null", [&] { return AdjustLevels(nullptr, 2, 2, 5, 250, 0); }},
      {"noise null", [&] { return ReduceNoise(nullptr, 2, 2); }},
      {"sharpen in place", [&] { return SharpenImage(rgb, 2, 2, rgb, 50); }},
      {"sharpen null", [&] { return SharpenImage(rgb, 2, 2, nullptr, 50); }},
      {"blend onto itself", [&] { return BlendImages(rgb, 2, 2, rgb, 2, 2, 0, 0, 0.5, 0); }},
      {"blend null", [&] { return BlendImages(rgb, 2, 2, nullptr, 2, 2, 0, 0, 0.5, 0); }},
      {"blend nan", [&] { return BlendImages(rgb, 2, 2, other, 2, 2, 0, 0, nan, 0); }},
      {"resample zero width", [&] { return ResampleImage(rgb, 0, 2, other, 2, 2, 3); }},
      {"resample zero height", [&] { return ResampleImage(rgb, 2, 2, other, 2, 0, 3); }},
      {"resample null", [&] { return ResampleImage(nullptr, 2, 2, other, 2, 2, 3); }},
      {"resample no bytes", [&] { return ResampleImage(rgb, 2, 2, other, 2, 2, 0); }},
  };
  for (const auto& [name, call] : calls) {
    uint8_t grey[1];
    ConvertRgbToGrey(rgb, 1, 1, grey);  // clears the last error
    EXPECT_EQ(call(), 0) << name;
    EXPECT_EQ(GetLastImageError(), kImageBadArgument) << name;
  }
}

TEST(Arguments, LevelsOfAnEmptyImageHaveNoGreyImage) {
  uint8_t rgb[3] = {};
  EXPECT_EQ(AdjustLevels(rgb, 0, 5, 5, 250, 0), 0);
  EXPECT_EQ(GetLastImageError(), kImageNoMemory);
  EXPECT_EQ(AdjustLevels(rgb, 5, 0, 5, 250, 1), 0);
  EXPECT_EQ(GetLastImageError(), kImageNoMemory);
}

// Noise reduction reports 0, then 2 to 13 after its twelve plane passes, then 14.
class NoiseProgress : public ::testing::TestWithParam<int> {
 protected:
  static int Record(int done, int total, void* user_data) {
    auto* self = static_cast<NoiseProgress*>(user_data);
    self->steps_.push_back(done);
    EXPECT_EQ(total, 14);
    return done == self->GetParam() ? 0 : 1;
  }
  void SetUp() override {
    imagelib::LibraryContext* context = imagelib::GetContext();
    context->progress = Record;
    context->progress_user_data = this;
  }
  void TearDown() override { imagelib::GetContext()->progress = nullptr; }

  std::vector<int> steps_;
};

TEST_P(NoiseProgress, AStopKeepsTheImageUntilTheCopyBack) {
  uint8_t pixels[3 * 3 * 3] = {};
  pixels[4 * 3] = 200;  // one speckle, which the filter lowers
  uint8_t before = pixels[4 * 3];
  int stop = GetParam();
  EXPECT_EQ(ReduceNoise(pixels, 3, 3), stop < 0 ? 1 : 0);
  EXPECT_EQ(GetLastImageError(), stop < 0 ? kImageOk : kImageStopped);
  std::vector<int> expected = {0, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14};
  if (stop >= 0) expected.resize(stop == 0 ? 1 : stop);
  EXPECT_EQ(steps_, expected);
  if (stop >= 0 && stop < 14)
    EXPECT_EQ(pixels[4 * 3], before);
  else
    EXPECT_LT(pixels[4 * 3], before);
}

INSTANTIATE_TEST_SUITE_P(StopAt, NoiseProgress, ::testing::Values(-1, 0, 7, 13, 14));

}  // namespace
