// A frame's corrections on its preview area, checked pixel by pixel against
// our own loops over the tone engine's tables: inside the rectangle the
// corrected colours, outside it the base image untouched.
#include <gtest/gtest.h>

#include <array>
#include <functional>

#include "frames/frame_region_paint.h"
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

}  // namespace
