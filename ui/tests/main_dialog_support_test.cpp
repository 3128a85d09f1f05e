// The main dialog's shared services: the limits of scale and resolution by
// the resolution list (50..400 dpi; the image's scaling runs 1..1000 %), the
// pending field edit, the densitometer's readout models and the palette's
// button faces.
#include <gtest/gtest.h>

#include <cstring>

#include "foundation/scripted_system.h"
#include "records/frame_record.h"
#include "state/data_source_state.h"
#include "ui/densitometer_readout.h"
#include "ui/feeder_count.h"
#include "ui/main_dialog_support.h"
#include "ui/palette_button_faces.h"
#include "ui/pending_field_edit.h"

namespace {

class ScaleLimitsTest : public testing::Test {
 protected:
  void SetUp() override {
    ResetDataSourceState();
    gResolutionList.count = 4;
    const uint16_t values[4] = {50, 100, 200, 400};
    std::memcpy(gResolutionList.values, values, sizeof values);
    frame = FrameRecord{};
    gCurrentFrame = &frame;
  }
  void TearDown() override { ResetDataSourceState(); }
  FrameRecord frame;
};

// lo = 50 x 1 / divisor (at least 1), hi = 400 x 1000 / divisor.
TEST_F(ScaleLimitsTest, ScaleToResolutionsKeepsTheScaleInsideTheList) {
  struct Case {
    float scale;
    int16_t divisor;
    float expected;
    bool changed;
  } cases[] = {
      {100.0f, 300, 100.0f, false},     // inside
      {0.1f, 10, 5.0f, true},           // below 50 / 10
      {0.5f, 300, 1.0f, true},          // lo is at least 1
      {2000.0f, 300, 1333.3334f, true}, // above 400000 / 300
      {2000.0f, 200, 2000.0f, false},   // exactly the upper limit
  };
  for (const Case& c : cases) {
    float scale = c.scale;
    EXPECT_EQ(ClampScaleToResolutions(&scale, c.divisor), c.changed) << c.scale << " / " << c.divisor;
    EXPECT_FLOAT_EQ(scale, c.expected) << c.scale << " / " << c.divisor;
  }
}

// Output resolution 100: scales from 0.5 (50 x 1 / 100) to 4000 (400 x 1000 / 100).
TEST_F(ScaleLimitsTest, OutputScaleGrowsAndShrinksInProportionToTheOtherAxis) {
  frame.outputResolution = 100;
  struct Case {
    float x, y;
    float newScale;
    bool xAxis;
    double expected;
  } cases[] = {
      {1000, 2000, 1500, true, 1500},          // inside
      {1000, 2000, 3000, false, 3000},         // y grows 1.5 x: 300000 stays below the limit
      {1000, 2000, 5000, false, 4000},         // y holds the larger scale: 400000 / 100
      {1000, 2000, 2500, true, 2000},          // x grows 2.5 x: y would reach 5000; x grows to 1000 x 4000 / 2000
      {1000, 1000, 5000, true, 4000},          // a tie: y counts as larger, x is limited in proportion
      {100, 50, 0.2f, false, 0.5},             // y holds the smaller scale: 50 / 100
      {100, 50, 20, true, 20},                 // x shrinks 5 x: y would reach 10, 1000 dpi-percent: stands
      {1, 2, 0.1f, true, 0.5},                 // x holds the smaller scale
      {2, 1, 0.2f, true, 1.0},                 // x shrinks 10 x: y (smaller) reaches 0.1: 0.5 / 1 x 2
      {300, 300, 300, true, 300},              // unchanged
  };
  for (const Case& c : cases) {
    frame.outputScaleX = c.x;
    frame.outputScaleY = c.y;
    EXPECT_DOUBLE_EQ(ClampOutputScale(c.newScale, c.xAxis), c.expected)
        << c.x << " x " << c.y << " -> " << c.newScale << (c.xAxis ? " on x" : " on y");
  }
}

TEST_F(ScaleLimitsTest, OutputResolutionValueStaysInsideTheRange) {
  frame.outputResolution = 200;
  EXPECT_DOUBLE_EQ(ClampOutputResolution(100.0f, true, &frame), 100.0);
  EXPECT_DOUBLE_EQ(ClampOutputResolution(3000.0f, false, &frame), 2000.0);  // 400000 / 200
  EXPECT_DOUBLE_EQ(ClampOutputResolution(0.1f, true, &frame), 0.25);        // 50 / 200
}

TEST(PendingFieldEditTest, APendingFieldIsDueAfterTwoSecondsAndPutBackWithABeep) {
  ScopedScriptedSystem system;
  system->ticks = 10000;
  NotePendingFieldEdit(true, 1036);
  EXPECT_EQ(gPendingEditId, 1036);
  EXPECT_EQ(gPendingEditDeadline, 12000);
  system->ticks = 11999;
  EXPECT_FALSE(PendingFieldEditDue());
  system->ticks = 12000;
  EXPECT_TRUE(PendingFieldEditDue());
  // Another field's end leaves it pending; its own end clears it.
  NotePendingFieldEdit(false, 1037);
  EXPECT_EQ(gPendingEditId, 1036);
  system->ticks = 11000;
  EXPECT_FALSE(FlushPendingFieldEdit());
  EXPECT_EQ(system->beeps.size(), 1u);
  EXPECT_EQ(gPendingEditId, kNoPendingEdit);
  EXPECT_EQ(gPendingEditDeadline, kNoPendingDeadline);
  EXPECT_TRUE(FlushPendingFieldEdit());
  EXPECT_EQ(system->beeps.size(), 1u);
  NotePendingFieldEdit(true, 1043);
  NotePendingFieldEdit(false, kNoPendingEdit);
  EXPECT_EQ(gPendingEditId, kNoPendingEdit);
}

TEST(PendingFieldEditTest, TurnedPreviewExchangesTheAxesOfTheFields) {
  EXPECT_EQ(FieldEditOfControl(1035, false), FieldEdit::kOriginalWidth);
  EXPECT_EQ(FieldEditOfControl(1035, true), FieldEdit::kOriginalHeight);
  EXPECT_EQ(FieldEditOfControl(1038, true), FieldEdit::kOriginalWidth);
  EXPECT_EQ(FieldEditOfControl(1036, true), FieldEdit::kScaleY);
  EXPECT_EQ(FieldEditOfControl(1040, true), FieldEdit::kOutputWidth);
  EXPECT_EQ(FieldEditOfControl(1043, true), FieldEdit::kOutputResolution);
  EXPECT_EQ(FieldEditOfControl(1042, false), FieldEdit::kNone);
}

TEST(FeederCountTest, TheTypedCountIsLimitedTo0To9999) {
  struct Case {
    const char* text;
    uint16_t expected;
    bool inRange;
  } cases[] = {{"0", 0, true}, {"9999", 9999, true}, {"10000", 9999, false}, {"-3", 0, false},
               {"", 42, true}, {"120", 120, true}};
  for (const Case& c : cases) {
    bool inRange = !c.inRange;
    EXPECT_EQ(LimitFeederCount(c.text, 42, &inRange), c.expected) << c.text;
    EXPECT_EQ(inRange, c.inRange) << c.text;
  }
}

// Stand-in readouts that show which conversion was asked.
bool FakeLab(const uint8_t rgb[3], uint8_t lab[3]) {
  lab[0] = static_cast<uint8_t>(rgb[0] / 3);
  lab[1] = 138;
  lab[2] = 118;
  return true;
}
bool FakeHsl(const uint8_t rgb[3], int16_t hsl[3]) {
  hsl[0] = 200;
  hsl[1] = rgb[1];
  hsl[2] = 7;
  return false;
}
bool FakeCmyk(const uint8_t rgb[3], uint8_t cmyk[4], uint8_t* outOfGamut) {
  for (int i = 0; i < 3; ++i) cmyk[i] = static_cast<uint8_t>(255 - rgb[i]);
  cmyk[3] = 51;
  *outOfGamut = 1;
  return true;
}
void FakeLch(uint8_t lightness, int8_t a, int8_t b, uint8_t* l, uint8_t* chroma, uint16_t* hue) {
  *l = lightness;
  *chroma = static_cast<uint8_t>(a - b);
  *hue = 321;
}

TEST(DensitometerReadoutTest, EachModelShowsItsValues) {
  ReadoutConversions conversions;
  conversions.rgbToLab = FakeLab;
  conversions.rgbToHsl = FakeHsl;
  conversions.rgbToCmyk = FakeCmyk;
  conversions.labToLch = FakeLch;
  InstallReadoutConversions(conversions);
  const uint8_t rgb[3] = {30, 128, 250};
  struct Case {
    uint8_t model;
    int count;
    int32_t values[4];
  } cases[] = {
      {kReadoutRgb, 3, {30, 128, 250}},
      {kReadoutCmyk, 4, {88, 49, 1, 20}},  // (255 - v) x 100 / 255 truncated, black 51 -> 20
      {kReadoutLab, 3, {10, 10, -10}},
      {kReadoutCmy, 3, {88, 49, 1}},
      {kReadoutHsl, 3, {200, 128, 7}},
      {kReadoutGrey, 1, {47}},             // (765 - 408) x 100 / 765 = 46.67, + 0.5
      {kReadoutLch, 3, {10, 20, 321}},
  };
  for (const Case& c : cases) {
    const ReadoutValues out = ReadoutOfColour(c.model, rgb);
    ASSERT_EQ(out.count, c.count) << int(c.model);
    for (int i = 0; i < c.count; ++i) EXPECT_EQ(out.values[i], c.values[i]) << int(c.model) << " value " << i;
  }
  const ReadoutValues cmyk = ReadoutOfColour(kReadoutCmyk, rgb);
  EXPECT_EQ(cmyk.totalInk, 88 + 49 + 1 + 20);
  EXPECT_TRUE(cmyk.outOfGamut);
  InstallReadoutConversions(ReadoutConversions{});
}

TEST(DensitometerReadoutTest, GreyRoundsHalfUp) {
  const uint8_t white[3] = {255, 255, 255};
  const uint8_t black[3] = {0, 0, 0};
  const uint8_t mid[3] = {127, 128, 128};  // 765 - 383 = 382 -> 49.93
  EXPECT_EQ(ReadoutOfColour(kReadoutGrey, white).values[0], 0);
  EXPECT_EQ(ReadoutOfColour(kReadoutGrey, black).values[0], 100);
  EXPECT_EQ(ReadoutOfColour(kReadoutGrey, mid).values[0], 50);
}

TEST(DensitometerReadoutTest, NothingIsRewrittenWhileModelAndColoursStay) {
  uint8_t colours[3][3] = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}};
  ForceReadoutRedraw();
  EXPECT_TRUE(ReadoutChanged(kReadoutRgb, false, colours));
  EXPECT_FALSE(ReadoutChanged(kReadoutRgb, false, colours));
  EXPECT_TRUE(ReadoutChanged(kReadoutLab, false, colours));
  EXPECT_TRUE(ReadoutChanged(kReadoutLab, true, colours));
  colours[2][1] = 0;
  EXPECT_TRUE(ReadoutChanged(kReadoutLab, true, colours));
  EXPECT_FALSE(ReadoutChanged(kReadoutLab, true, colours));
  ForceReadoutRedraw();
  EXPECT_TRUE(ReadoutChanged(kReadoutLab, true, colours));
}

