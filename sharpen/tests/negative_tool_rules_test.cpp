#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "foundation/memory.h"
#include "foundation/scripted_system.h"
#include "sharpen/negative_tool_rules.h"

namespace {

TEST(NegativeToolRules, ExposureSliderAndEdit) {
  EXPECT_EQ(ExposureToSliderPosition(0.75f), 75);
  EXPECT_EQ(ExposureToSliderPosition(-1.0f), 0);
  EXPECT_EQ(ExposureToSliderPosition(2.0f), 100);
  EXPECT_EQ(SliderPositionToExposure(75), 0.75f);
  EXPECT_EQ(SliderPositionToExposure(130), 1.0f);
  struct Case {
    const char* text;
    int32_t position;
    bool outOfRange;
    const char* rewritten;
  } cases[] = {{"1,5", 75, false, "1.5"}, {"9", 100, true, "3.0"},   {"-1.5", 25, false, "-1.5"},
               {"-3", 0, false, "-3.0"},  {"-7", 0, true, "-3.0"},   {"0,04", 51, false, "0.1"},
               {"3,0", 100, false, "3.0"}, {"99999999999", 100, true, "3.0"}};
  for (const Case& c : cases) {
    const ExposureEdit edit = ReadExposureEdit(c.text);
    EXPECT_FALSE(edit.empty) << c.text;
    EXPECT_EQ(edit.position, c.position) << c.text;
    EXPECT_EQ(edit.outOfRange, c.outOfRange) << c.text;
    EXPECT_EQ(ExposureEditText(edit.position), c.rewritten) << c.text;
  }
  EXPECT_EQ(SliderPositionToExposure(ReadExposureEdit("1,5").position), 0.75f);
  EXPECT_TRUE(ReadExposureEdit("").empty);
}

class FilmNameTest : public testing::Test {
 protected:
  void SetUp() override {
    system_.strings[2270] = "Agfa;Ferrania;Fuji;Ilford;Kodak;Konica;Mitsubishi;Polaroid";
    system_.strings[2271] = "HDC Plus;Optima II;Optima II Prestige;Optima;Optima Prestige;Portrait";
    system_.strings[2275] = "Gold;Gold Max;Royal Gold;Portra";
    InstallSystemServices(&system_);
  }
  void TearDown() override { InstallSystemServices(nullptr); }
  ScriptedSystem system_;
};

TEST_F(FilmNameTest, MakerAndLineAreTheLongestListedPrefixes) {
  struct Case {
    const char* name;
    int maker;
    const char* line;
  } cases[] = {{"Agfa Optima II Prestige 400", 1, "Optima II Prestige"},
               {"Agfa Optima 200", 1, "Optima"},
               {"Agfa Optimal 200", 1, ""},
               {"Kodak Gold Max 400", 5, "Gold Max"},
               {"Kodak 100", 5, ""},
               {"Kodakchrome 64", 0, ""},
               {"Boots 100", 0, ""}};
  for (const Case& c : cases) {
    const FilmNameParts parts = ParseFilmName(nullptr, c.name);
    EXPECT_EQ(parts.maker, c.maker) << c.name;
    EXPECT_EQ(parts.lineName, c.line) << c.name;
  }
}

TEST_F(FilmNameTest, ProfileListFollowsTheIncludeAndExcludePrefixes) {
  struct Case {
    const char* frameProfile;
    const char* name;
    bool listed;
  } cases[] = {
      {"Agfa Optima 200", "Agfa Optima 200 6x6", true},
      {"Agfa Optima 200", "Agfa Optima II 100 6x6", false},
      {"Agfa Optima 200", "Agfa Optima Prestige 100", false},
      {"Agfa Optima II 100", "Agfa Optima II Prestige 400", false},
      {"Agfa Optima II Prestige 400", "Agfa Optima II Prestige 100", true},
      {"Kodak 100", "Kodak VR 100", true},
      {"Kodak 100", "Kodak Gold 100-6", false},
      {"Kodak 100", "Agfa Ultra 50", false},
      {"Boots 100", "Tudor TPX 100", true},
      {"Boots 100", "<Standard>", true},
      {"Boots 100", "Fuji Superia 100", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FilmProfileListed(FilmProfileFilterFor(nullptr, c.frameProfile), c.name), c.listed)
        << c.frameProfile << " / " << c.name;
  }
}

TEST(NegativeToolRules, SavedSettingsFitAndAdapt) {
  EXPECT_TRUE(NegativeDataFits(8, false));
  EXPECT_FALSE(NegativeDataFits(8, true));
  EXPECT_TRUE(NegativeDataFits(16, true));
  uint16_t saved[8] = {1, 2, 100, 2000, 200, 1000, 300, 0};
  const uint16_t measured[3] = {1000, 3000, 500};
  const double k = NegativeAdaptFactor(measured, saved);
  EXPECT_EQ(k, 3.0);  // blue's saved high of 0 is skipped
  saved[7] = 30000;
  AdaptNegativeData(saved, k);
  const uint16_t want[8] = {1, 2, 300, 6000, 600, 3000, 900, 65535};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(saved[i], want[i]) << i;
  const uint16_t none[8] = {};
  EXPECT_EQ(NegativeAdaptFactor(measured, none), 0.0);
}

TEST(NegativeToolRules, ExtremeColourFractions) {
  const uint16_t params[8] = {0, 65535, 1000, 3000, 1000, 3000, 0, 65535};
  const uint16_t sample[3] = {2000, 500, 65535};
  double out[3];
  ASSERT_TRUE(ExtremeColourFractions(sample, params, out));
  EXPECT_DOUBLE_EQ(out[0], 0.5);
  EXPECT_EQ(out[1], 1.0);
  EXPECT_EQ(out[2], 0.0);
  const uint16_t flat[8] = {0, 65535, 1000, 1000, 0, 1, 0, 1};
  EXPECT_FALSE(ExtremeColourFractions(sample, flat, out));
}

// A curve of the given normalised inputs and outputs on all three colours (scale 32767).
std::vector<uint8_t> CurveOf(const std::vector<std::pair<double, double>>& points) {
  FilmPointList* list = NewFilmPointList(static_cast<int>(points.size()), 32767);
  FilmCurve* curve = FilmCurveAt(list, 0);
  for (size_t k = 0; k < points.size(); ++k) {
    const auto u = static_cast<uint16_t>(std::lround(points[k].first * 32767));
    const auto v = static_cast<uint16_t>(std::lround(points[k].second * 32767));
    SetFilmCurvePoint(curve, static_cast<int>(k), FilmPoint{{u, v, u, v, u, v}});
  }
  std::vector<uint8_t> bytes(FilmCurveSize(curve));
  std::memcpy(bytes.data(), curve, bytes.size());
  FreeFilmPointList(list);
  return bytes;
}

FilmCurve* AsCurve(std::vector<uint8_t>& bytes) { return reinterpret_cast<FilmCurve*>(bytes.data()); }
double In(std::vector<uint8_t>& b, int k, int colour) {
  return FilmCurvePoint(AsCurve(b), k).value[2 * (colour - 1)] / 32767.0;
}
double Out(std::vector<uint8_t>& b, int k, int colour) {
  return FilmCurvePoint(AsCurve(b), k).value[2 * (colour - 1) + 1] / 32767.0;
}

TEST(NegativeCurveRules, DragRanges) {
  InputRange single = SingleModeInputRange(0.2, 0.3, 0.7);
  EXPECT_DOUBLE_EQ(single.low, 0.21);
  EXPECT_DOUBLE_EQ(single.high, 0.69);
  single = SingleModeInputRange(0.4, 0.4, 0.4);
  EXPECT_EQ(single.low, 0.4);
  EXPECT_EQ(single.high, 0.4);
  const InputRange warp = WarpModeInputRange(0.5);
  EXPECT_DOUBLE_EQ(warp.low, 0.05);
  EXPECT_DOUBLE_EQ(warp.high, 0.95);
}

TEST(NegativeCurveRules, WarpBendsTheOtherPointsAndStopsAtTheAxisEnds) {
  std::vector<uint8_t> pressed = CurveOf({{0, 0}, {0.25, 0.3}, {0.5, 0.5}, {0.75, 0.8}, {1, 1}});
  std::vector<uint8_t> curve = pressed;
  WarpFilmCurve(AsCurve(curve), AsCurve(pressed), 2, 1, 0.6, 0.5);
  EXPECT_NEAR(In(curve, 1, 1), 0.325, 1.0 / 32767);  // k_in = 0.1 / 0.25 = 0.4
  EXPECT_NEAR(In(curve, 2, 1), 0.6, 1.0 / 32767);
  EXPECT_NEAR(Out(curve, 1, 1), 0.3, 1.0 / 32767);
  EXPECT_EQ(In(curve, 1, 2), In(pressed, 1, 2)) << "other colours stay";
  EXPECT_EQ(In(curve, 4, 1), 1.0);

  // A point whose output sits at 0: the others keep their outputs, no division by 0.
  std::vector<uint8_t> flat = CurveOf({{0, 0}, {0.25, 0}, {0.5, 0.5}, {1, 1}});
  std::vector<uint8_t> moved = flat;
  WarpFilmCurve(AsCurve(moved), AsCurve(flat), 1, 3, 0.3, 0.2);
  EXPECT_NEAR(Out(moved, 1, 3), 0.2, 1.0 / 32767);
  EXPECT_EQ(Out(moved, 2, 3), Out(flat, 2, 3));
  EXPECT_NE(In(moved, 2, 3), In(flat, 2, 3));
}

TEST(NegativeCurveRules, SmoothingPullsPointsTowardsTheChords) {
  std::vector<uint8_t> straight = CurveOf({{0, 0}, {0.25, 0.25}, {0.5, 0.5}, {1, 1}});
  std::vector<uint8_t> before = straight;
  ASSERT_TRUE(SmoothFilmCurve(AsCurve(straight)));
  EXPECT_EQ(straight, before);

  std::vector<uint8_t> bump = CurveOf({{0, 0}, {0.25, 0.25}, {0.5, 0.9}, {0.75, 0.75}, {1, 1}});
  ASSERT_TRUE(SmoothFilmCurve(AsCurve(bump)));
  for (int colour = 1; colour <= 3; ++colour) {
    EXPECT_NEAR(In(bump, 2, colour), 0.587228, 1e-4);
    EXPECT_NEAR(Out(bump, 2, colour), 0.793420, 1e-4);
  }
  std::vector<uint8_t> noScale = CurveOf({{0, 0}, {0.5, 0.5}, {0, 1}});
  EXPECT_FALSE(SmoothFilmCurve(AsCurve(noScale)));
  std::vector<std::pair<double, double>> many;
  for (int k = 0; k < 51; ++k) many.push_back({k / 50.0, k / 50.0});
  std::vector<uint8_t> tooMany = CurveOf(many);
  EXPECT_FALSE(SmoothFilmCurve(AsCurve(tooMany)));
}

TEST(NegativeCurveRules, ColourFitRemapsInnerOutputs) {
  std::vector<uint16_t> half(65536);
  for (int i = 0; i < 65536; ++i) half[i] = static_cast<uint16_t>(i / 2);
  std::vector<uint8_t> curve = CurveOf({{0, 0}, {0.5, 0.6}, {1, 1}});
  RemapFilmCurveOutputs(AsCurve(curve), 2, half.data());
  EXPECT_NEAR(Out(curve, 1, 2), 0.3, 1.0 / 32767);
  EXPECT_NEAR(Out(curve, 1, 1), 0.6, 1.0 / 32767);
  EXPECT_EQ(Out(curve, 2, 2), 1.0);
}

TEST(NegativeExpansionRules, GraphPositionsAndMarkers) {
  EXPECT_EQ(LevelToGraphPosition(65535, 2.0), 0);
  EXPECT_EQ(LevelToGraphPosition(0, 2.0), 255);
  EXPECT_EQ(LevelToGraphPosition(16384, 2.0), 127);  // (1 - 0.500008) x 255 + 0.5 = 127.998
  EXPECT_EQ(LevelToGraphPosition(36767, 2.0), 64);
  EXPECT_EQ(GraphPositionToLevel(0, 2.0), 65535);
  EXPECT_EQ(GraphPositionToLevel(255, 2.0), 0);
  EXPECT_EQ(GraphPositionToLevel(128, 2.0), 16256);
  EXPECT_EQ(GraphPositionToLevel(64, 2.0), 36767);

  struct Case {
    int32_t press, offset, other, want;
  } cases[] = {{100, 50, 140, 120}, {100, -150, 140, 0}, {200, -100, 140, 160}, {200, 100, 140, 255}, {100, 10, 140, 110}};
  for (const Case& c : cases) EXPECT_EQ(MoveHistogramMarker(c.press, c.offset, c.other), c.want) << c.press << c.offset;
}

TEST(NegativeExpansionRules, EdgeColoursGiveTheMaskPairs) {
  const uint16_t a[3] = {13107, 13107, 13107}, b[3] = {52428, 52428, 52428};
  const uint16_t c[3] = {6554, 6554, 6554}, d[3] = {58982, 58982, 58982};
  uint16_t mask[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  ASSERT_TRUE(EdgeColoursToMask(a, b, c, d, mask));
  EXPECT_EQ(mask[0], 1);
  EXPECT_EQ(mask[1], 2);
  for (int k = 1; k <= 3; ++k) {
    EXPECT_NEAR(mask[2 * k], 57343, 3);  // H = 0.875
    EXPECT_NEAR(mask[2 * k + 1], 8192, 3);  // L = 0.125
  }
  uint16_t kept[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  EXPECT_FALSE(EdgeColoursToMask(a, b, c, c, kept));  // equal edge colours
  EXPECT_FALSE(EdgeColoursToMask(a, a, c, d, kept));
  for (int i = 0; i < 8; ++i) EXPECT_EQ(kept[i], i + 1);
}

TEST(NegativeExpansionRules, ToleranceAndEightBitDetection) {
  EXPECT_FLOAT_EQ(ToleranceFromSliderFraction(60.0 / 120), 0.00025f);
  EXPECT_NEAR(SliderFractionFromTolerance(0.00025f), 0.5, 1e-6);
  EXPECT_EQ(ToleranceFromSliderFraction(2.0), 0.001f);

  uint8_t T[256];
  for (int i = 0; i < 256; ++i) T[i] = static_cast<uint8_t>(255 - i / 2);
  uint32_t histogram[256] = {};
  uint8_t low = 0, high = 0;
  EXPECT_FALSE(DetectNegativePair8(T, histogram, &low, &high));
  histogram[10] = 3;
  histogram[200] = 1;
  ASSERT_TRUE(DetectNegativePair8(T, histogram, &low, &high));
  EXPECT_EQ(low, T[55]);
  EXPECT_EQ(high, T[245]);
}

}  // namespace
