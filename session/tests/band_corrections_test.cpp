// The order of the correction and conversion steps for each kind of data,
// recorded by counting stand-ins of the colour, sharpening and output services.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "records/defaults_block.h"
#include "session/band_producer.h"
#include "session/band_services.h"
#include "session/scan_session.h"
#include "session/tests/recording_band_services.h"
#include "session/tests/scan_test_support.h"
#include "state/data_source_state.h"

namespace {

struct SequenceCase {
  const char* name;
  const char* image;
  int bits;
  bool rgb;
  uint8_t bitDepthChoice;  // > 0 with 16 bits: ZIR data
  uint8_t filterMode;
  uint8_t selectiveColorMode;  // 1: region selective colour, else region matrix
  uint8_t negative;
  int16_t inputCms;
  int16_t outputCms;
  uint8_t threeChannelOutput;  // 0: CMYK output
  std::vector<std::string> calls;
};

// Two rows, one read: the sharpening filter sees its first read.
const SequenceCase kSequences[] = {
    {"rgb16", "scan_rgb48", 16, true, 0, 1, 1, 1, 1, 0, 1,
     {"selective16", "selective16", "sharpenA(2)", "selective16+region"}},
    {"grey16", "scan_grey16", 16, false, 0, 1, 0, 1, 1, 0, 1, {"sharpenB(2)"}},
    {"rgb8_scanner_transform", "scan_rgb24", 8, true, 0, 1, 0, 1, 2, 0, 1,
     {"translate8", "translate8", "selective8", "selective8", "sharpenA(2)", "matrix8+region"}},
    {"rgb8_calibration_cube", "scan_rgb24", 8, true, 0, 4, 1, 0, 3, 0, 1,
     {"cube8", "cube8", "sharpenA(2)", "selective8+region"}},
    {"grey8", "scan_small_grey8", 8, false, 0, 1, 0, 0, 1, 0, 1, {"sharpenB(2)"}},
    {"grey8_unsharpened", "scan_small_grey8", 8, false, 0, 2, 0, 0, 1, 0, 1, {}},
    {"lineart", "scan_small_grey8", 1, false, 0, 1, 0, 1, 2, 0, 1, {}},
    {"zir", "scan_rgb48", 16, true, 1, 1, 1, 1, 3, 4, 1, {}},
    {"rgb8_lab_output", "scan_rgb24", 8, true, 0, 1, 0, 0, 1, 4, 1,
     {"matrix8+region", "matrix8+region", "lab8", "sharpenB(2)"}},
    // Filter mode 3 with Lab output: no sharpening at all. The resampler's
    // last call, which releases its held rows, brings no row.
    {"rgb8_lab_output_filter3", "scan_rgb24", 8, true, 0, 3, 0, 0, 1, 4, 1,
     {"matrix8+region", "matrix8+region", "lab8", "lab8"}},
    {"rgb16_output_transform", "scan_rgb48", 16, true, 0, 0, 0, 0, 1, 2, 1,
     {"matrix16+region", "matrix16+region", "output16", "output16"}},
    {"cmyk8_separation", "scan_rgb24", 8, true, 0, 0, 0, 0, 1, 3, 0,
     {"matrix8+region", "matrix8+region", "separate8", "separate8"}},
    {"cmyk16_lab_separation", "scan_rgb48", 16, true, 0, 0, 0, 0, 1, 5, 0,
     {"matrix16+region", "matrix16+region", "rgb16ToLab16", "separateLab16", "rgb16ToLab16", "separateLab16"}},
};

class BandCorrectionsTest : public ScanTest, public ::testing::WithParamInterface<SequenceCase> {};

TEST_P(BandCorrectionsTest, CallsInOrder) {
  const SequenceCase& c = GetParam();
  SetBandServices(&RecordingBandServices());
  SetDefault(gDefaults, kDefaultNegativeMode, c.negative);
  SetDefault(gDefaults, kDefaultInputCmsMode, c.inputCms);
  SetDefault(gDefaults, kDefaultOutputCmsMode, c.outputCms);
  SetDefault(gDefaults, kDefaultThreeChannelOutput, c.threeChannelOutput);
  SetDefault(gDefaults, kDefaultSeparationTablesInUse, uint8_t{1});
  FrameRecord frame = OpenFrame(c.image, c.bits, c.rgb, 2);
  frame.bitDepthChoice = c.bitDepthChoice;
  frame.filterMode = c.filterMode;
  frame.selectiveColorMode = c.selectiveColorMode;
  gRecordedCalls.clear();
  if (c.filterMode == 2 || c.filterMode == 3) {
    // The halved modes scan at twice the size.
    frame.scanPixelWidth = static_cast<uint16_t>(frame.scanPixelWidth * 2);
    frame.scanPixelHeight = 4;
  }
  frame.sharpenFlag = 0;  // one context row
  Scan(frame);
  // The region corrections take the rows the filter hands on: one of the two at the first read.
  EXPECT_EQ(gRecordedCalls, c.calls);
}

INSTANTIATE_TEST_SUITE_P(DataKinds, BandCorrectionsTest, ::testing::ValuesIn(kSequences),
                         [](const ::testing::TestParamInfo<SequenceCase>& info) { return info.param.name; });

using SharpenDelayTest = ScanTest;

TEST_F(SharpenDelayTest, FirstReadHandsOnFewerRowsAndTheLastMore) {
  SetBandServices(&RecordingBandServices());
  FrameRecord frame = OpenFrame("scan_small_rgb24", 8, true);
  frame.filterMode = 1;
  frame.sharpenFlag = 1;  // two context rows
  gRecordedCalls.clear();
  const ScannedImage scanned = Scan(frame);
  std::vector<std::string> sharpened;
  for (const std::string& call : gRecordedCalls)
    if (call.rfind("sharpenA", 0) == 0) sharpened.push_back(call);
  // Reads of 10, 10 and 2 rows hand on 8, 10 and 4.
  EXPECT_EQ(sharpened, (std::vector<std::string>{"sharpenA(10)", "sharpenA(10)", "sharpenA(2)"}));
  ASSERT_EQ(scanned.bandHeights.size(), 1u);
  EXPECT_EQ(scanned.bandHeights[0], 22);
}

}  // namespace
