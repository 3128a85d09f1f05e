#include "foundation/progress/session_values.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "foundation/progress/session_services.h"
#include "foundation/record_store.h"

namespace {

struct PaleCase {
  uint8_t channel, pale;
};
class PaleFace : public testing::TestWithParam<PaleCase> {};
TEST_P(PaleFace, MovesSeventyPercentTowardsWhite) { EXPECT_EQ(PaleChannel(GetParam().channel), GetParam().pale); }
INSTANTIATE_TEST_SUITE_P(Channels, PaleFace,
                         testing::Values(PaleCase{0, 178}, PaleCase{255, 255}, PaleCase{192, 236},
                                         PaleCase{212, 242}, PaleCase{128, 216}, PaleCase{254, 254}));

TEST(PaleFace, EveryChannelOfAColour) { EXPECT_EQ(PaleColor(0x00C0D4FFu), 0x00ECF2FFu); }

// What the colour management and the session settings answer.
bool gOutputIsRgb = true;
bool gHighBitIsRgb = false;

struct ModeCase {
  bool color;
  int32_t bits, mode;
  bool outputIsRgb, highBitIsRgb;
  uint32_t id;
};
class ColorModeNames : public testing::TestWithParam<ModeCase> {};
TEST_P(ColorModeNames, FollowTheTableInOrder) {
  SessionServices services;
  services.outputIsRgb = [] { return gOutputIsRgb; };
  services.highBitColorIsRgb = [] { return gHighBitIsRgb; };
  InstallSessionServices(services);
  gOutputIsRgb = GetParam().outputIsRgb;
  gHighBitIsRgb = GetParam().highBitIsRgb;
  EXPECT_EQ(ColorModeNameId(GetParam().color, GetParam().bits, GetParam().mode), GetParam().id);
  InstallSessionServices(SessionServices{});
}
INSTANTIATE_TEST_SUITE_P(Modes, ColorModeNames,
                         testing::Values(ModeCase{false, 1, 2, true, true, kLineArtString},
                                         ModeCase{false, 8, 2, true, true, kGrayString},
                                         ModeCase{false, 16, 4, true, true, kGrayString},
                                         ModeCase{true, 16, 4, true, true, kRgbString},
                                         ModeCase{true, 16, 4, true, false, kLabString},
                                         ModeCase{true, 8, 4, true, true, kLabString},
                                         ModeCase{true, 8, 2, true, false, kRgbString},
                                         ModeCase{true, 8, 2, false, false, kCmykString},
                                         ModeCase{true, 8, 3, true, false, kCmykString},
                                         ModeCase{true, 8, 5, true, false, kCmykString},
                                         ModeCase{true, 8, 1, false, false, kRgbString},
                                         ModeCase{true, 8, 0, false, false, kRgbString}));

TEST(ColorModeNames, WithoutColourManagementTheOutputStaysRgb) {
  EXPECT_EQ(ColorModeNameId(true, 8, 2), kRgbString);
}

class BatchCounter : public testing::Test {
 protected:
  void SetUp() override {
    path_ = std::string(testing::TempDir()) + "batch_counter_store.prf";
    std::remove(path_.c_str());
    store_ = OpenFileReadWrite(path_.c_str());
    ASSERT_NE(store_, nullptr);
  }
  void TearDown() override {
    CloseFile(store_);
    std::remove(path_.c_str());
  }
  uint32_t Counter() {
    uint32_t value = 0xDEADBEEF;
    EXPECT_TRUE(RecordStoreRead(store_, kBatchCounterType, kBatchCounterId, &value, sizeof value));
    return value;
  }

  std::string path_;
  FileHandle store_ = nullptr;
};

TEST_F(BatchCounter, ClearsTheCountAndKeepsTheHighHalf) {
  uint32_t value = 0x00070123;
  ASSERT_TRUE(RecordStoreAdd(store_, kBatchCounterType, kBatchCounterId, &value, sizeof value, "alt"));
  EXPECT_TRUE(ResetBatchCounterIn(store_));
  EXPECT_EQ(Counter(), 0x00070000u);
  uint32_t size = 0;
  char name[64];
  ASSERT_TRUE(RecordStoreSize(store_, kBatchCounterType, kBatchCounterId, &size));
  EXPECT_EQ(size, 4u);
  ASSERT_TRUE(RecordStoreNameById(store_, kBatchCounterType, kBatchCounterId, name));
  EXPECT_STREQ(name, "");
  EXPECT_EQ(RecordStoreCount(store_, kBatchCounterType), 1);
}

TEST_F(BatchCounter, AMissingRecordStaysMissing) {
  EXPECT_FALSE(ResetBatchCounterIn(store_));
  EXPECT_EQ(RecordStoreCount(store_, kBatchCounterType), 0);
}

// The application store as the session keeps it.
FileHandle gOpenStore = nullptr;
FileHandle gStoreToOpen = nullptr;
int gOpens = 0, gCloses = 0;

TEST_F(BatchCounter, OpensTheApplicationStoreOnlyForTheCall) {
  uint32_t value = 0x00010009;
  ASSERT_TRUE(RecordStoreAdd(store_, kBatchCounterType, kBatchCounterId, &value, sizeof value, ""));
  SessionServices services;
  services.appStore = [] { return gOpenStore; };
  services.openAppStore = [] {
    ++gOpens;
    return gStoreToOpen;
  };
  services.closeAppStore = [] { ++gCloses; };
  InstallSessionServices(services);

  gOpenStore = nullptr;
  gStoreToOpen = store_;
  ResetBatchCounter();
  EXPECT_EQ(Counter(), 0x00010000u);
  EXPECT_EQ(gOpens, 1);
  EXPECT_EQ(gCloses, 1);

  value = 0x00020005;
  ASSERT_TRUE(RecordStoreAdd(store_, kBatchCounterType, kBatchCounterId, &value, sizeof value, ""));
  gOpenStore = store_;
  ResetBatchCounter();
  EXPECT_EQ(Counter(), 0x00020000u);
  EXPECT_EQ(gOpens, 1);
  EXPECT_EQ(gCloses, 1);
  InstallSessionServices(SessionServices{});
}

}  // namespace
