// A frame's corrections on its preview area, checked pixel by pixel against
// our own loops over the tone engine's tables: inside the rectangle the
// corrected colours, outside it the base image untouched.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "color/color_matrix.h"
#include "color/color_profile_set.h"
#include "color/mask_region.h"
#include "color/matrix12_presets.h"
#include "color/row_corrections.h"
#include "color/selective_color.h"
#include "frames/frame_region_paint.h"
#include "state/data_source_state.h"
#include "tone/curve_tables.h"
#include "tone/gamma_tables.h"
#include "tone/tests/tone_fixture.h"

namespace {

using Rgb = std::array<int, 3>;
using PixelRule = std::function<Rgb(Rgb)>;

constexpr int kSize = 16;
const WinRect kArea{2, 3, 11, 13};

struct Images {
  GlobalDib base;
  GlobalDib shown;
  Images() : base(CreateGlobalDib(kSize, kSize, 24, true)), shown(CreateGlobalDib(kSize, kSize, 24, true)) {
    uint8_t* bits = GlobalDibBits(base);
    for (int y = 0; y < kSize; ++y)
      for (int x = 0; x < kSize; ++x) {
        uint8_t* p = bits + y * GlobalDibStride(base) + 3 * x;
        p[0] = static_cast<uint8_t>(x * 16 + 3);   // blue
        p[1] = static_cast<uint8_t>(y * 15 + 7);   // green
        p[2] = static_cast<uint8_t>(x * 7 + y * 9);  // red
      }
    CopyGlobalDib(base, shown);
  }
  ~Images() {
    FreeGlobalDib(base);
    FreeGlobalDib(shown);
  }
  static Rgb At(const DibHeader* dib, int x, int y) {
    const uint8_t* p = GlobalDibBits(dib) + y * GlobalDibStride(dib) + 3 * x;
    return Rgb{p[2], p[1], p[0]};
  }
  // Each pixel of the area is the rule applied to the base pixel; the rest is the base.
  void Expect(const PixelRule& rule) const {
    for (int y = 0; y < kSize; ++y)
      for (int x = 0; x < kSize; ++x) {
        const bool inside = x >= kArea.left && x < kArea.right && y >= kArea.top && y < kArea.bottom;
        const Rgb want = inside ? rule(At(base, x, y)) : At(base, x, y);
        ASSERT_EQ(At(shown, x, y), want) << x << "," << y;
      }
  }
};

Rgb Inverted(Rgb c) { return Rgb{255 - c[0], 255 - c[1], 255 - c[2]}; }
int Average(Rgb c) { return (c[0] + c[1] + c[2]) / 3; }

class RegionPaintTest : public testing::Test {
 protected:
  void SetUp() override {
    gPreviewLatticeMode = 0;
    // Tone blocks that move every channel differently.
    tone.frame.tone[0].inputLow = 30;
    tone.frame.tone[1].inputHigh = 200;
    tone.frame.tone[2].inputLow = 64;
    tone.frame.tone[3].outputHigh = 180;
  }
  void TearDown() override {
    gPreviewLatticeMode = 0;
    FreeGlobalDib(gPreviewLattice);
    gPreviewLattice = nullptr;
  }
  void Paint(int greyChannel = 0) { PaintFrameRegion(images.shown, tone.frame, kArea, RegionPaintOptions{greyChannel}); }
  std::array<uint8_t, kCurveTableBytes> Table(int16_t channel) {
    std::array<uint8_t, kCurveTableBytes> t{};
    BuildCurveTable(t.data(), tone.frame.tone[channel], tone.frame.invert, &tone.frame, channel);
    return t;
  }
  ToneFixture tone;
  Images images;
};

TEST_F(RegionPaintTest, AnRgbFrameGoesThroughItsChannelTablesAfterTheInversion) {
  for (uint8_t invert : {0, 1}) {
    tone.frame.invert = invert;
    CopyGlobalDib(images.base, images.shown);
    Paint();
    const auto r = Table(1), g = Table(2), b = Table(3);
    ASSERT_NE(r, g);
    ASSERT_NE(g, b);
    images.Expect([&](Rgb c) {
      if (invert) c = Inverted(c);
      return Rgb{r[c[0]], g[c[1]], b[c[2]]};
    });
  }
}

TEST_F(RegionPaintTest, TheLatticeReplacesEachLookedUpColourInMode1) {
  ASSERT_TRUE(BuildPreviewLattice());
  gPreviewLatticeMode = 1;
  Paint();
  const auto r = Table(1), g = Table(2), b = Table(3);
  images.Expect([&](Rgb c) {
    const Rgb looked{r[c[0]], g[c[1]], b[c[2]]};
    return Rgb{3 + 8 * (looked[0] >> 3), 3 + 8 * (looked[1] >> 3), 3 + 8 * (looked[2] >> 3)};
  });
}

TEST_F(RegionPaintTest, Mode99BuildsTheLattice) {
  gPreviewLatticeMode = 99;
  Paint();
  ASSERT_NE(gPreviewLattice, nullptr);
  const uint8_t* entry = GlobalDibBits(gPreviewLattice) + (5 * 1024 + 17 * 32 + 31) * 4;
  EXPECT_EQ(entry[0], 3 + 8 * 31);
  EXPECT_EQ(entry[1], 3 + 8 * 17);
  EXPECT_EQ(entry[2], 3 + 8 * 5);
}

TEST_F(RegionPaintTest, SixteenBitScanTypesShowTheUnprocessedPreview) {
  tone.frame.bitsPerChannel = 16;
  tone.frame.bitDepthChoice = 1;
  Paint();
  images.Expect([](Rgb c) { return c; });

  tone.frame.colorMode = 0;
  for (uint8_t invert : {0, 1}) {
    tone.frame.invert = invert;
    for (int channel : {0, 2}) {
      CopyGlobalDib(images.base, images.shown);
      Paint(channel);
      images.Expect([&](Rgb c) {
        if (invert) c = Inverted(c);
        const int v = channel == 0 ? Average(c) : c[channel - 1];
        return Rgb{v, v, v};
      });
    }
  }
}

TEST_F(RegionPaintTest, AGreyFrameShowsItsMasterTableOfTheGreySource) {
  tone.frame.colorMode = 0;
  tone.frame.bitsPerChannel = 8;
  tone.frame.invert = 1;
  Paint(3);
  const auto m = Table(0);
  images.Expect([&](Rgb c) {
    const int v = m[255 - c[2]];
    return Rgb{v, v, v};
  });
}

TEST_F(RegionPaintTest, LineArtIsWhiteFromTheThresholdOfTheGammaTable) {
  tone.frame.colorMode = 0;
  tone.frame.bitsPerChannel = 1;
  SetCurrentGamma(1.8);
  for (int16_t w : {0, 30, -40}) {
    for (uint8_t invert : {0, 1}) {
      tone.frame.tone[0].brightness = w;
      tone.frame.invert = invert;
      CopyGlobalDib(images.base, images.shown);
      Paint();
      uint16_t gamma[256];
      BuildGammaTableForMode(gamma, 256, 1.8, 0, 1, &tone.frame);
      const int threshold = gamma[invert ? 128 + w : 128 - w];
      images.Expect([&](Rgb c) {
        int v = Average(c) >= threshold ? 255 : 0;
        if (invert) v = 255 - v;
        return Rgb{v, v, v};
      });
    }
  }
  SetCurrentGamma(1.0);
}

TEST_F(RegionPaintTest, ASingleColourFollowsTheSameTables) {
  const Rgb colours[] = {{0, 0, 0}, {200, 100, 30}, {255, 255, 255}};
  for (const Rgb& c : colours) {
    uint8_t r = static_cast<uint8_t>(c[0]), g = static_cast<uint8_t>(c[1]), b = static_cast<uint8_t>(c[2]);
    ApplyFrameCorrectionsToColor(&r, &g, &b, tone.frame, RegionPaintOptions{0});
    EXPECT_EQ(r, Table(1)[c[0]]);
    EXPECT_EQ(g, Table(2)[c[1]]);
    EXPECT_EQ(b, Table(3)[c[2]]);
  }
  tone.frame.colorMode = 0;
  tone.frame.bitsPerChannel = 8;
  uint8_t r = 200, g = 100, b = 30;
  ApplyFrameCorrectionsToColor(&r, &g, &b, tone.frame, RegionPaintOptions{0});
  EXPECT_EQ(r, Table(0)[110]);
  EXPECT_EQ(g, r);
  EXPECT_EQ(b, r);
  // Line art: white from 128 - w (128 + w when inverted, then the colour inverted).
  tone.frame.bitsPerChannel = 1;
  tone.frame.tone[0].brightness = 20;
  const struct {
    uint8_t invert, grey, expected;
  } lineArt[] = {{0, 108, 255}, {0, 107, 0}, {1, 148, 0}, {1, 147, 255}};
  for (const auto& c : lineArt) {
    tone.frame.invert = c.invert;
    r = g = b = c.grey;
    ApplyFrameCorrectionsToColor(&r, &g, &b, tone.frame, RegionPaintOptions{0});
    EXPECT_EQ(r, c.expected) << int(c.grey);
  }
}

// The six-colour correction written from its definition: the amount of each
// source colour measured on the unchanged inks (C, M, Y = 255 - R, G, B),
// trunc(amount x p x 0.01 + 0.5) added to the inks of the target colour, one
// clamp at the end.
Rgb SixColourModel(const int16_t* matrix, Rgb c) {
  const double ink[3] = {255.0 - c[0], 255.0 - c[1], 255.0 - c[2]};
  const double amount[6] = {std::min(ink[1], ink[2]) - ink[0], std::min(ink[0], ink[2]) - ink[1],
                            std::min(ink[0], ink[1]) - ink[2], ink[0] - std::max(ink[1], ink[2]),
                            ink[1] - std::max(ink[0], ink[2]), ink[2] - std::max(ink[0], ink[1])};
  const std::vector<int> targetInks[6] = {{1, 2}, {0, 2}, {0, 1}, {0}, {1}, {2}};
  double out[3] = {ink[0], ink[1], ink[2]};
  for (int source = 0; source < 6; ++source)
    for (int target = 0; target < 6; ++target) {
      const int p = matrix[source * 6 + target];
      if (p == 0 || amount[source] <= 0) continue;
      const double d = std::trunc(amount[source] * (p * 0.01) + 0.5);
      for (int i : targetInks[target]) out[i] += d;
    }
  Rgb result;
  for (int i = 0; i < 3; ++i) result[i] = 255 - static_cast<int>(std::clamp(out[i], 0.0, 255.0));
  return result;
}

// The colour steps after the tone tables: the frame's own corrections with
// the colour-correction switch on, in its mask, and through the lattice.
class RegionColourTest : public RegionPaintTest {
 protected:
  void SetUp() override {
    RegionPaintTest::SetUp();
    SetDefault(gDefaults, kDefaultColorCorrectionOn, uint8_t{1});
    tone.frame.selectiveColorMode = 1;
    const int16_t seeded[36] = {-19, 0, 0, 26, 0,   0, 0,  -11, 0,   0, 22, 0, 0,   0, -11, 0, 0, 22,
                                11,  0, 0, -22, 0,  0, 0,  11,  0,   0, -22, 0, 0, 0, 40, 0, 0, -22};
    std::copy_n(seeded, 36, tone.frame.selectiveColorMatrix);
  }
  void TearDown() override {
    SetDefault(gDefaults, kDefaultColorCorrectionOn, uint8_t{0});
    InstallMaskRegionServices(MaskRegionServices());
    FreeSelectiveColorLuts();
    FreeColorMatrix12State();
    RegionPaintTest::TearDown();
  }
  Rgb Toned(Rgb c) {
    const auto r = Table(1), g = Table(2), b = Table(3);
    return Rgb{r[c[0]], g[c[1]], b[c[2]]};
  }
  Rgb Corrected(Rgb c) { return SixColourModel(tone.frame.selectiveColorMatrix, Toned(c)); }
  // A mask "M" drawn on the area itself: the pixels of kMask (image coordinates).
  void InstallMask() {
    MaskRegionServices services;
    services.loadMaskRegion = [](const char* name, std::vector<WinRect>* area, WinRect* drawnOn) {
      area->clear();
      if (std::string(name) == "M") area->push_back(kMask);
      *drawnOn = kArea;
      return true;
    };
    InstallMaskRegionServices(services);
    std::snprintf(tone.frame.maskName, sizeof tone.frame.maskName, "M");
  }
  static bool InMask(int x, int y) { return x >= kMask.left && x < kMask.right && y >= kMask.top && y < kMask.bottom; }
  static constexpr WinRect kMask{4, 5, 8, 11};
};

TEST_F(RegionColourTest, TheSixColourMatrixCorrectsTheTonedAreaWhileTheSwitchIsOn) {
  for (uint8_t on : {1, 0}) {
    SetDefault(gDefaults, kDefaultColorCorrectionOn, on);
    CopyGlobalDib(images.base, images.shown);
    Paint();
    images.Expect([&](Rgb c) { return on ? Corrected(c) : Toned(c); });
  }
  // The seeded matrix moves the area's colours, so the check above is not the tones twice.
  int moved = 0;
  for (int y = kArea.top; y < kArea.bottom; ++y)
    for (int x = kArea.left; x < kArea.right; ++x) {
      const Rgb c = Images::At(images.base, x, y);
      moved += Corrected(c) != Toned(c);
    }
  EXPECT_GT(moved, 20);
}

TEST_F(RegionColourTest, TheFramesMaskLimitsTheSelectiveColour) {
  InstallMask();
  Paint();
  for (int y = kArea.top; y < kArea.bottom; ++y)
    for (int x = kArea.left; x < kArea.right; ++x) {
      const Rgb c = Images::At(images.base, x, y);
      ASSERT_EQ(Images::At(images.shown, x, y), InMask(x, y) ? Corrected(c) : Toned(c)) << x << "," << y;
    }
  // A mask that no longer exists leaves no region behind: the whole area is corrected.
  std::snprintf(tone.frame.maskName, sizeof tone.frame.maskName, "gone");
  CopyGlobalDib(images.base, images.shown);
  Paint();
  images.Expect([&](Rgb c) { return Corrected(c); });
}

TEST_F(RegionColourTest, TheLatticeTakesTheColourStepsWhenBuiltAndGivesThemWhenUsed) {
  InstallMask();
  gPreviewLatticeMode = 99;
  Paint();
  // Built: the image has its tones only, the lattice the correction of each entry (no mask).
  images.Expect([&](Rgb c) { return Toned(c); });
  const uint8_t* lattice = GlobalDibBits(gPreviewLattice);
  for (int index : {0, 5 * 1024 + 17 * 32 + 31, 31 * 1024 + 2 * 32 + 9, 32767}) {
    const uint8_t* e = lattice + index * 4;
    const Rgb entry{3 + 8 * (index >> 10), 3 + 8 * ((index >> 5) & 31), 3 + 8 * (index & 31)};
    EXPECT_EQ((Rgb{e[2], e[1], e[0]}), SixColourModel(tone.frame.selectiveColorMatrix, entry)) << index;
  }
  // Used: each toned colour becomes its lattice entry, and the steps do not run again.
  gPreviewLatticeMode = 1;
  CopyGlobalDib(images.base, images.shown);
  Paint();
  images.Expect([&](Rgb c) {
    const Rgb t = Toned(c);
    return SixColourModel(tone.frame.selectiveColorMatrix,
                          Rgb{3 + 8 * (t[0] >> 3), 3 + 8 * (t[1] >> 3), 3 + 8 * (t[2] >> 3)});
  });
}

TEST_F(RegionColourTest, TheTwelveColourMatrixIsBakedIntoACubeInsideTheMask) {
  // Identity tones over colours on the cube's nodes: the cube gives exactly the matrix's own result there.
  FrameInitInputs inputs = {};
  inputs.defaults = &tone.defaults;
  InitFrameRecordWith(&tone.frame, true, inputs);
  tone.frame.colorMode = kColorModeRgb;
  tone.frame.selectiveColorMode = 2;
  tone.frame.colorMatrix12[0 * 6 + 0] = -30;  // sector 0 (red): less red
  tone.frame.colorMatrix12[4 * 6 + 4] = 45;   // sector 4 (green): more magenta
  for (int sector = 0; sector < kMatrixSectors; ++sector) tone.frame.colorMatrix12[sector * 6 + 3] = 60;  // more cyan
  uint8_t* bits = GlobalDibBits(images.base);
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) {
      uint8_t* p = bits + y * GlobalDibStride(images.base) + 3 * x;
      p[0] = static_cast<uint8_t>(8 * ((x + y) % 31));
      p[1] = static_cast<uint8_t>(8 * ((3 * y) % 31));
      p[2] = static_cast<uint8_t>(8 * ((5 * x + 2) % 31));
    }
  const auto r = Table(1);
  for (int i = 0; i < 256; ++i) ASSERT_EQ(r[i], i);
  InstallMask();
  for (bool masked : {true, false}) {
    if (!masked) tone.frame.maskName[0] = 0;
    CopyGlobalDib(images.base, images.shown);
    Paint();
    ColorMatrixLutSet set{};
    ASSERT_EQ(BuildColorMatrixLuts(tone.frame.colorMatrix12, &set, nullptr, nullptr, 0), 0);
    int changed = 0;
    for (int y = 0; y < kSize; ++y)
      for (int x = 0; x < kSize; ++x) {
        const Rgb c = Images::At(images.base, x, y);
        const bool inside = x >= kArea.left && x < kArea.right && y >= kArea.top && y < kArea.bottom;
        Rgb want = c;
        if (inside && (!masked || InMask(x, y))) {
          uint8_t pixel[3] = {static_cast<uint8_t>(c[0]), static_cast<uint8_t>(c[1]), static_cast<uint8_t>(c[2])};
          ApplyColorMatrix8(pixel, pixel, reinterpret_cast<const ColorMatrixLut*>(set.entries->data), set.entryCount,
                            1, 3, 1, 0, 0, nullptr);
          want = Rgb{pixel[0], pixel[1], pixel[2]};
        }
        changed += want != c;
        ASSERT_EQ(Images::At(images.shown, x, y), want) << x << "," << y;
      }
    EXPECT_GT(changed, masked ? 3 : 20);
    DisposeMemHandle(set.entries);
  }
}

