// The band producer over generated TIFF images: read sizes, the bands of a
// whole scan against the image's own samples in every data kind and
// orientation, and the output conversions of the hand-over.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "color/color_management.h"
#include "frames/orientation/preview_orientation.h"
#include "records/defaults_block.h"
#include "session/band_producer.h"
#include "session/device_read.h"
#include "session/intermediate_stage.h"
#include "session/scan_session.h"
#include "session/tests/scan_test_support.h"
#include "state/data_source_state.h"
#include "tone/gamma_tables.h"
#include "tone/tone_engine_state.h"

namespace {

struct PlanCase {
  int32_t readPlanes, sessionPlanes, columns, bits;
  int32_t rowsPerRead;
  uint32_t bandLimit;
};

class BandPlanTest : public ::testing::TestWithParam<PlanCase> {};

TEST_P(BandPlanTest, RowsPerReadAndBandLimit) {
  const PlanCase& c = GetParam();
  const BandReadPlan plan = PlanBandReads(c.readPlanes, c.sessionPlanes, c.columns, c.bits);
  EXPECT_EQ(plan.rowsPerRead, c.rowsPerRead);
  EXPECT_EQ(plan.bandLimit, c.bandLimit);
}

INSTANTIATE_TEST_SUITE_P(Sizes, BandPlanTest,
                         ::testing::Values(PlanCase{1, 1, 40000, 8, 25, 0},         // 1000000 / 40000
                                           PlanCase{3, 3, 3000, 8, 10, 910000},     // 10 rows of 9000 bytes
                                           PlanCase{1, 1, 1000, 16, 30, 940000},
                                           PlanCase{3, 3, 40000, 16, 4, 40000},     // capped: 1000000 / 240000
                                           PlanCase{3, 4, 3000, 8, 10, 880000},     // CMYK rows of four planes
                                           PlanCase{1, 1, 37, 1, 30, 1000000 - 30 * 5},  // 1-bit rows round up
                                           PlanCase{1, 1, 2000000, 8, 1, 0}));      // a row beyond a band still reads

// The sample the host must see at (x, y) of the oriented image: mirrors first,
// then a quarter turn clockwise.
struct Orientation {
  uint8_t mirrorH, mirrorV;
  uint16_t turns;
};

uint16_t ExpectedAt(const ExpectedImage& image, uint32_t width, uint32_t height, const OrientationFlags& o, int32_t X,
                    int32_t Y, int32_t c) {
  int32_t x1 = X, y1 = Y;
  if (o.quarterTurn) {  // X = height - 1 - y1, Y = x1
    x1 = Y;
    y1 = static_cast<int32_t>(height) - 1 - X;
  }
  const int32_t x = o.flipX ? static_cast<int32_t>(width) - 1 - x1 : x1;
  const int32_t y = o.flipY ? static_cast<int32_t>(height) - 1 - y1 : y1;
  return image.At(static_cast<uint32_t>(x), static_cast<uint32_t>(y), static_cast<uint32_t>(c));
}

struct KindCase {
  const char* name;
  const char* image;
  int bits;
  bool rgb;
};

const KindCase kKinds[] = {
    {"rgb16", "scan_rgb48", 16, true},   {"grey16", "scan_grey16", 16, false}, {"rgb8", "scan_rgb24", 8, true},
    {"grey8", "scan_grey8", 8, false},   {"lineart", "scan_small_grey8", 1, false},
};

class ScanBandsTest : public ScanTest, public ::testing::WithParamInterface<std::tuple<KindCase, int>> {};

TEST_P(ScanBandsTest, BandsMakeTheImage) {
  const KindCase kind = std::get<0>(GetParam());
  const int row = std::get<1>(GetParam());
  const Orientation orientation{static_cast<uint8_t>((row >> 3) & 1), static_cast<uint8_t>((row >> 2) & 1),
                                static_cast<uint16_t>(row & 3)};
  FrameRecord frame = OpenFrame(kind.image, kind.bits, kind.rgb);
  // Without the intermediate stage 16-bit samples arrive as the file holds
  // them; 8-bit ones through the frame's tone tables.
  gSixteenBitColorOption = false;
  const ExpectedImage expected = kind.bits == 16 ? LoadExpected(kind.image) : ReadStraight(kind.image, frame);
  frame.mirrorH = orientation.mirrorH;
  frame.mirrorV = orientation.mirrorV;
  frame.quarterTurns = orientation.turns;
  const ScannedImage scanned = Scan(frame);
  const OrientationFlags& o = OrientationTableRow(frame.mirrorH, frame.mirrorV, frame.quarterTurns);

  const int32_t width = static_cast<int32_t>(expected.width), height = static_cast<int32_t>(expected.height);
  ASSERT_EQ(scanned.columns, o.quarterTurn ? height : width);
  ASSERT_EQ(scanned.rows, o.quarterTurn ? width : height);
  ASSERT_EQ(scanned.planes, kind.rgb ? 3 : 1);
  int32_t bandRows = 0;
  for (int32_t h : scanned.bandHeights) bandRows += h;
  EXPECT_EQ(bandRows, height);

  int mismatches = 0;
  for (int32_t y = 0; y < scanned.rows && mismatches < 5; ++y)
    for (int32_t x = 0; x < scanned.columns && mismatches < 5; ++x)
      for (int32_t c = 0; c < scanned.planes; ++c) {
        uint16_t want = ExpectedAt(expected, expected.width, expected.height, o, x, y, c);
        if (kind.bits == 1) want = want < 128 ? 1 : 0;
        if (scanned.At(x, y, c) != want) {
          ADD_FAILURE() << "at " << x << "," << y << " plane " << c << ": " << scanned.At(x, y, c) << " for "
                        << want;
          ++mismatches;
        }
      }
}

INSTANTIATE_TEST_SUITE_P(KindsAndOrientations, ScanBandsTest,
                         ::testing::Combine(::testing::ValuesIn(kKinds), ::testing::Range(0, 16)),
                         [](const ::testing::TestParamInfo<std::tuple<KindCase, int>>& info) {
                           return std::string(std::get<0>(info.param).name) + "_row" +
                                  std::to_string(std::get<1>(info.param));
                         });

using BandSizeTest = ScanTest;

TEST_F(BandSizeTest, RgbRowsOf3000PixelsFill110RowBands) {
  const ScannedImage scanned = Scan(OpenFrame("scan_rgb24", 8, true));
  EXPECT_EQ(scanned.bandHeights, (std::vector<int32_t>{110, 10}));
}

TEST_F(BandSizeTest, GreyRowsOf40000PixelsTakeOneReadABand) {
  const ScannedImage scanned = Scan(OpenFrame("scan_grey8", 8, false));
  EXPECT_EQ(scanned.bandHeights, (std::vector<int32_t>{25, 5}));
}

// A descreen frame whose output has three times the halved rows: its bands
// grow in proportion but stay within the band buffer, and every row arrives.
TEST_F(BandSizeTest, EnlargingDescreenBandsStayWithinTheBandBuffer) {
  FrameRecord frame = OpenFrame("scan_rgb24", 8, true);
  frame.filterMode = 3;
  frame.screenRulingCopy = static_cast<int16_t>(frame.outputResolution / 2);  // the image at its own resolution
  frame.outputResolution = static_cast<int16_t>(frame.outputResolution * 3 / 2);
  const ScannedImage scanned = Scan(frame);
  EXPECT_EQ(scanned.columns, 4500);
  EXPECT_EQ(scanned.rows, 180);
  int32_t rows = 0;
  for (int32_t height : scanned.bandHeights) {
    EXPECT_LE(static_cast<int64_t>(height) * 3 * scanned.columns, int64_t{kBandBytes});
    rows += height;
  }
  EXPECT_EQ(rows, scanned.rows);
}

using OutputConversionTest = ScanTest;

TEST_F(OutputConversionTest, CmykSamplesAreComplemented) {
  SetDefault(gDefaults, kDefaultThreeChannelOutput, uint8_t{0});
  const ExpectedImage expected = LoadExpected("scan_rgb48");
  const ScannedImage scanned = Scan(OpenFrame("scan_rgb48", 16, true, 12));
  ASSERT_EQ(scanned.planes, 4);
  ASSERT_EQ(scanned.rows, 12);
  for (int32_t y = 0; y < scanned.rows; ++y)
    for (int32_t x = 0; x < scanned.columns; ++x) {
      for (int32_t c = 0; c < 3; ++c) ASSERT_EQ(scanned.At(x, y, c), 65535 - expected.At(x, y, c)) << x << "," << y;
      ASSERT_EQ(scanned.At(x, y, 3), 0);
    }
}

TEST_F(OutputConversionTest, ZirDataGetsOnlyTheReductionTable) {
  SetDefault(gDefaults, kDefaultZirOutputReduction, uint8_t{1});
  FrameRecord frame = OpenFrame("scan_rgb48", 16, true, 4);
  frame.bitDepthChoice = 1;
  frame.filterMode = 1;
  const ExpectedImage expected = LoadExpected("scan_rgb48");
  const ScannedImage scanned = Scan(frame);
  ASSERT_FALSE(gScanReduction.table.empty());
  const uint16_t shift = 16 - gScanReduction.inBits;
  for (int32_t x = 0; x < scanned.columns; ++x)
    for (int32_t c = 0; c < 3; ++c) {
      const uint16_t in = expected.At(x, 2, c);
      const uint16_t want = static_cast<uint16_t>(gScanReduction.table[in >> shift] << (16 - gScanReduction.outBits));
      ASSERT_EQ(scanned.At(x, 2, c), want) << x;
    }
}

TEST_F(OutputConversionTest, BuppHostsGetInterleavedBands) {
  session_.hostSignature = kHostSignatureBupp;
  FrameRecord frame = OpenFrame("scan_small_rgb24", 8, true);
  const ExpectedImage expected = ReadStraight("scan_small_rgb24", frame);
  gCurrentFrame = &frame;
  ASSERT_TRUE(PrepareScan());
  RunScan();
  const uint8_t* band = session_.bandData.value;
  ASSERT_NE(band, nullptr);
  for (int32_t y = 0; y < session_.bandBottom - session_.bandTop; ++y)
    for (int32_t x = 0; x < 36; ++x)
      for (int32_t c = 0; c < 3; ++c)
        ASSERT_EQ(band[(size_t(y) * 36 + x) * 3 + c], expected.At(x, y, c)) << x << "," << y;
  gCurrentFrame = nullptr;
}

}  // namespace

