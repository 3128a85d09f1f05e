// The stored layout of a tone block inside the frame record, and the upgrade
// of the old 64-byte block.
#include <gtest/gtest.h>

#include <cstring>

#include "records/tone_block.h"
#include "tone/tests/tone_fixture.h"

namespace {

template <typename T>
T ReadAt(const void* record, size_t offset) {
  T value;
  std::memcpy(&value, static_cast<const uint8_t*>(record) + offset, sizeof value);
  return value;
}

TEST(ToneBlockLayout, FieldsLieAtTheirStoredOffsets) {
  ToneBlock block;
  std::memset(&block, 0, sizeof block);
  block.gradationX[0] = 0x1111;
  block.gradationY[0] = 0x2222;
  block.inputLow = 0x0101;
  block.inputHigh = 0x0202;
  block.outputLow = 0x0303;
  block.outputHigh = 0x0404;
  block.gammaFactor = 2.5;
  block.contrast = 1;
  block.lowerContrast = 5;
  block.shiftMode = 1;
  block.endLow = 0x0606;
  block.endHigh = 0x0707;
  block.fixedPointValues[0] = ToneFixedPointValue{12, 34};

  EXPECT_EQ(ReadAt<uint16_t>(&block, 4), 0x1111);
  EXPECT_EQ(ReadAt<uint16_t>(&block, 18), 0x2222);
  EXPECT_EQ(ReadAt<int16_t>(&block, 32), 0x0101);
  EXPECT_EQ(ReadAt<int16_t>(&block, 34), 0x0202);
  EXPECT_EQ(ReadAt<int16_t>(&block, 36), 0x0303);
  EXPECT_EQ(ReadAt<int16_t>(&block, 38), 0x0404);
  EXPECT_EQ(ReadAt<double>(&block, 40), 2.5);
  EXPECT_EQ(ReadAt<int16_t>(&block, 48), 1);
  EXPECT_EQ(ReadAt<int16_t>(&block, 56), 5);
  EXPECT_EQ(ReadAt<uint8_t>(&block, 58), 1);
  EXPECT_EQ(ReadAt<int16_t>(&block, 60), 0x0606);
  EXPECT_EQ(ReadAt<int16_t>(&block, 62), 0x0707);
  EXPECT_EQ(ReadAt<int16_t>(&block, 64), 12);
  EXPECT_EQ(ReadAt<int16_t>(&block, 66), 34);
}

TEST(ToneBlockLayout, FrameHoldsFourBlocksAndTheColourMode) {
  ToneFixture fixture(7);
  FrameRecord& frame = fixture.frame;
  for (int c = 0; c < 4; ++c) frame.tone[c].inputHigh = static_cast<int16_t>(200 + c);
  const size_t blocks[4] = {952, 1072, 1192, 1312};
  for (int c = 0; c < 4; ++c) EXPECT_EQ(ReadAt<int16_t>(&frame, blocks[c] + 34), 200 + c) << "block " << c;
  EXPECT_EQ(ReadAt<uint32_t>(&frame, 932), 7u);
}

TEST(ToneBlockLayout, NewFramesStartWithTheInitialPoints) {
  ToneFixture fixture;
  const uint16_t initial[7] = {0, 32, 64, 128, 192, 224, 256};
  for (const ToneBlock& block : fixture.frame.tone) {
    EXPECT_EQ(block.version, 1u);
    for (int p = 0; p < 7; ++p) {
      EXPECT_EQ(block.gradationX[p], initial[p]);
      EXPECT_EQ(block.gradationY[p], initial[p]);
    }
    EXPECT_EQ(block.inputLow, 0);
    EXPECT_EQ(block.inputHigh, 256);
  }
}

TEST(UpgradeToneBlock, CarriesTheOldFieldsAndClearsTheRest) {
  OldToneBlock old;
  for (int i = 0; i < 64; ++i) old.bytes[i] = static_cast<uint8_t>(0xA0 + i);
  ToneBlock block;
  std::memset(&block, 0xEE, sizeof block);
  UpgradeToneBlock(&old, &block);

  const uint8_t* bytes = reinterpret_cast<const uint8_t*>(&block);
  EXPECT_EQ(block.version, 1u);
  for (int i = 4; i < 59; ++i) EXPECT_EQ(bytes[i], old.bytes[i]) << "byte " << i;
  EXPECT_EQ(bytes[59], 0) << "reserved byte not carried over";
  for (int i = 60; i < 64; ++i) EXPECT_EQ(bytes[i], old.bytes[i]) << "byte " << i;
  for (int i = 64; i < 120; ++i) EXPECT_EQ(bytes[i], 0) << "fixed points and reserved bytes, byte " << i;
}

}  // namespace
