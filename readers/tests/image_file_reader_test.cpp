// The base operations shared by all readers: gamma tables and the 16-bit mapping.
#include <gtest/gtest.h>

#include <iterator>
#include <vector>

#include "readers/image_file_reader.h"
#include "tone/gamma_tables.h"
#include "tone/tone_engine_state.h"

namespace {

std::vector<uint16_t> Table14(uint16_t (*entry)(uint32_t)) {
  std::vector<uint16_t> table(16384);
  for (uint32_t i = 0; i < table.size(); ++i) table[i] = entry(i);
  return table;
}

struct Interpolation {
  uint16_t sample;
  uint16_t mapped;
};

class ConvertLines16Sample : public ::testing::TestWithParam<Interpolation> {};

// Entries alternate 0 (even index) and 1001 (odd index): a 16-bit sample falls
// between two entries by its two low bits, and the blend is rounded.
TEST_P(ConvertLines16Sample, InterpolatesBetweenTableEntries) {
  ImageFileReader reader("no-such-image");
  reader.SetGammaTable(Table14([](uint32_t i) { return static_cast<uint16_t>(i % 2 ? 1001 : 0); }), 14, 0);
  uint16_t sample = GetParam().sample;
  ASSERT_TRUE(reader.ConvertLines16(&sample, 1, 1, 1, 16, 1, 1, 1));
  EXPECT_EQ(sample, GetParam().mapped);
}

INSTANTIATE_TEST_SUITE_P(Samples, ConvertLines16Sample,
                         ::testing::Values(Interpolation{400, 0}, Interpolation{401, 1001}, Interpolation{402, 2002},
                                           Interpolation{403, 3003}, Interpolation{404, 4004},
                                           Interpolation{405, 3003}, Interpolation{0, 0},
                                           Interpolation{65531, 3003}, Interpolation{65532, 4004},
                                           Interpolation{65535, 4004}));

TEST(ConvertLines16, LastEntryAndNonLinearTable) {
  ImageFileReader reader("no-such-image");
  // Squares: the blend is linear between neighbouring entries, rounded.
  reader.SetGammaTable(Table14([](uint32_t i) { return static_cast<uint16_t>(i * i % 16384); }), 14, 0);
  uint16_t samples[] = {4 * 10 + 1, 4 * 10 + 3, 65535, 65532};
  ASSERT_TRUE(reader.ConvertLines16(samples, 4, 1, 1, 16, 4, 1, 1));
  EXPECT_EQ(samples[0], 421);  // 400 * 0.75 + 484 * 0.25
  EXPECT_EQ(samples[1], 463);  // 400 * 0.25 + 484 * 0.75
  const uint16_t last = static_cast<uint16_t>((16383u * 16383u % 16384u) << 2);
  EXPECT_EQ(samples[2], last) << "65535 maps to the last entry shifted left by 2";
  EXPECT_EQ(samples[3], last);
}

// Every 16-bit sample through real and made-up tables against the
// interpolation done here sample by sample, and the last entry for the top samples.
TEST(ConvertLines16, EverySampleIsTheRoundedBlendOfItsTwoEntries) {
  const std::vector<uint16_t> tables[] = {
      Table14([](uint32_t i) { return static_cast<uint16_t>(i * i % 16384); }),
      Table14([](uint32_t i) { return static_cast<uint16_t>(i % 2 ? 16383 : 0); }),
      Table14([](uint32_t i) { return static_cast<uint16_t>(16383 - i); })};
  for (size_t k = 0; k < std::size(tables); ++k) {
    const std::vector<uint16_t>& table = tables[k];
    ImageFileReader reader("no-such-image");
    reader.SetGammaTable(table, 14, 0);
    std::vector<uint16_t> samples(65536);
    for (uint32_t s = 0; s < samples.size(); ++s) samples[s] = static_cast<uint16_t>(s);
    ASSERT_TRUE(reader.ConvertLines16(samples.data(), 65536, 1, 1, 16, 65536, 1, 1));
    for (uint32_t s = 0; s < samples.size(); ++s) {
      const uint32_t index = s >> 2;
      const double weight = (s & 3) / 4.0;
      const uint32_t want = index >= 16383 ? uint32_t{table[16383]} << 2
                                           : static_cast<uint32_t>((uint32_t{table[index]} << 2) * (1.0 - weight) +
                                                                   (uint32_t{table[index + 1]} << 2) * weight + 0.5);
      ASSERT_EQ(samples[s], static_cast<uint16_t>(want)) << "table " << k << " sample " << s;
    }
  }
}

TEST(ConvertLines16, ChannelsAndStrides) {
  ImageFileReader reader("no-such-image");
  ASSERT_TRUE(reader.BuildGammaTables(14, 3));
  std::vector<uint16_t> table(16384);
  for (uint32_t i = 0; i < 16384; ++i) table[i] = static_cast<uint16_t>(16383 - i);
  reader.SetGammaTable(table, 14, 1);  // channel 1 inverted, 0 and 2 neutral
  // Two rows of two interleaved RGB pixels with one spare sample at each row's end.
  std::vector<uint16_t> block = {400, 400, 400, 800, 800, 800, 7, 1200, 1200, 1200, 65535, 65535, 65535, 9};
  ASSERT_TRUE(reader.ConvertLines16(block.data(), 2, 2, 3, 16, 7, 3, 1));
  EXPECT_EQ(block, (std::vector<uint16_t>{400, 65132, 400, 800, 64732, 800, 7, 1200, 64332, 1200, 65532, 0, 65532,
                                          9}));
}

TEST(ConvertLines16, LeavesSamplesAloneWhenItDoesNotApply) {
  ImageFileReader reader("no-such-image");
  const std::vector<uint16_t> original = {123, 45678, 9, 65535};
  std::vector<uint16_t> samples = original;
  EXPECT_FALSE(reader.ConvertLines16(samples.data(), 4, 1, 1, 16, 4, 1, 1)) << "no table";
  ASSERT_TRUE(reader.BuildGammaTables(14, 4));
  EXPECT_FALSE(reader.ConvertLines16(samples.data(), 1, 1, 4, 16, 4, 4, 1)) << "four channels";
  EXPECT_FALSE(reader.ConvertLines16(samples.data(), 4, 1, 1, 8, 4, 1, 1)) << "8-bit data";
  reader.SetOutputDepth(16);
  EXPECT_FALSE(reader.ConvertLines16(samples.data(), 4, 1, 1, 16, 4, 1, 1)) << "output depth 16";
  EXPECT_EQ(samples, original);
}

TEST(GammaTables, BuildSetAndGet) {
  ImageFileReader reader("no-such-image");
  EXPECT_FALSE(reader.BuildGammaTables(7, 1));
  EXPECT_FALSE(reader.BuildGammaTables(17, 1));
  ASSERT_TRUE(reader.BuildGammaTables(14, 3));
  uint32_t bits = 0;
  const std::vector<uint16_t>* table = reader.GetGammaTable(&bits, 2);
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(bits, 14u);
  EXPECT_EQ(table->size(), 16384u);
  EXPECT_EQ(reader.GetGammaTable(&bits, 3), nullptr);
  reader.SetGammaTable({}, 14, 2);
  EXPECT_EQ(reader.GetGammaTable(&bits, 2), nullptr);
  EXPECT_EQ(bits, 0u);
  reader.SetGammaTable(std::vector<uint16_t>(100), 14, 1);
  EXPECT_EQ(reader.GetGammaTable(&bits, 1), nullptr) << "a table of the wrong size is not kept";
  EXPECT_EQ(reader.GetGammaTable(&bits, 4), nullptr);
}

// The tables carry the gamma of the original type over the display gamma:
// equal gammas leave 16-bit samples as they are.
TEST(GammaTables, TheOriginalsGammaOverTheDisplayGamma) {
  const struct {
    double original;
    float display;
    double expected;
  } cases[] = {{1.8, 1.8f, 1.0}, {2.5, 1.25f, 2.0}, {2.0, 0.0f, 2.0}};
  for (const auto& c : cases) {
    DefaultsBlock defaults = {};
    FrameRecord* noFrame = nullptr;
    const uint8_t reflective = 0;
    SetDefault(defaults, kDefaultGammaReflective, c.original);
    SetDefault(defaults, kDefaultDisplayGamma, c.display);
    BindToneEngine(ToneEngineSources{&noFrame, &defaults, &reflective});
    ImageFileReader reader("no-such-image");
    ASSERT_TRUE(reader.BuildGammaTables(14, 3));
    std::vector<uint16_t> expected(16384);
    BuildGammaTable(expected.data(), 16384, 16384, c.expected);
    uint32_t bits = 0;
    for (int channel = 0; channel < 3; ++channel) {
      EXPECT_EQ(*reader.GetGammaTable(&bits, channel), expected) << c.original << " over " << c.display;
    }
    BindToneEngine(ToneEngineSources{nullptr, nullptr, nullptr});
  }
}

TEST(CorrectLineColors, LeavesOneChannelLinesAndNeutralColourAlone) {
  ImageFileReader reader("no-such-image");
  std::vector<uint8_t> line = {1, 2, 3, 4, 5, 6};
  EXPECT_TRUE(reader.CorrectLineColors(line.data(), 6, 1, 1, 8, 6, 1, 1));
  EXPECT_TRUE(reader.CorrectLineColors(line.data(), 2, 1, 3, 8, 6, 3, 1));
  EXPECT_EQ(line, (std::vector<uint8_t>{1, 2, 3, 4, 5, 6}));
  EXPECT_FALSE(reader.CreateColorTransform()) << "no embedded profile";
  std::string description = "old";
  reader.GetProfileDescription(&description);
  EXPECT_EQ(description, "");
}

TEST(ImageFileReader, BaseOperationsOfAFormatlessReader) {
  ImageFileReader reader("no-such-image");
  EXPECT_FALSE(reader.ImageReaderIsOpen());
  EXPECT_EQ(reader.ReadHeader(nullptr), 1);
  EXPECT_EQ(reader.StartReading(0), 1);
  EXPECT_FALSE(reader.IsHighBitDepth());
  EXPECT_FALSE(reader.SupportsRawRead());
  EXPECT_TRUE(reader.ReadImageResource(1033, nullptr).empty());
  uint8_t bits[3];
  EXPECT_FALSE(reader.ReadPreviewLines(nullptr, bits, 1, 1, 3, 3));
}

}  // namespace
