// The old 64-byte tone block becomes a version-1 block of today's layout.
#include <gtest/gtest.h>

#include <cstring>

#include "tone/tone_block.h"

namespace {

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