FrameRecord FrameOf(uint32_t colorMode, uint8_t bits, uint8_t choice) {
  FrameRecord f{};
  f.colorMode = colorMode;
  f.bitsPerChannel = bits;
  f.bitDepthChoice = choice;
  return f;
}

TEST(PaletteButtonFacesTest, ScanButtonTextAndImageFollowTheFrameAndTheOutput) {
  const FrameRecord rgb8 = FrameOf(2, 8, 0), rgb16zir = FrameOf(2, 16, 1), grey = FrameOf(1, 8, 0),
                    lineArt = FrameOf(0, 1, 0);
  struct Case {
    const char* what;
    ScanButtonInputs in;
    uint16_t text, image;
  } cases[] = {
      {"job entry", {true, true, true, 4, &rgb8}, 609, 331},
      {"batch", {false, true, false, 1, &grey}, 608, 332},
      {"batch, 16-bit ZIR", {false, true, false, 1, &rgb16zir}, 608, 332},
      {"Lab output", {false, false, true, 4, &rgb8}, 606, 331},
      {"Lab output of a ZIR type", {false, false, true, 4, &rgb16zir}, 602, 330},
      {"managed RGB", {false, false, true, 1, &rgb8}, 602, 330},
      {"unmanaged 16-bit ZIR", {false, false, false, 1, &rgb16zir}, 602, 330},
      {"unmanaged RGB", {false, false, false, 1, &rgb8}, 603, 332},
      {"grey", {false, false, true, 4, &grey}, 604, 330},
      {"line art", {false, false, false, 1, &lineArt}, 605, 330},
  };
  for (const Case& c : cases) {
    const ScanButtonFace face = ScanButtonFaceFor(c.in);
    EXPECT_EQ(face.textId, c.text) << c.what;
    EXPECT_EQ(face.imageId, c.image) << c.what;
  }
}

