// The resampling engine: its kernels, the fast interpolation, the channel
// options, line art and the invariance of the result under any band split.
#include <gtest/gtest.h>

#include <limits>
#include <numeric>
#include <vector>

#include "session/resample.h"
#include "session/resample_table.h"
#include "session/tests/resample_driver.h"

namespace {

struct TableCase {
  uint32_t source;
  uint32_t output;
  uint32_t kernel;
  double scale;
  uint32_t taps;
};

class ContributionTableTest : public testing::TestWithParam<TableCase> {};

TEST_P(ContributionTableTest, KernelScaleTapsAndUnitSums) {
  const TableCase& c = GetParam();
  ContributionTable table;
  ASSERT_TRUE(BuildContributionTable(&table, c.source, c.output));
  EXPECT_EQ(table.kernel, c.kernel);
  EXPECT_DOUBLE_EQ(table.scale, c.scale);
  EXPECT_EQ(table.taps, c.taps);
  for (uint32_t i = 0; i < c.output; ++i) {
    const double* w = &table.weights[i * table.taps];
    EXPECT_NEAR(std::accumulate(w, w + table.taps, 0.0), 1.0, 1e-12) << "output " << i;
    for (uint32_t t = 0; t < table.taps; ++t) EXPECT_LT(table.indices[i * table.taps + t], c.source);
  }
  FreeContributionTable(&table);
  EXPECT_EQ(table.taps, 0u);
  EXPECT_TRUE(table.weights.empty());
}

INSTANTIATE_TEST_SUITE_P(Sizes, ContributionTableTest,
                         testing::Values(TableCase{1000, 250, kKernelSinc, 999.0 / 249, 16},
                                         TableCase{250, 1000, kKernelCubic, 249.0 / 999, 4},
                                         TableCase{300, 300, kKernelCubic, 1.0, 4},
                                         TableCase{10, 3, kKernelSinc, 4.5, 18},
                                         TableCase{1, 5, kKernelCubic, 0.0, 4}));

TEST(ContributionTable, ReductionSupportIsTwiceTheScale) {
  ContributionTable table;
  ASSERT_TRUE(BuildContributionTable(&table, 1000, 250));
  EXPECT_NEAR(table.support, 8.024, 0.001);
}

TEST(ContributionTable, SingleOutputTakesTheCentreSample) {
  ContributionTable table;
  ASSERT_TRUE(BuildContributionTable(&table, 1001, 1));
  ASSERT_EQ(table.taps, 4u);
  EXPECT_EQ(table.indices[1], 500u);
  EXPECT_EQ(table.weights[1], 1.0);
}

TEST(ContributionTable, ZeroSizesBuildNothing) {
  ContributionTable table;
  EXPECT_FALSE(BuildContributionTable(&table, 0, 10));
  EXPECT_FALSE(BuildContributionTable(&table, 10, 0));
  EXPECT_EQ(table.taps, 0u);
}

// One engine per test; the setting is global.
class ResampleTest : public testing::Test {
 protected:
  void SetUp() override { gFilteredResampling = 0; }
  void TearDown() override {
    ResampleTeardown();
    gFilteredResampling = 0;
  }