// A file of 16 bits a sample gives the device its 16-bit colour option: final
// 16-bit reads go through the intermediate stage, which carries the frame's
// tone curves as 14-bit tables on each sample's top 14 bits.
struct StageCase {
  const char* name;
  const char* image;
  bool rgb;
};

class IntermediateReadTest : public ScanTest, public ::testing::WithParamInterface<StageCase> {};

TEST_P(IntermediateReadTest, SixteenBitFramesTakeTheirToneCurves) {
  const StageCase& c = GetParam();
  SetDefault<int16_t>(gDefaults, kDefaultInputCmsMode, kInputColorNone);
  SetDefault(gDefaults, kDefaultZirGamma, 1.0);
  FrameRecord frame = OpenFrame(c.image, 16, c.rgb);
  ASSERT_TRUE(gSixteenBitColorOption);
  frame.colorMode = c.rgb ? kColorModeRgb : 0;
  ResetIntermediateState(1);
  ASSERT_TRUE(BuildIntermediateTables(&frame, CurrentGamma()));
  const int planes = c.rgb ? 3 : 1;
  std::vector<uint16_t> tables[3];
  for (int p = 0; p < planes; ++p) tables[p] = gIntermediate.outputTables16[p];
  FreeIntermediateState();

  const ExpectedImage expected = LoadExpected(c.image);
  const ScannedImage scanned = Scan(frame);
  EXPECT_FALSE(IsIntermediateOn());
  ASSERT_EQ(scanned.columns, static_cast<int32_t>(expected.width));
  ASSERT_EQ(scanned.planes, planes);
  int mismatches = 0;
  int changed = 0;
  for (int32_t y = 0; y < scanned.rows && mismatches < 5; ++y)
    for (int32_t x = 0; x < scanned.columns && mismatches < 5; ++x)
      for (int p = 0; p < planes; ++p) {
        const uint16_t sample = expected.At(x, y, p);
        const uint16_t want = static_cast<uint16_t>(tables[p][sample >> 2] << 2);
        changed += want != sample;
        if (scanned.At(x, y, p) != want) {
          ADD_FAILURE() << "at " << x << "," << y << " plane " << p << ": " << scanned.At(x, y, p) << " for " << want;
          ++mismatches;
        }
      }
  EXPECT_GT(changed, 0) << "the tone curves leave the samples as they are";
}

