// The colour quantiser against the reference of quantizer_reference.py, then
// the cases that show its walk order, its colour-count limits and its
// progress.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "imagelib/imagelib.h"
#include "imagelib/library_context.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes ReadBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// count pixels of one colour appended to an image.
void AddPixels(Bytes& image, int count, uint8_t red, uint8_t green, uint8_t blue) {
  for (int i = 0; i < count; ++i) {
    image.push_back(red);
    image.push_back(green);
    image.push_back(blue);
  }
}

struct ReferenceCase {
  std::string name;
  int width, height, colors, option;
};

std::vector<ReferenceCase> LoadCases() {
  std::vector<ReferenceCase> cases;
  std::ifstream list("quantizer_cases/cases.txt");
  std::string line;
  while (std::getline(list, line)) {
    std::istringstream fields(line);
    ReferenceCase c;
    if (fields >> c.name >> c.width >> c.height >> c.colors >> c.option) cases.push_back(c);
  }
  return cases;
}

// The reserved bytes are the caller's, and entries past the count stay as they were.
std::vector<PaletteEntry> MarkedPalette() { return std::vector<PaletteEntry>(kPaletteEntries, {9, 9, 9, 0xAB}); }

Bytes Rgb(const std::vector<PaletteEntry>& palette, int count) {
  Bytes rgb(3 * static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    rgb[3 * i] = palette[i].red;
    rgb[3 * i + 1] = palette[i].green;
    rgb[3 * i + 2] = palette[i].blue;
  }
  return rgb;
}

void ExpectUntouchedBeyond(const std::vector<PaletteEntry>& palette, int count) {
  for (int i = 0; i < kPaletteEntries; ++i) {
    EXPECT_EQ(palette[i].reserved, 0xAB) << i;
    if (i >= count) {
      EXPECT_EQ(palette[i].red, 9) << i;
    }
  }
}

TEST(QuantizerReference, PalettesAndIndexesMatch) {
  std::vector<ReferenceCase> cases = LoadCases();
  ASSERT_EQ(cases.size(), 18u) << "run quantizer_reference.py first";
  for (const ReferenceCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::string base = "quantizer_cases/" + c.name;
    Bytes image = ReadBytes(base + ".in");
    Bytes palette_rgb = ReadBytes(base + ".pal");
    Bytes indexes = ReadBytes(base + ".idx");
    ASSERT_EQ(image.size(), static_cast<size_t>(c.width * c.height * 3));

    std::vector<PaletteEntry> palette = MarkedPalette();
    Bytes out(indexes.size(), 0xEE);
    ASSERT_EQ(ReduceToPalette(image.data(), c.width, c.height, out.data(), c.colors, palette.data(), c.option), 1);
    EXPECT_EQ(GetLastImageError(), kImageOk);
    EXPECT_EQ(Rgb(palette, c.colors), palette_rgb);
    ExpectUntouchedBeyond(palette, c.colors);
    for (size_t i = 0; i < out.size(); ++i)
      if (out[i] != indexes[i]) {
        ADD_FAILURE() << "first difference at pixel " << i << ": " << int(out[i]) << " instead of "
                      << int(indexes[i]);
        break;
      }

    std::vector<PaletteEntry> optimal = MarkedPalette();
    ASSERT_EQ(MakeOptimalPalette(image.data(), c.width, c.height, c.colors, optimal.data()), 1);
    EXPECT_EQ(Rgb(optimal, c.colors), palette_rgb);
  }
}

// Ten colours whose top five bits differ, in a scrambled order: the walk
// visits the higher child slots first, so with green and blue alike they come
// back in falling order of red.
TEST(Quantizer, DistinctColoursComeBackExactlyInWalkOrder) {
  Bytes image;
  for (int i = 0; i < 10; ++i) {
    int colour = i * 7 % 10;
    AddPixels(image, i + 1, static_cast<uint8_t>(25 * colour + 3), 120, 201);
  }
  int pixels = static_cast<int>(image.size() / 3);
  std::vector<PaletteEntry> palette = MarkedPalette();
  Bytes out(pixels);
  ASSERT_EQ(ReduceToPalette(image.data(), pixels, 1, out.data(), 256, palette.data(), 1), 1);
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(palette[i].red, 25 * (9 - i) + 3) << i;
    EXPECT_EQ(palette[i].green, 120) << i;
    EXPECT_EQ(palette[i].blue, 201) << i;
  }
  // The asked count of entries is written; those past the colours found are black.
  ExpectUntouchedBeyond(palette, 256);
  EXPECT_EQ(Rgb(palette, 256), [&] {
    Bytes rgb = Rgb(palette, 10);
    rgb.resize(3 * 256, 0);
    return rgb;
  }());
  for (int p = 0; p < pixels; ++p) EXPECT_EQ(palette[out[p]].red, image[3 * p]) << p;
}