  template <typename Sample>
  std::vector<Sample> Run(ResampleMember<Sample> member, uint32_t planes, uint32_t sourceWidth, uint32_t lines,
                          uint32_t outputWidth, const std::vector<Sample>& source, uint32_t outputRowSamples = 0) {
    // A source of one line gives one row here.
    const uint32_t rows = lines == 1 ? 1 : ResampleOutputRows();
    const ResampleRead read = {sourceWidth, lines, outputWidth, 0.0, planes,
                               outputRowSamples ? outputRowSamples : planes * outputWidth, 1000, 1000, rows};
    return RunResampleRead(member, read, source);
  }
};

TEST_F(ResampleTest, FastHorizontalHalfwayGivesTheMean) {
  ASSERT_TRUE(ResampleSetup(2, 4, 1, 1.0, 0, 0, 0, 0, 0, 4));
  const std::vector<uint8_t> out = Run<uint8_t>(ResampleGrey8, 1, 2, 1, 4, {100, 200});
  EXPECT_EQ(out, (std::vector<uint8_t>{100, 150, 200, 200}));
}

TEST_F(ResampleTest, FastVerticalInterpolatesTowardTheNextRow) {
  // Output row 1 lies at source line 0.25: three quarters of line 0, one of line 1.
  ASSERT_TRUE(ResampleSetup(1, 1, 2, 0.25, 0, 0, 0, 0, 0, 4));
  ASSERT_EQ(ResampleOutputRows(), 5u);
  const std::vector<uint16_t> out = Run<uint16_t>(ResampleGrey16, 1, 1, 2, 1, {100, 200});
  EXPECT_EQ(out, (std::vector<uint16_t>{100, 125, 150, 175, 200}));
}

TEST_F(ResampleTest, SixteenBitFullScaleDoesNotOverflow) {
  ASSERT_TRUE(ResampleSetup(2, 3, 2, 0.5, 0, 0, 0, 0, 0, 4));
  const std::vector<uint16_t> out = Run<uint16_t>(ResampleGrey16, 1, 2, 2, 3, {65535, 65535, 65535, 65535});
  EXPECT_EQ(out, std::vector<uint16_t>(9, 65535));
}

class SingleOutputTest : public ResampleTest, public testing::WithParamInterface<uint16_t> {};

TEST_P(SingleOutputTest, OneRowOfOneSampleIsTheCentre) {
  gFilteredResampling = GetParam();
  // The caller's scale (rows - 1) / (1 - 1) is infinite.
  ASSERT_TRUE(ResampleSetup(5, 1, 5, 4.0 / 0.0, 0, 0, 0, 0, 0, 8));
  ASSERT_EQ(ResampleOutputRows(), 1u);
  std::vector<uint8_t> source(25);
  for (size_t i = 0; i < source.size(); ++i) source[i] = static_cast<uint8_t>(i * 10);
  EXPECT_EQ(Run<uint8_t>(ResampleGrey8, 1, 5, 5, 1, source), std::vector<uint8_t>{120});
}

INSTANTIATE_TEST_SUITE_P(Modes, SingleOutputTest, testing::Values(0, 1));

TEST_F(ResampleTest, ChannelOffsetsTakeLaterLinesAndTheLastRowsWait) {
  const uint32_t rows = 12;
  ASSERT_TRUE(ResampleSetup(2, 2, rows, 1.0, 0, 4, 8, 0, 0, 4));
  // Line k holds k in every sample of every plane; 8 lines past the image feed channel 2.
  std::vector<uint8_t> source;
  for (uint32_t k = 0; k < rows + 8; ++k) source.insert(source.end(), 6, static_cast<uint8_t>(k));
  std::vector<uint8_t> queue(ResampleQueueLines() * 6);
  std::vector<uint8_t> out(rows * 6);
  uint32_t supplied = 0;
  uint32_t made = 0;
  auto supplyUpTo = [&](uint32_t lines) {
    while (supplied < lines) {
      const uint32_t given = std::min(ResampleLinesNeeded(rows), lines - supplied);
      ASSERT_GT(given, 0u);
      made += ResampleRgb8(source.data() + supplied * 6, queue.data(), out.data() + made * 6, given, 0, 2, made,
                           rows - made, 2);
      supplied += given;
    }
  };
  supplyUpTo(rows);
  // Row r reads line r + 1 + 8 for channel 2 (the interpolation's second line).
  EXPECT_EQ(made, rows - 9) << "rows whose channel 2 lies past the lines read wait";
  EXPECT_EQ(ResampleLinesNeeded(rows), std::min(8u, ResampleQueueLines() - 9));
  supplyUpTo(rows + 8);
  ASSERT_EQ(made, rows);
  EXPECT_EQ(ResampleLinesNeeded(rows), 0u);
  for (uint32_t r = 0; r < rows; ++r) {
    EXPECT_EQ(out[r * 6 + 0], r);
    EXPECT_EQ(out[r * 6 + 2], r + 4);
    EXPECT_EQ(out[r * 6 + 4], r + 8);
  }
}

TEST_F(ResampleTest, SwapExchangesTheFirstTwoChannels) {
  ASSERT_TRUE(ResampleSetup(2, 2, 1, 1.0, 0, 0, 0, 1, 0, 4));
  const std::vector<uint16_t> out = Run<uint16_t>(ResampleRgb16, 3, 2, 1, 2, {1, 1, 2, 2, 3, 3});
  EXPECT_EQ(out, (std::vector<uint16_t>{2, 2, 1, 1, 3, 3}));
}

TEST_F(ResampleTest, ThirdsMixChannelsOneAndTwoFromTheNextLine) {
  ASSERT_TRUE(ResampleSetup(1, 1, 3, 1.0, 0, 0, 0, 0, 1, 4));
  // Lines 0..2, planes (channel 0, 1, 2); channel 0 stays unmixed.
  const std::vector<uint8_t> source = {30, 30, 30, 90, 90, 90, 150, 150, 150};
  const std::vector<uint8_t> out = Run<uint8_t>(ResampleRgb8, 3, 1, 3, 1, source);
  // 30 / 3 + 2 * 90 / 3 = 70; 90 / 3 + 2 * 150 / 3 = 130; the last line mixes with itself.
  EXPECT_EQ(out, (std::vector<uint8_t>{30, 70, 70, 90, 130, 130, 150, 150, 150}));
}

TEST_F(ResampleTest, LineArtSetsBitsForDarkSamples) {
  ASSERT_TRUE(ResampleSetup(16, 16, 1, 1.0, 0, 0, 0, 0, 0, 4));
  std::vector<uint8_t> source(16, 255);
  source[0] = 0;
  source[1] = 127;
  source[2] = 128;
  source[9] = 10;
  const std::vector<uint8_t> out = Run<uint8_t>(ResampleLineArt, 1, 16, 1, 16, source, 2);
  EXPECT_EQ(out, (std::vector<uint8_t>{0xC0, 0x40}));
}

TEST_F(ResampleTest, LineArtRowsOfAPartialByteStayInTheirRow) {
  ASSERT_TRUE(ResampleSetup(12, 12, 2, 1.0, 0, 0, 0, 0, 0, 4));
  const std::vector<uint8_t> source(24, 0);
  const std::vector<uint8_t> out = Run<uint8_t>(ResampleLineArt, 1, 12, 2, 12, source, 2);
  EXPECT_EQ(out, (std::vector<uint8_t>{0xFF, 0xF0, 0xFF, 0xF0}));
}

TEST_F(ResampleTest, FilteredSettingSelectsTheTables) {
  // A step edge reduced by a sinc overshoots where linear interpolation cannot;
  // the overshoot is clamped to the sample range.
  std::vector<uint8_t> source(40, 0);
  std::fill(source.begin() + 20, source.end(), 255);
  ASSERT_TRUE(ResampleSetup(40, 10, 1, 1.0, 0, 0, 0, 0, 0, 4));
  const std::vector<uint8_t> fast = Run<uint8_t>(ResampleGrey8, 1, 40, 1, 10, source);
  gFilteredResampling = 1;
  ASSERT_TRUE(ResampleSetup(40, 10, 1, 1.0, 0, 0, 0, 0, 0, 4));
  const std::vector<uint8_t> filtered = Run<uint8_t>(ResampleGrey8, 1, 40, 1, 10, source);
  EXPECT_EQ(fast, (std::vector<uint8_t>{0, 0, 0, 0, 0, 255, 255, 255, 255, 255}));
  EXPECT_NE(filtered, fast);
  EXPECT_EQ(filtered.front(), 0);
  EXPECT_EQ(filtered.back(), 255) << "flat areas keep their level";
}

TEST_F(ResampleTest, WidthsOtherThanTheSetUpMakeNothing) {
  ASSERT_TRUE(ResampleSetup(4, 4, 2, 1.0, 0, 0, 0, 0, 0, 4));
  std::vector<uint8_t> line(8), queue(ResampleQueueLines() * 4), out(8);
  EXPECT_EQ(ResampleGrey8(line.data(), queue.data(), out.data(), 2, 0, 5, 0, 2, 4), 0u);
}

// Band invariance: any band size and read split give the same rows.
struct InvarianceCase {
  const char* name;
  uint16_t filtered;
  uint32_t sourceWidth, sourceRows, outputWidth, outputRows;
};

class BandInvarianceTest : public ResampleTest, public testing::WithParamInterface<InvarianceCase> {
 protected:
  template <typename Sample>
  void Check(ResampleMember<Sample> member, uint32_t planes, uint32_t rowSamples, unsigned maxValue) {
    const InvarianceCase& c = GetParam();
    gFilteredResampling = c.filtered;
    const double scale = (c.sourceRows - 1.0) / (c.outputRows - 1.0);
    std::vector<Sample> source(static_cast<size_t>(c.sourceRows) * planes * c.sourceWidth);
    uint32_t seed = 12345;
    for (Sample& v : source) {
      seed = seed * 1103515245u + 12345u;
      v = static_cast<Sample>((seed >> 8) % (maxValue + 1));
    }
    const uint32_t splits[][2] = {{1000, 1000}, {1, 1}, {3, 2}, {7, 5}, {1, 1000}, {1000, 1}};
    std::vector<Sample> reference;
    for (const auto& split : splits) {
      ASSERT_TRUE(ResampleSetup(c.sourceWidth, c.outputWidth, c.sourceRows, scale, 0, 0, 0, 0, 0, 8));
      ASSERT_EQ(ResampleOutputRows(), c.outputRows);
      const ResampleRead read = {c.sourceWidth, c.sourceRows, c.outputWidth, scale, planes, rowSamples,
                                 split[0], split[1], c.outputRows};
      const std::vector<Sample> out = RunResampleRead(member, read, source);
      ASSERT_EQ(out.size(), static_cast<size_t>(c.outputRows) * rowSamples)
          << "band " << split[0] << " split " << split[1];
      if (reference.empty()) {
        reference = out;
      } else {
        EXPECT_EQ(out, reference) << "band " << split[0] << " split " << split[1];
      }
    }
  }
};

TEST_P(BandInvarianceTest, Rgb8) { Check<uint8_t>(ResampleRgb8, 3, 3 * GetParam().outputWidth, 255); }
TEST_P(BandInvarianceTest, Rgb16) { Check<uint16_t>(ResampleRgb16, 3, 3 * GetParam().outputWidth, 65535); }
TEST_P(BandInvarianceTest, Grey8) { Check<uint8_t>(ResampleGrey8, 1, GetParam().outputWidth, 255); }
TEST_P(BandInvarianceTest, Grey16) { Check<uint16_t>(ResampleGrey16, 1, GetParam().outputWidth, 65535); }
TEST_P(BandInvarianceTest, LineArt) {
  Check<uint8_t>(ResampleLineArt, 1, (GetParam().outputWidth + 7) / 8, 255);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, BandInvarianceTest,
    testing::Values(InvarianceCase{"FastReduce", 0, 37, 53, 16, 11}, InvarianceCase{"FastEnlarge", 0, 9, 7, 24, 25},
                    InvarianceCase{"FastSame", 0, 8, 9, 8, 9}, InvarianceCase{"FilteredReduce", 1, 37, 53, 16, 11},
                    InvarianceCase{"FilteredEnlarge", 1, 9, 7, 24, 25},
                    InvarianceCase{"FilteredStrongReduce", 1, 64, 90, 8, 6}),
    [](const testing::TestParamInfo<InvarianceCase>& info) { return info.param.name; });

// The filtered step against the plain sum over every tap of both tables,
// horizontal then vertical, each rounded and clamped as a sample: the same
// bytes whatever order of work the engine chooses.
struct FilteredCase {
  const char* name;
  uint32_t sourceWidth, sourceRows, outputWidth, outputRows;
};

class FilteredSumTest : public ResampleTest, public testing::WithParamInterface<FilteredCase> {
 protected:
  template <typename Sample>
  static Sample Clamped(double value) {
    const double top = std::numeric_limits<Sample>::max();
    if (value <= 0.0) return 0;
    if (value >= top) return std::numeric_limits<Sample>::max();
    return static_cast<Sample>(static_cast<int32_t>(value + 0.5));
  }

