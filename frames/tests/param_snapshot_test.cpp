// Undo and redo by exchanging with the saved copy.
#include <gtest/gtest.h>

#include <cstring>

#include "frames/param_snapshot.h"

namespace {

struct Settings {
  FrameRecord frame;
  ToneBlock tone;
  uint8_t channelFlag;
  uint8_t activePoints[kActivePointCount];
};

void Fill(Settings* s, uint8_t value) { std::memset(s, value, sizeof *s); }

enum Variant { kPlain, kFull, kNoFlag };

struct VariantCase {
  Variant variant;
  bool coversChannelFlag;
  bool coversActivePoints;
};

class ParamSnapshot : public ::testing::TestWithParam<VariantCase> {
 protected:
  void SetUp() override {
    BindParamSnapshot(ParamSnapshotSources{&current_, &live_.tone, &live_.channelFlag, live_.activePoints});
  }
  void TearDown() override { BindParamSnapshot(ParamSnapshotSources{nullptr, nullptr, nullptr, nullptr}); }

  void Save() {
    switch (GetParam().variant) {
      case kPlain: SaveParamSnapshot(); break;
      case kFull: SaveParamSnapshotFull(); break;
      case kNoFlag: SaveParamSnapshotNoFlag(); break;
    }
  }
  void Swap() {
    switch (GetParam().variant) {
      case kPlain: SwapParamSnapshot(); break;
      case kFull: SwapParamSnapshotFull(); break;
      case kNoFlag: SwapParamSnapshotNoFlag(); break;
    }
  }

  Settings live_;
  FrameRecord* current_ = &live_.frame;
};

TEST_P(ParamSnapshot, UndoRestoresAndASecondSwapRedoes) {
  const VariantCase& c = GetParam();
  Fill(&live_, 1);
  Save();
  Fill(&live_, 2);  // the tool's change
  Swap();           // undo
  EXPECT_EQ(reinterpret_cast<uint8_t*>(&live_.frame)[1000], 1);
  EXPECT_EQ(live_.tone.contrast, 0x0101);
  EXPECT_EQ(live_.channelFlag, c.coversChannelFlag ? 1 : 2);
  EXPECT_EQ(live_.activePoints[6], c.coversActivePoints ? 1 : 2);
  Swap();           // redo
  Settings afterChange;
  Fill(&afterChange, 2);
  EXPECT_EQ(std::memcmp(&live_, &afterChange, sizeof live_), 0);
}

TEST_P(ParamSnapshot, FollowsTheCurrentFrame) {
  Fill(&live_, 1);
  Save();
  Fill(&live_, 2);
  FrameRecord other;
  std::memset(&other, 5, sizeof other);
  current_ = &other;  // another frame became current
  Swap();
  EXPECT_EQ(reinterpret_cast<uint8_t*>(&other)[0], 1);
  EXPECT_EQ(reinterpret_cast<uint8_t*>(&live_.frame)[0], 2) << "the former frame is not touched";
}

INSTANTIATE_TEST_SUITE_P(Variants, ParamSnapshot,
                         ::testing::Values(VariantCase{kPlain, true, false}, VariantCase{kFull, true, true},
                                           VariantCase{kNoFlag, false, false}));

TEST(FrameStateSnapshot, TwoSwapsLeaveTheStateAsAfterTheChange) {
  static FrameStateArea area;
  std::memset(&area, 3, sizeof area);
  BindFrameStateSnapshot(&area);
  SaveFrameStateSnapshot();
  area.defaults.bytes[100] = 9;
  area.toneOffsetLower[255] = 9;
  SwapFrameStateSnapshot();
  EXPECT_EQ(area.defaults.bytes[100], 3);
  EXPECT_EQ(area.toneOffsetLower[255], 3);
  SwapFrameStateSnapshot();
  EXPECT_EQ(area.defaults.bytes[100], 9);
  EXPECT_EQ(area.toneOffsetLower[255], 9);
  BindFrameStateSnapshot(nullptr);
}

}  // namespace