INSTANTIATE_TEST_SUITE_P(Kinds, IntermediateReadTest,
                         ::testing::Values(StageCase{"rgb16", "scan_rgb48", true},
                                           StageCase{"grey16", "scan_grey16", false}),
                         [](const ::testing::TestParamInfo<StageCase>& info) { return std::string(info.param.name); });

TEST_F(IntermediateReadTest, ANegativeIsReadWithoutInputColourManagement) {
  SetDefault<int16_t>(gDefaults, kDefaultInputCmsMode, kInputColorScannerProfiles);
  SetDefault(gDefaults, kDefaultNegativeMode, uint8_t{1});
  FrameRecord frame = OpenFrame("scan_rgb48", 16, true, 4);
  frame.colorMode = kColorModeRgb;
  ASSERT_TRUE(StartDeviceRead(&frame, false));
  EXPECT_EQ(GetDefault(gDefaults, kDefaultInputCmsMode), kInputColorNone);
  EXPECT_TRUE(IsIntermediateOn());
  EXPECT_EQ(frame.bitsPerChannel, 16);
  uint32_t made = 0;
  ReadDeviceLines(true, nullptr, 0, &made);
  EXPECT_EQ(GetDefault(gDefaults, kDefaultInputCmsMode), kInputColorScannerProfiles);
  EXPECT_FALSE(IsIntermediateOn());
}