  template <typename Sample>
  void Check(ResampleMember<Sample> member, uint32_t planes) {
    const FilteredCase& c = GetParam();
    gFilteredResampling = 1;
    const double scale = (c.sourceRows - 1.0) / (c.outputRows - 1.0);
    const unsigned top = std::numeric_limits<Sample>::max();
    std::vector<Sample> source(static_cast<size_t>(c.sourceRows) * planes * c.sourceWidth);
    uint32_t seed = 777;
    for (Sample& v : source) {
      seed = seed * 1103515245u + 12345u;
      // Mostly the extremes, so that the negative lobes push sums out of range.
      const uint32_t r = seed >> 8;
      v = static_cast<Sample>(r % 3 == 0 ? 0 : r % 3 == 1 ? top : r % (top + 1));
    }
    ContributionTable across, down;
    ASSERT_TRUE(BuildContributionTable(&across, c.sourceWidth, c.outputWidth));
    ASSERT_TRUE(BuildContributionTable(&down, c.sourceRows, c.outputRows));
    // Lines resampled across, then rows made down, plane by plane.
    std::vector<Sample> lines(static_cast<size_t>(c.sourceRows) * planes * c.outputWidth);
    for (size_t line = 0; line < size_t{c.sourceRows} * planes; ++line) {
      const Sample* in = &source[line * c.sourceWidth];
      for (uint32_t x = 0; x < c.outputWidth; ++x) {
        double sum = 0.0;
        for (uint32_t t = 0; t < across.taps; ++t)
          sum += in[across.indices[x * across.taps + t]] * across.weights[x * across.taps + t];
        lines[line * c.outputWidth + x] = Clamped<Sample>(sum);
      }
    }
    std::vector<Sample> want(static_cast<size_t>(c.outputRows) * planes * c.outputWidth);
    for (uint32_t row = 0; row < c.outputRows; ++row) {
      for (uint32_t plane = 0; plane < planes; ++plane) {
        for (uint32_t x = 0; x < c.outputWidth; ++x) {
          double sum = 0.0;
          for (uint32_t t = 0; t < down.taps; ++t) {
            const size_t line = size_t{down.indices[row * down.taps + t]} * planes + plane;
            sum += lines[line * c.outputWidth + x] * down.weights[row * down.taps + t];
          }
          want[(size_t{row} * planes + plane) * c.outputWidth + x] = Clamped<Sample>(sum);
        }
      }
    }
    ASSERT_TRUE(ResampleSetup(c.sourceWidth, c.outputWidth, c.sourceRows, scale, 0, 0, 0, 0, 0, 8));
    const ResampleRead read = {c.sourceWidth, c.sourceRows, c.outputWidth, scale, planes, planes * c.outputWidth,
                               5, 3, c.outputRows};
    EXPECT_EQ(RunResampleRead(member, read, source), want);
  }
};

TEST_P(FilteredSumTest, Rgb8) { Check<uint8_t>(ResampleRgb8, 3); }
TEST_P(FilteredSumTest, Rgb16) { Check<uint16_t>(ResampleRgb16, 3); }
TEST_P(FilteredSumTest, Grey8) { Check<uint8_t>(ResampleGrey8, 1); }

INSTANTIATE_TEST_SUITE_P(
    Sizes, FilteredSumTest,
    testing::Values(FilteredCase{"Half", 101, 41, 51, 21}, FilteredCase{"Third", 97, 40, 33, 14},
                    FilteredCase{"Odd", 53, 37, 29, 23}, FilteredCase{"Strong", 120, 60, 7, 5},
                    FilteredCase{"NarrowerThanFour", 11, 9, 3, 4}, FilteredCase{"Enlarge", 13, 9, 31, 20},
                    FilteredCase{"SlightReduce", 64, 30, 61, 29}),
    [](const testing::TestParamInfo<FilteredCase>& info) { return info.param.name; });

}  // namespace
