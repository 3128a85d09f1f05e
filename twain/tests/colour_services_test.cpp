// The densitometer's colour readouts: their fallbacks without the host's
// colour services, and their use of the services the test host offers.
#include <gtest/gtest.h>

#include <cstring>

#include "color/lab_rows.h"
#include "state/data_source_state.h"
#include "state/module_state.h"
#include "tools/host_colour/host_colour_services.h"
#include "twain/colour_services.h"

namespace {

// Answers every colour with hue 0: no usable hue scale.
int16_t HueZeroServices(void* request, const HostRect*, int32_t, int32_t, void*) {
  auto* colour = static_cast<ColourServicesRequest*>(request);
  colour->components[0] = 0;
  colour->components[1] = colour->components[2] = 255;
  return 0;
}

class ColourReadouts : public ::testing::Test {
 protected:
  void SetUp() override {
    gSessionStorage = SessionBlock{};
    gSession = &gSessionStorage;
    HostColourRequests() = HostColourRecord{};
    const float basis[9] = {1.8f, 0.625f, 0.34f, 0.28f, 0.595f, 0.155f, 0.07f, 0.3127f, 0.3290f};
    std::memcpy(&gDefaults.bytes[kDefaultDisplayGamma.offset], basis, sizeof basis);
  }
  void Offer(ColourServicesProc procedure) { gSession->colourServices.value = reinterpret_cast<void*>(procedure); }
};

TEST_F(ColourReadouts, WithoutServicesEveryReadoutFallsBack) {
  ColourServicesRequest request = {};
  request.components[0] = 77;
  EXPECT_EQ(ConvertColorViaHost(&request), 0xFFFF);
  EXPECT_EQ(request.components[0], 77);

  const uint8_t red[3] = {255, 0, 0};
  uint8_t cmyk[4], gamut = 9;
  EXPECT_FALSE(RgbToCmykReadout(red, cmyk, &gamut));
  EXPECT_EQ(cmyk[0], 0);
  EXPECT_EQ(cmyk[1], 255);
  EXPECT_EQ(cmyk[2], 255);
  EXPECT_EQ(cmyk[3], 0);
  EXPECT_EQ(gamut, 0);

  const uint8_t inks[4] = {10, 20, 30, 40};
  uint8_t rgb[3];
  EXPECT_TRUE(CmykToRgbReadout(inks, rgb));
  EXPECT_EQ(rgb[0], 245);
  EXPECT_EQ(rgb[1], 235);
  EXPECT_EQ(rgb[2], 225);

  const uint8_t cyan[3] = {0, 255, 255};
  int16_t hsl[3];
  EXPECT_FALSE(RgbToHslReadout(cyan, hsl));
  EXPECT_EQ(hsl[0], 180);
  EXPECT_EQ(hsl[1], 100);
  EXPECT_EQ(hsl[2], 50);
}

TEST_F(ColourReadouts, AHostsAnswersAreInvertedScaledAndFlagged) {
  Offer(HostColourServices);
  const struct {
    uint8_t rgb[3];
    uint8_t cmyk[4];
    uint8_t outOfGamut;
  } cases[] = {
      {{255, 0, 0}, {0, 255, 255, 0}, 1},       // 510 ink: beyond the host's limit
      {{128, 128, 128}, {0, 0, 0, 127}, 0},     // the host's black replaces the grey
  };
  for (const auto& c : cases) {
    uint8_t cmyk[4], gamut = 9;
    EXPECT_TRUE(RgbToCmykReadout(c.rgb, cmyk, &gamut));
    EXPECT_EQ(0, std::memcmp(cmyk, c.cmyk, 4)) << int(c.rgb[0]);
    EXPECT_EQ(gamut, c.outOfGamut) << int(c.rgb[0]);
  }
  const ColourServicesRequest& asked = HostColourRequests().colours.front();
  EXPECT_EQ(asked.size, 36);
  EXPECT_EQ(asked.selector, 1);
  EXPECT_EQ(asked.sourceSpace, kColourSpaceRgb);
  EXPECT_EQ(asked.resultSpace, kColourSpaceCmyk);
  EXPECT_EQ(asked.components[0], 255);

  const uint8_t inks[4] = {0, 255, 255, 0};
  uint8_t rgb[3];
  EXPECT_TRUE(CmykToRgbReadout(inks, rgb));
  EXPECT_EQ(rgb[0], 255);
  EXPECT_EQ(rgb[1], 0);
  EXPECT_EQ(rgb[2], 0);
  EXPECT_EQ(HostColourRequests().colours.back().components[0], 255);  // no cyan ink
}

// One test, in order: the hue factor is measured once per module.
TEST_F(ColourReadouts, HueFactorIsMeasuredOnCyanAndNeverFromAHueOfZero) {
  const uint8_t blue[3] = {0, 0, 255};
  int16_t hsl[3];
  Offer(HueZeroServices);
  EXPECT_FALSE(RgbToHslReadout(blue, hsl));
  EXPECT_EQ(hsl[0], 240);  // the local conversion
  EXPECT_EQ(hsl[1], 100);
  EXPECT_EQ(hsl[2], 50);

  Offer(HostColourServices);
  const uint8_t colours[][3] = {{0, 0, 255}, {255, 255, 0}, {200, 100, 50}};
  for (const auto& rgb : colours) {
    EXPECT_TRUE(RgbToHslReadout(rgb, hsl));
    ColourServicesRequest answer = HostColourRequests().colours.back();
    HostColourServices(&answer, nullptr, 0, 0, nullptr);
    // Cyan came back as 128 of the host's units: 180 / 128 degrees each.
    EXPECT_EQ(hsl[0], static_cast<int16_t>(answer.components[0] * (180.0 / 128) + 0.5)) << int(rgb[0]);
    EXPECT_EQ(hsl[1], static_cast<int16_t>(answer.components[1] * 100 / 255.0 + 0.5));
    EXPECT_EQ(hsl[2], static_cast<int16_t>(answer.components[2] * 100 / 255.0 + 0.5));
  }
  EXPECT_EQ(HostColourRequests().colours.front().components[0], 0);  // the cyan request, asked first
  EXPECT_EQ(HostColourRequests().colours.front().components[1], 255);
}

TEST_F(ColourReadouts, LabReadoutAndLchHue) {
  const struct {
    uint8_t rgb[3];
    uint8_t lab[3];
  } labCases[] = {{{255, 255, 255}, {100, 128, 128}}, {{0, 0, 0}, {0, 128, 128}}};
  for (const auto& c : labCases) {
    uint8_t lab[3];
    EXPECT_TRUE(RgbToLabReadout(c.rgb, lab));
    EXPECT_EQ(0, std::memcmp(lab, c.lab, 3)) << int(c.rgb[0]);
  }
  // A saturated red within a unit of the double routines.
  const uint8_t red[3] = {255, 0, 0};
  uint8_t lab[3];
  RgbToLabReadout(red, lab);
  BuildLabTables(1.8);
  const double unit[3] = {1, 0, 0};
  double exact[3];
  RgbToLab(unit, exact);
  FreeLabTables();
  EXPECT_NEAR(lab[0], exact[0], 1.0);
  EXPECT_NEAR(lab[1] - 128, exact[1], 1.5);
  EXPECT_NEAR(lab[2] - 128, exact[2], 1.5);

  const struct {
    int8_t a, b;
    uint8_t chroma;
    uint16_t hue;
  } lchCases[] = {
      {0, -20, 20, 270}, {0, 0, 0, 0}, {0, 20, 20, 90}, {30, 0, 30, 0}, {-30, 0, 30, 180},
      // 180 / 3.1415926535 makes the diagonal a hair above 45 degrees, and the hue is truncated.
      {20, 20, 28, 45}, {-20, 20, 28, 134}, {-20, -20, 28, 225}, {20, -20, 28, 314}, {-128, -128, 181, 225}};
  for (const auto& c : lchCases) {
    uint8_t l, chroma;
    uint16_t hue;
    LabToLchReadout(55, c.a, c.b, &l, &chroma, &hue);
    EXPECT_EQ(l, 55);
    EXPECT_EQ(chroma, c.chroma) << int(c.a) << "," << int(c.b);
    EXPECT_EQ(hue, c.hue) << int(c.a) << "," << int(c.b);
  }
}

}  // namespace