TEST_F(RegionPaintTest, TheSoftProofRunsWhileTheOutputConversionIsShown) {
  // Mode 5 without separation tables proofs through the identity cube, whose
  // last cell runs from 248 to 255: v from 248 on becomes 248 + 7 (v - 248) / 8.
  const auto proofed = [](int v) { return v < 248 ? v : 248 + 7 * (v - 248) / 8; };
  const auto r = Table(1), g = Table(2), b = Table(3);
  ASSERT_EQ(r[255], 255);
  gColorProfileSet.cmykMode = 5;
  const struct {
    uint8_t view;
    uint16_t mode;
    bool proof;
  } cases[] = {{1, 5, true}, {1, 2, true}, {0, 5, false}, {1, 1, false}};
  for (const auto& c : cases) {
    gOutputConversionView = c.view;
    gColorProfileSet.cmykMode = c.mode;
    CopyGlobalDib(images.base, images.shown);
    uint8_t* bright = GlobalDibBits(images.shown) + kArea.top * GlobalDibStride(images.shown) + 3 * kArea.left;
    bright[0] = bright[1] = bright[2] = 255;
    Paint();
    EXPECT_EQ(bright[2], c.proof ? 254 : 255) << int(c.view) << " " << c.mode;
    for (int y = kArea.top + 1; y < kArea.bottom; ++y)
      for (int x = kArea.left; x < kArea.right; ++x) {
        const Rgb t = Images::At(images.base, x, y);
        const Rgb toned{r[t[0]], g[t[1]], b[t[2]]};
        const Rgb want = c.proof ? Rgb{proofed(toned[0]), proofed(toned[1]), proofed(toned[2])} : toned;
        ASSERT_EQ(Images::At(images.shown, x, y), want) << x << "," << y;
      }
  }
  gOutputConversionView = 0;
  gColorProfileSet.cmykMode = 0;
}

TEST_F(RegionColourTest, ASingleColourTakesTheSelectiveColourToo) {
  const Rgb colours[] = {{255, 0, 0}, {200, 100, 30}, {20, 90, 240}, {128, 128, 128}};
  for (const Rgb& c : colours) {
    uint8_t r = static_cast<uint8_t>(c[0]), g = static_cast<uint8_t>(c[1]), b = static_cast<uint8_t>(c[2]);
    ApplyFrameCorrectionsToColor(&r, &g, &b, tone.frame, RegionPaintOptions{0});
    EXPECT_EQ((Rgb{r, g, b}), Corrected(c));
  }
}

}  // namespace