// A grey frame of a colour image takes its grey from the grey channel choice:
// 0 the average of the three samples, 1-3 red, green or blue. 8-bit files are
// read through the reader (a neutral frame keeps the samples); final 16-bit
// grey frames of a 16-bit file go through the intermediate stage, which reads
// the three planes and reduces them before the grey tone curve.
struct GreyChoiceCase {
  const char* name;
  const char* image;
  int bits;
  uint8_t choice;
};

class GreyChannelChoiceTest : public ScanTest, public ::testing::WithParamInterface<GreyChoiceCase> {
 protected:
  void TearDown() override {
    gGreyChannelChoice = 0;
    ScanTest::TearDown();
  }
};

uint16_t GreyOf(const ExpectedImage& image, uint32_t x, uint32_t y, uint8_t choice) {
  if (choice >= 1 && choice <= 3) return image.At(x, y, choice - 1u);
  return static_cast<uint16_t>((image.At(x, y, 0) + image.At(x, y, 1) + image.At(x, y, 2) + 1) / 3);
}

TEST_P(GreyChannelChoiceTest, GreyComesFromTheChosenChannel) {
  const GreyChoiceCase& c = GetParam();
  SetDefault<int16_t>(gDefaults, kDefaultInputCmsMode, kInputColorNone);
  SetDefault(gDefaults, kDefaultZirGamma, 1.0);
  FrameRecord frame = OpenFrame(c.image, c.bits, false);
  frame.colorMode = 0;
  // A neutral master curve under the reflective gamma the 8-bit files are
  // taken to carry: 8-bit samples keep their values.
  SetDefault(gDefaults, kDefaultGammaReflective, 1.8);
  ToneBlock& master = frame.tone[0];
  master.outputLow = master.endLow = 0;
  master.outputHigh = master.endHigh = 256;
  std::vector<uint16_t> curve;
  if (c.bits == 16) {
    ASSERT_TRUE(gSixteenBitColorOption);
    ResetIntermediateState(1);
    ASSERT_TRUE(BuildIntermediateTables(&frame, CurrentGamma()));
    curve = gIntermediate.outputTables16[0];
    FreeIntermediateState();
  }
  gGreyChannelChoice = c.choice;
  const ExpectedImage expected = LoadExpected(c.image);
  ASSERT_EQ(expected.samplesPerPixel, 3u);
  const ScannedImage scanned = Scan(frame);
  EXPECT_FALSE(IsIntermediateOn());
  ASSERT_EQ(scanned.columns, static_cast<int32_t>(expected.width));
  ASSERT_EQ(scanned.rows, static_cast<int32_t>(expected.height));
  ASSERT_EQ(scanned.planes, 1);
  int mismatches = 0;
  for (int32_t y = 0; y < scanned.rows && mismatches < 5; ++y)
    for (int32_t x = 0; x < scanned.columns && mismatches < 5; ++x) {
      const uint16_t grey = GreyOf(expected, static_cast<uint32_t>(x), static_cast<uint32_t>(y), c.choice);
      const uint16_t want = c.bits == 16 ? static_cast<uint16_t>(curve[grey >> 2] << 2) : grey;
      if (scanned.At(x, y, 0) != want) {
        ADD_FAILURE() << "at " << x << "," << y << ": " << scanned.At(x, y, 0) << " for " << want;
        ++mismatches;
      }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Choices, GreyChannelChoiceTest,
    ::testing::Values(GreyChoiceCase{"average8", "scan_small_rgb24", 8, 0},
                      GreyChoiceCase{"red8", "scan_small_rgb24", 8, 1},
                      GreyChoiceCase{"green8", "scan_small_rgb24", 8, 2},
                      GreyChoiceCase{"blue8", "scan_small_rgb24", 8, 3},
                      GreyChoiceCase{"average16", "scan_rgb48", 16, 0}, GreyChoiceCase{"red16", "scan_rgb48", 16, 1},
                      GreyChoiceCase{"green16", "scan_rgb48", 16, 2}, GreyChoiceCase{"blue16", "scan_rgb48", 16, 3}),
    [](const ::testing::TestParamInfo<GreyChoiceCase>& info) { return std::string(info.param.name); });

// The stage's read of a grey frame of a colour negative puts the replaced
// colour-management mode back after its last band, not only on a finish.
TEST_F(GreyChannelChoiceTest, TheLastBandRestoresTheColourManagementMode) {
  SetDefault<int16_t>(gDefaults, kDefaultInputCmsMode, kInputColorScannerProfiles);
  SetDefault(gDefaults, kDefaultNegativeMode, uint8_t{1});
  gGreyChannelChoice = 2;
  FrameRecord frame = OpenFrame("scan_rgb48", 16, false, 4);
  frame.colorMode = 0;
  ASSERT_TRUE(StartDeviceRead(&frame, false));
  EXPECT_EQ(GetDefault(gDefaults, kDefaultInputCmsMode), kInputColorNone);
  ASSERT_TRUE(IsIntermediateOn());
  std::vector<uint16_t> lines(size_t{frame.scanPixelWidth} * frame.scanPixelHeight);
  uint32_t total = 0;
  for (int guard = 0; guard < 100 && IsIntermediateOn(); ++guard) {
    uint32_t made = 0;
    ASSERT_TRUE(ReadDeviceLines(false, reinterpret_cast<uint8_t*>(lines.data() + size_t{total} * frame.scanPixelWidth),
                                frame.scanPixelHeight - total, &made));
    total += made;
  }
  EXPECT_EQ(total, frame.scanPixelHeight);
  EXPECT_FALSE(IsIntermediateOn());
  EXPECT_EQ(GetDefault(gDefaults, kDefaultInputCmsMode), kInputColorScannerProfiles);
}
