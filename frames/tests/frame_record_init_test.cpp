// The initial values of a frame, read back at their stored byte offsets.
#include <gtest/gtest.h>

#include <cstring>

#include "frames/frame_record_init.h"
#include "frame_bytes.h"

namespace {

DefaultsBlock MakeDefaults(double qualityFactor) {
  DefaultsBlock d;
  std::memset(&d, 0, sizeof d);
  PutValueAt(&d, 0, qualityFactor);
  d.bytes[8] = 2;    // line-art dither
  d.bytes[11] = 4;   // fast scan
  d.bytes[12] = 5;   // fast prescan
  PutValueAt<int16_t>(&d, 32, 3);
  PutValueAt<int16_t>(&d, 34, 250);
  for (int i = 0; i < 9; ++i) d.bytes[46 + i] = static_cast<uint8_t>(30 + i);
  for (int i = 0; i < 6; ++i) d.bytes[55 + i] = static_cast<uint8_t>(1 + i);
  for (int i = 0; i < 36; ++i) d.bytes[61 + i] = static_cast<uint8_t>(i - 18);  // signed bytes
  PutValueAt<int16_t>(&d, 1462, 7);
  PutValueAt<int16_t>(&d, 1464, 249);
  PutValueAt<uint32_t>(&d, 2464, 2);
  for (int i = 0; i < 72; ++i) PutValueAt<int16_t>(&d, 2468 + 2 * i, static_cast<int16_t>(i * 3 - 100));
  d.bytes[3936] = 60;
  return d;
}

FrameInitInputs MakeInputs(const DefaultsBlock* defaults) {
  FrameInitInputs in = {};
  in.defaults = defaults;
  in.scanAreaWidth = 8.5;
  in.scanAreaHeight = 11.75;
  in.deviceFilterFlag = true;
  in.deviceFocusFlag = true;
  in.lampBrightnessDefault = 9;
  in.focusRect[0] = 4.0;
  in.focusRect[1] = 5.5;
  in.focusRect[2] = 0.01;
  in.focusRect[3] = 0.02;
  in.mirrorH = 1;
  in.mirrorV = 0;
  in.quarterTurns = 3;
  return in;
}

// A record full of a marker byte, so that untouched bytes show.
FrameRecord MarkedRecord() {
  FrameRecord r;
  std::memset(&r, 0xAB, sizeof r);
  return r;
}

TEST(InitFrameRecord, WritesTheTableAtItsOffsets) {
  const DefaultsBlock d = MakeDefaults(1.5);
  FrameRecord r = MarkedRecord();
  InitFrameRecordWith(&r, false, MakeInputs(&d));

  EXPECT_EQ(ValueAt<uint32_t>(&r, 0), 6u);
  EXPECT_EQ(ValueAt<uint32_t>(&r, 4), 88u);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(ValueAt<uint8_t>(&r, 8 + i), 1 + i);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(ValueAt<uint8_t>(&r, 14 + i), 0);
  for (int i = 0; i < 36; ++i) EXPECT_EQ(ValueAt<int16_t>(&r, 20 + 2 * i), i - 18) << "matrix " << i;
  EXPECT_EQ(ValueAt<uint16_t>(&r, 862), 200);
  EXPECT_EQ(ValueAt<uint16_t>(&r, 864), 200);
  EXPECT_EQ(ValueAt<uint8_t>(&r, 866), 100);
  EXPECT_EQ(ValueAt<uint8_t>(&r, 867), 100);
  EXPECT_EQ(ValueAt<double>(&r, 880), 0.0);
  EXPECT_EQ(ValueAt<double>(&r, 888), 0.0);
  EXPECT_EQ(ValueAt<double>(&r, 896), 8.5);
  EXPECT_EQ(ValueAt<double>(&r, 904), 11.75);
  EXPECT_EQ(ValueAt<double>(&r, 912), 1.5);
  EXPECT_EQ(ValueAt<int16_t>(&r, 920), 152);
  EXPECT_EQ(ValueAt<int16_t>(&r, 922), 228);
  EXPECT_EQ(ValueAt<uint8_t>(&r, 928), 8);
  EXPECT_EQ(ValueAt<uint32_t>(&r, 932), 2u);
  EXPECT_EQ(ValueAt<uint8_t>(&r, 936), 2);
  EXPECT_EQ(ValueAt<uint8_t>(&r, 937), 0);
  EXPECT_EQ(ValueAt<uint8_t>(&r, 938), 3);
  EXPECT_EQ(ValueAt<uint8_t>(&r, 940), 5);
  EXPECT_EQ(ValueAt<uint8_t>(&r, 941), 10);
  EXPECT_EQ(ValueAt<uint16_t>(&r, 942), 50);
  EXPECT_EQ(ValueAt<uint16_t>(&r, 944), 100);
  EXPECT_EQ(ValueAt<uint8_t>(&r, 948), 0);
  EXPECT_EQ(ValueAt<uint8_t>(&r, 949), 4);
  for (int i = 0; i < 9; ++i) EXPECT_EQ(ValueAt<uint8_t>(&r, 1432 + i), 30 + i);
  EXPECT_EQ(ValueAt<uint8_t>(&r, 1441), 0);
  EXPECT_EQ(ValueAt<uint8_t>(&r, 1445), 1);
  EXPECT_EQ(ValueAt<double>(&r, 1448), 4.0);
  EXPECT_EQ(ValueAt<double>(&r, 1456), 5.5);
  EXPECT_EQ(ValueAt<double>(&r, 1464), 0.01);
  EXPECT_EQ(ValueAt<double>(&r, 1472), 0.02);
  EXPECT_EQ(ValueAt<uint8_t>(&r, 1480), 1);
  EXPECT_EQ(ValueAt<uint8_t>(&r, 1481), 0);
  EXPECT_EQ(ValueAt<uint16_t>(&r, 1482), 3);
  EXPECT_EQ(ValueAt<uint8_t>(&r, 1484), 9);
  EXPECT_EQ(ValueAt<uint8_t>(&r, 1486), 0);
  EXPECT_EQ(ValueAt<uint8_t>(&r, 1487), 0);
  EXPECT_EQ(ValueAt<uint16_t>(&r, 1488), 50);
  EXPECT_EQ(ValueAt<uint16_t>(&r, 1490), 50);
  EXPECT_EQ(ValueAt<uint16_t>(&r, 1492), 100);
  EXPECT_EQ(ValueAt<uint16_t>(&r, 1494), 100);
  EXPECT_EQ(ValueAt<uint8_t>(&r, 1504), 0);
  EXPECT_EQ(ValueAt<uint8_t>(&r, 1505), 0);
  EXPECT_EQ(ValueAt<uint16_t>(&r, 1506), 0);
  EXPECT_EQ(ValueAt<uint8_t>(&r, 1508), 0) << "empty name";
  EXPECT_EQ(ValueAt<uint8_t>(&r, 1558), 0);
  EXPECT_EQ(ValueAt<uint8_t>(&r, 1559), 0);
  EXPECT_EQ(ValueAt<int32_t>(&r, 1560), 100 * 65536);
  EXPECT_EQ(ValueAt<int32_t>(&r, 1564), 100 * 65536);
  EXPECT_EQ(ValueAt<float>(&r, 1572), 0.5f);
  EXPECT_EQ(ValueAt<float>(&r, 1576), 100.0f);
  EXPECT_EQ(ValueAt<float>(&r, 1580), 100.0f);
  EXPECT_EQ(ValueAt<uint32_t>(&r, 1608), 2u);
  for (int i = 0; i < 72; ++i) EXPECT_EQ(ValueAt<int16_t>(&r, 1612 + 2 * i), i * 3 - 100) << "matrix " << i;
  EXPECT_EQ(ValueAt<uint8_t>(&r, 1756), 0) << "no mask";
  EXPECT_EQ(ValueAt<int16_t>(&r, 1820), 152);
  for (int k = 0; k < 4; ++k) {
    for (int i = 0; i < 10; ++i) EXPECT_EQ(ValueAt<uint8_t>(&r, 1824 + 14 * k + i), 0);
    for (int i = 10; i < 14; ++i) EXPECT_EQ(ValueAt<uint8_t>(&r, 1824 + 14 * k + i), 0xAB) << "group tail kept";
  }
  EXPECT_EQ(ValueAt<uint8_t>(&r, 1934), 7);
  EXPECT_EQ(ValueAt<uint8_t>(&r, 1935), 60);
  for (int i = 0; i < 64; ++i) EXPECT_EQ(ValueAt<uint8_t>(&r, 1952 + i), 0);
  EXPECT_EQ(ValueAt<uint8_t>(&r, 2049), 0);

  // Bytes of the correction tools keep what the record held.
  for (size_t offset : {100, 868, 872, 924, 1442, 1485, 1496, 1556, 1568, 1880, 2016, 2050, 2079}) {
    EXPECT_EQ(ValueAt<uint8_t>(&r, offset), 0xAB) << "byte " << offset;
  }
}

TEST(InitFrameRecord, WritesEachToneBlock) {
  const DefaultsBlock d = MakeDefaults(1.5);
  FrameRecord r = MarkedRecord();
  InitFrameRecordWith(&r, false, MakeInputs(&d));
  const uint16_t gradation[7] = {0, 32, 64, 128, 192, 224, 256};
  for (size_t block : {952, 1072, 1192, 1312}) {
    SCOPED_TRACE(block);
    EXPECT_EQ(ValueAt<uint32_t>(&r, block), 1u);
    for (int i = 0; i < 7; ++i) {
      EXPECT_EQ(ValueAt<uint16_t>(&r, block + 4 + 2 * i), gradation[i]);
      EXPECT_EQ(ValueAt<uint16_t>(&r, block + 18 + 2 * i), gradation[i]);
    }
    EXPECT_EQ(ValueAt<uint16_t>(&r, block + 32), 0);
    EXPECT_EQ(ValueAt<uint16_t>(&r, block + 34), 256);
    EXPECT_EQ(ValueAt<uint16_t>(&r, block + 36), 3);
    EXPECT_EQ(ValueAt<uint16_t>(&r, block + 38), 250);
    EXPECT_EQ(ValueAt<double>(&r, block + 40), 1.0);
    for (int i = 48; i <= 58; ++i) EXPECT_EQ(ValueAt<uint8_t>(&r, block + i), 0) << "byte " << i;
    EXPECT_EQ(ValueAt<uint8_t>(&r, block + 59), 0xAB) << "not written";
    EXPECT_EQ(ValueAt<uint16_t>(&r, block + 60), 7);
    EXPECT_EQ(ValueAt<uint16_t>(&r, block + 62), 249);
    for (int i = 64; i < 80; ++i) EXPECT_EQ(ValueAt<uint8_t>(&r, block + i), 0) << "byte " << i;
    for (int i = 80; i < 120; ++i) EXPECT_EQ(ValueAt<uint8_t>(&r, block + i), 0xAB) << "byte " << i;
  }
}

TEST(InitFrameRecord, FromScratchStartsNeutralAndKeepsDeviceFields) {
  const DefaultsBlock d = MakeDefaults(1.5);
  FrameRecord r = MarkedRecord();
  InitFrameRecordWith(&r, true, MakeInputs(&d));
  for (int i = 0; i < 6; ++i) EXPECT_EQ(ValueAt<uint8_t>(&r, 8 + i), 0);
  EXPECT_EQ(ValueAt<uint8_t>(&r, 940), 0) << "filter mode";
  EXPECT_EQ(ValueAt<uint8_t>(&r, 949), 5) << "the fast-prescan flag";
  for (size_t block : {952, 1072, 1192, 1312}) {
    EXPECT_EQ(ValueAt<uint16_t>(&r, block + 36), 0);
    EXPECT_EQ(ValueAt<uint16_t>(&r, block + 38), 256);
    EXPECT_EQ(ValueAt<uint16_t>(&r, block + 60), 0);
    EXPECT_EQ(ValueAt<uint16_t>(&r, block + 62), 256);
  }
  // Scan resolutions, percents, focus, lamp, prescan setting and fixed scales stay.
  for (size_t offset : {862, 864, 866, 867, 1445, 1448, 1479, 1484, 1492, 1494, 1506, 1560, 1564}) {
    EXPECT_EQ(ValueAt<uint8_t>(&r, offset), 0xAB) << "byte " << offset;
  }
  EXPECT_EQ(ValueAt<uint16_t>(&r, 1482), 3) << "orientation is always copied";
}

struct QualityCase {
  double factor;
  int16_t resolution;
};

class OutputResolution : public ::testing::TestWithParam<QualityCase> {};

TEST_P(OutputResolution, IsTheQualityFactorTimesTheRulingTruncated) {
  const DefaultsBlock d = MakeDefaults(GetParam().factor);
  FrameRecord r = MarkedRecord();
  InitFrameRecordWith(&r, false, MakeInputs(&d));
  EXPECT_EQ(r.outputResolution, GetParam().resolution);
}

INSTANTIATE_TEST_SUITE_P(Factors, OutputResolution,
                         ::testing::Values(QualityCase{1.5, 228}, QualityCase{1.999, 303}, QualityCase{2.0, 304}));

}  // namespace
