// The transfer's image description in the session block.
#include <gtest/gtest.h>

#include <cstring>

#include "records/defaults_block.h"
#include "records/frame_record.h"
#include "session/session_image.h"
#include "state/data_source_state.h"
#include "state/module_state.h"

namespace {

// The session block is packed: its 32-bit fields are read as values (+field),
// never bound to references.
class SessionImageTest : public testing::Test {
 protected:
  void SetUp() override {
    ResetDataSourceState();
    gSessionStorage = SessionBlock{};
    gSession = &gSessionStorage;
    SetOutputFlags(1, 1);
  }
  void TearDown() override { gSession = nullptr; }

  static void SetOutputFlags(uint8_t threeChannelOutput, int16_t outputCmsMode) {
    SetDefault(gDefaults, kDefaultThreeChannelOutput, threeChannelOutput);
    SetDefault(gDefaults, kDefaultOutputCmsMode, outputCmsMode);
  }
};

struct LayoutCase {
  const char* name;
  int channelLayout;
  int bits;
  bool highBit;
  uint8_t threeChannelOutput;  // defaults byte 633
  int16_t outputCmsMode;       // defaults 1458
  int16_t code;
  int16_t samples;
  int16_t depth;
  int16_t bytesPerSample;
  int32_t rowBytes;            // for 10 columns
  int32_t planeBytes;          // for 10 columns and 3 rows
};

class PixelLayout : public SessionImageTest, public testing::WithParamInterface<LayoutCase> {};

TEST_P(PixelLayout, RowOfTheTable) {
  const LayoutCase& c = GetParam();
  SetOutputFlags(c.threeChannelOutput, c.outputCmsMode);
  gSession->columns = 10;
  gSession->rows = 3;
  SetSessionPixelLayout(c.channelLayout, c.bits, c.highBit);
  EXPECT_EQ(gSession->imageMode, c.code);
  EXPECT_EQ(gSession->planes, c.samples);
  EXPECT_EQ(gSession->depth, c.depth);
  EXPECT_EQ(gSession->columnBytes, c.bytesPerSample);
  EXPECT_EQ(gSession->firstPlane, 0);
  EXPECT_EQ(gSession->lastPlane, c.samples - 1);
  EXPECT_EQ(+gSession->rowBytes, c.rowBytes);
  EXPECT_EQ(+gSession->planeBytes, c.planeBytes);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PixelLayout,
    testing::Values(LayoutCase{"rgb16_high_bit", 2, 16, true, 0, 4, 11, 3, 16, 2, 60, 20},
                    LayoutCase{"rgb16_four_samples", 2, 16, false, 0, 4, 13, 4, 16, 2, 80, 20},
                    LayoutCase{"rgb16_alternative", 2, 16, false, 1, 4, 12, 3, 16, 2, 60, 20},
                    LayoutCase{"rgb16_plain", 2, 16, false, 1, 1, 11, 3, 16, 2, 60, 20},
                    LayoutCase{"rgb8_four_samples", 2, 8, false, 0, 4, 4, 4, 8, 1, 40, 10},
                    LayoutCase{"rgb8_alternative", 2, 8, false, 1, 4, 9, 3, 8, 1, 30, 10},
                    LayoutCase{"rgb8_plain", 2, 8, true, 1, 1, 3, 3, 8, 1, 30, 10},
                    LayoutCase{"grey1", 0, 1, false, 0, 4, 0, 1, 1, 1, 2, 6},
                    LayoutCase{"grey8", 0, 8, false, 0, 4, 1, 1, 8, 1, 10, 30},
                    LayoutCase{"grey16", 0, 16, true, 0, 4, 10, 1, 16, 2, 20, 60}),
    [](const testing::TestParamInfo<LayoutCase>& info) { return info.param.name; });

FrameRecord ScanFrame(uint16_t width, uint16_t height) {
  FrameRecord frame;
  std::memset(&frame, 0, sizeof frame);
  frame.scanPixelWidth = width;
  frame.scanPixelHeight = height;
  frame.outputResolution = 300;
  frame.colorMode = 2;
  frame.bitsPerChannel = 8;
  return frame;
}

TEST_F(SessionImageTest, SizeFromTheFramesScanPixels) {
  const FrameRecord frame = ScanFrame(640, 480);
  FillSessionImageInfo(&frame);
  EXPECT_EQ(gSession->columns, 640);
  EXPECT_EQ(gSession->rows, 480);
  EXPECT_EQ(gSession->imageMode, 3);
  EXPECT_EQ(+gSession->rowBytes, 3 * 640);
  EXPECT_EQ(+gSession->horizontalResolution, 300 * 65536);
  EXPECT_EQ(+gSession->verticalResolution, 300 * 65536);
  EXPECT_EQ(gSession->bandTop, 0);
  EXPECT_EQ(gSession->bandBottom, 0);
  EXPECT_EQ(gSession->bandLeft, 0);
  EXPECT_EQ(gSession->bandRight, 640);
}

struct TurnCase {
  uint16_t quarterTurns;
  uint8_t mirrorH;
  uint8_t filterMode;
  int16_t columns;
  int16_t rows;
  int16_t bandRight;
};

class SessionTurns : public SessionImageTest, public testing::WithParamInterface<TurnCase> {};

TEST_P(SessionTurns, ExchangedUnderOddTurnsHalvedInTheDoubledModes) {
  FrameRecord frame = ScanFrame(640, 480);
  frame.quarterTurns = GetParam().quarterTurns;
  frame.mirrorH = GetParam().mirrorH;
  frame.filterMode = GetParam().filterMode;
  frame.colorMode = 0;
  frame.bitsPerChannel = 16;
  FillSessionImageInfo(&frame);
  EXPECT_EQ(gSession->columns, GetParam().columns);
  EXPECT_EQ(gSession->rows, GetParam().rows);
  EXPECT_EQ(gSession->bandRight, GetParam().bandRight);
  EXPECT_EQ(gSession->imageMode, 10);
  EXPECT_EQ(+gSession->planeBytes, 2 * GetParam().columns * GetParam().rows);
}

INSTANTIATE_TEST_SUITE_P(Orientations, SessionTurns,
                         testing::Values(TurnCase{0, 0, 0, 640, 480, 640}, TurnCase{1, 0, 0, 480, 640, 640},
                                         TurnCase{2, 1, 0, 640, 480, 640}, TurnCase{3, 1, 0, 480, 640, 640},
                                         TurnCase{0, 0, 2, 320, 240, 320}, TurnCase{1, 0, 3, 240, 320, 320},
                                         TurnCase{0, 0, 1, 640, 480, 640}));

}  // namespace
