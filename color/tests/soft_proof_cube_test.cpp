// The soft-proof cube by the CMYK-side mode: the identity where there is
// nothing to proof, a proof ink as grey, and the separation tables' proof.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "color/cmyk_tables.h"
#include "color/color_cubes.h"
#include "color/color_management.h"
#include "color/color_profile_set.h"
#include "color/soft_proof_cube.h"
#include "records/defaults_block.h"
#include "state/data_source_state.h"

namespace {

MemHandle Filled(uint32_t size, const std::vector<uint8_t>& pattern) {
  MemHandle handle = NewMemHandle(size);
  for (uint32_t i = 0; i < size; ++i) handle->data[i] = pattern[i % pattern.size()];
  return handle;
}

class SoftProofCubeTest : public testing::Test {
 protected:
  void SetUp() override {
    ResetDataSourceState();
    SetDefault(gDefaults, kDefaultDisplayGamma, 1.8f);
    const float primaries[6] = {0.625f, 0.34f, 0.28f, 0.595f, 0.155f, 0.07f}, white[2] = {0.3127f, 0.329f};
    std::memcpy(DefaultsBytes(gDefaults, kDefaultPrimaries), primaries, sizeof primaries);
    std::memcpy(DefaultsBytes(gDefaults, kDefaultWhitePoint), white, sizeof white);
    gColorProfileSet.proofChannel = kProofAllInks;
    identity_.resize(kCube8Bytes);
    InitIdentityCube8(identity_.data());
  }
  void TearDown() override {
    DisposeMemHandle(cube_);
    FreeCmykConversionTables();
    gColorProfileSet.cmykMode = 0;
    gColorProfileSet.proofChannel = kProofAllInks;
    gIcmEnabled = 0;
  }
  std::vector<uint8_t> Build() {
    if (cube_) DisposeMemHandle(cube_);
    cube_ = nullptr;
    BuildSoftProofCube(&cube_);
    return cube_ ? std::vector<uint8_t>(cube_->data, cube_->data + kCube8Bytes) : std::vector<uint8_t>();
  }
  // Every node of one colour: its first node; empty when they differ.
  static std::vector<uint8_t> Uniform(const std::vector<uint8_t>& cube) {
    for (size_t i = 3; i < cube.size(); ++i)
      if (cube[i] != cube[i % 3]) return {};
    return {cube[0], cube[1], cube[2]};
  }
  MemHandle cube_ = nullptr;
  std::vector<uint8_t> identity_;
};

TEST_F(SoftProofCubeTest, WithoutAProofTheCubeIsTheIdentity) {
  for (uint16_t mode : {0, 1, 3, 4}) {
    gColorProfileSet.cmykMode = mode;
    EXPECT_EQ(Build(), identity_) << mode;
  }
  // Mode 2 needs colour management switched on.
  gColorProfileSet.cmykMode = 2;
  gIcmEnabled = 0;
  EXPECT_EQ(Build(), identity_);
  // Mode 5 without a separation table, or without its proof for all inks.
  gColorProfileSet.cmykMode = 5;
  EXPECT_EQ(Build(), identity_);
  gCmykConversionTables.forward = Filled(kCmykForwardBytes, {245, 215, 175, 135});
  EXPECT_EQ(Build(), identity_);
}

// Separation tables of one ink mix: a proof ink shows as the grey 255 - ink
// on every node; all inks give one colour, darkened by a darker black proof.
TEST_F(SoftProofCubeTest, SeparationTablesProofTheirInks) {
  gColorProfileSet.cmykMode = 5;
  gCmykConversionTables.forward = Filled(kCmykForwardBytes, {245, 215, 175, 135});
  const uint16_t lab[3] = {30000, 32768, 32768};
  uint8_t inks[4];
  SeparateLine16To8(lab, inks, 1, 3, 1, 4, 1);
  for (uint16_t ink = 0; ink < 4; ++ink) {
    gColorProfileSet.proofChannel = ink;
    const uint8_t grey = static_cast<uint8_t>(255 - inks[ink]);
    EXPECT_EQ(Uniform(Build()), (std::vector<uint8_t>{grey, grey, grey})) << ink;
  }
  gColorProfileSet.proofChannel = kProofAllInks;
  std::vector<uint8_t> reverse(kCmykReverseBytes);
  for (uint32_t i = 0; i < kCmykReverseGridBytes; i += 3) {
    reverse[i] = 180;
    reverse[i + 1] = 150;
    reverse[i + 2] = 110;
  }
  const std::vector<uint8_t> shades[2] = {{255, 128, 128}, {128, 128, 128}};  // white, mid grey black
  std::vector<uint8_t> colours[2];
  for (int s = 0; s < 2; ++s) {
    for (uint32_t v = 0; v < 256; ++v) std::memcpy(&reverse[kCmykReverseGridBytes + 3 * v], shades[s].data(), 3);
    DisposeMemHandle(gCmykConversionTables.reverse);
    gCmykConversionTables.reverse = Filled(kCmykReverseBytes, {0});
    std::memcpy(gCmykConversionTables.reverse->data, reverse.data(), reverse.size());
    colours[s] = Uniform(Build());
    ASSERT_EQ(colours[s].size(), 3u) << s;
  }
  EXPECT_NE(colours[0][0], colours[0][2]) << "the proof of a coloured mix is not grey";
  for (int c = 0; c < 3; ++c) EXPECT_LT(colours[1][c], colours[0][c]) << c;
}

}  // namespace