TEST(Quantizer, OneColourAskedForOneOrNone) {
  Bytes image;
  AddPixels(image, 4, 10, 200, 30);
  for (int colors : {1, 0}) {
    SCOPED_TRACE(colors);
    std::vector<PaletteEntry> palette = MarkedPalette();
    Bytes out(4, 0xEE);
    ASSERT_EQ(ReduceToPalette(image.data(), 2, 2, out.data(), colors, palette.data(), 1), 1);
    EXPECT_EQ(out, Bytes(4, 0));
    EXPECT_EQ(Rgb(palette, 1), (Bytes{10, 200, 30}));
    ExpectUntouchedBeyond(palette, 1);
  }
}

TEST(Quantizer, WithoutDiffusionAFlatImageMapsToItsEntry) {
  Bytes image;
  AddPixels(image, 6, 40, 41, 42);
  AddPixels(image, 6, 200, 100, 0);
  std::vector<PaletteEntry> palette = MarkedPalette();
  Bytes out(12);
  ASSERT_EQ(ReduceToPalette(image.data(), 6, 2, out.data(), 2, palette.data(), 0), 1);
  EXPECT_EQ(out, (Bytes{1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(Rgb(palette, 2), (Bytes{200, 100, 0, 40, 41, 42}));
}

TEST(Quantizer, MoreThan256ColoursWorkAs256) {
  Bytes image(3 * 64 * 64);
  for (size_t i = 0; i < image.size(); ++i) image[i] = static_cast<uint8_t>(i * 2654435761u >> 13);
  std::vector<PaletteEntry> asked_1000 = MarkedPalette(), asked_256 = MarkedPalette();
  ASSERT_EQ(MakeOptimalPalette(image.data(), 64, 64, 1000, asked_1000.data()), 1);
  ASSERT_EQ(MakeOptimalPalette(image.data(), 64, 64, 256, asked_256.data()), 1);
  EXPECT_EQ(Rgb(asked_1000, 256), Rgb(asked_256, 256));
}

struct ProgressLog {
  std::vector<std::pair<int, int>> calls;
  int stop_at = -1;
};

int Record(int done, int total, void* user_data) {
  auto* log = static_cast<ProgressLog*>(user_data);
  log->calls.emplace_back(done, total);
  return static_cast<int>(log->calls.size()) - 1 != log->stop_at;
}

class QuantizerProgress : public ::testing::Test {
 protected:
  void SetUp() override {
    imagelib::GetContext()->progress = Record;
    imagelib::GetContext()->progress_user_data = &log_;
  }
  void TearDown() override {
    imagelib::GetContext()->progress = nullptr;
    imagelib::GetContext()->progress_user_data = nullptr;
  }
  ProgressLog log_;
  const Bytes image_ = Bytes(3 * 4 * 3, 128);
};

TEST_F(QuantizerProgress, TheOptimalPaletteReportsFourPoints) {
  std::vector<PaletteEntry> palette = MarkedPalette();
  ASSERT_EQ(MakeOptimalPalette(image_.data(), 4, 3, 16, palette.data()), 1);
  EXPECT_EQ(log_.calls, (std::vector<std::pair<int, int>>{{0, 4}, {1, 4}, {2, 4}, {3, 4}}));
}

TEST_F(QuantizerProgress, AStopAtAnyPointGives14) {
  for (int stop = 0; stop < 4; ++stop) {
    log_ = {{}, stop};
    std::vector<PaletteEntry> palette = MarkedPalette();
    EXPECT_EQ(MakeOptimalPalette(image_.data(), 4, 3, 16, palette.data()), 0);
    EXPECT_EQ(GetLastImageError(), kImageStopped);
  }
}

TEST_F(QuantizerProgress, MappingReportsEachRowAndStops) {
  std::vector<PaletteEntry> palette = MarkedPalette();
  Bytes out(12);
  ASSERT_EQ(ReduceToPalette(image_.data(), 4, 3, out.data(), 16, palette.data(), 1), 1);
  EXPECT_EQ(log_.calls, (std::vector<std::pair<int, int>>{{1, 3}, {2, 3}, {3, 3}}));
  log_ = {{}, 1};
  EXPECT_EQ(ReduceToPalette(image_.data(), 4, 3, out.data(), 16, palette.data(), 1), 0);
  EXPECT_EQ(GetLastImageError(), kImageStopped);
  EXPECT_EQ(log_.calls.size(), 2u);
}

}  // namespace