TEST(PaletteButtonFacesTest, TheFaceIsRebuiltOnlyWhenTextOrImageChange) {
  EXPECT_TRUE(ScanButtonFaceChanged(ScanButtonFace{602, 330}, true));
  EXPECT_FALSE(ScanButtonFaceChanged(ScanButtonFace{602, 330}, false));
  EXPECT_TRUE(ScanButtonFaceChanged(ScanButtonFace{602, 332}, false));
  EXPECT_TRUE(ScanButtonFaceChanged(ScanButtonFace{603, 332}, false));
  EXPECT_TRUE(ScanButtonFaceChanged(ScanButtonFace{603, 332}, true));
}

TEST(PaletteButtonFacesTest, PrescanOpensAnImageUnlessAltDiffersFromZoom) {
  EXPECT_EQ(PrescanButtonTextId(false, false, false), 26);
  EXPECT_EQ(PrescanButtonTextId(false, true, true), 26);
  EXPECT_EQ(PrescanButtonTextId(false, true, false), 25);
  EXPECT_EQ(PrescanButtonTextId(false, false, true), 25);
  EXPECT_EQ(PrescanButtonTextId(true, false, false), 25);
  EXPECT_EQ(OptionButtonTextId(true, true, false, false), 601);
  EXPECT_EQ(OptionButtonTextId(false, true, false, false), 401);
  EXPECT_EQ(OptionButtonTextId(false, true, true, false), 600);
  EXPECT_EQ(OptionButtonTextId(false, true, false, true), 600);
  EXPECT_EQ(OptionButtonTextId(false, false, false, false), 600);
}

TEST(PaletteButtonFacesTest, ToolButtonsActOnTonalFramesOnly) {
  const FrameRecord rgb8 = FrameOf(2, 8, 0), rgb16 = FrameOf(2, 16, 0), zir16 = FrameOf(2, 16, 1),
                    lineArt = FrameOf(0, 1, 0);
  EXPECT_TRUE(ToolButtonActsOn(1059, zir16));
  EXPECT_TRUE(ToolButtonActsOn(1060, lineArt));
  EXPECT_TRUE(ToolButtonActsOn(1066, rgb8));
  EXPECT_TRUE(ToolButtonActsOn(1058, rgb16));
  EXPECT_FALSE(ToolButtonActsOn(1058, zir16));
  EXPECT_FALSE(ToolButtonActsOn(1066, lineArt));
  EXPECT_TRUE(ToolButtonActsOn(1063, lineArt));
  EXPECT_FALSE(ToolButtonActsOn(1063, zir16));
}

}  // namespace
