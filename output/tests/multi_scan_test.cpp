// Multi-scan over a scripted device: the image file read through the device
// layer, each pass with its own offset, or passes of one constant sample.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/dialogs/testing/scoped_prompts.h"
#include "foundation/file_io.h"
#include "output/multi_scan.h"
#include "output/tests/writer_test_support.h"
#include "records/frame_record.h"
#include "session/device_layer.h"
#include "session/device_read.h"
#include "session/device_state.h"
#include "session/scan_read.h"
#include "state/data_source_state.h"

namespace {

// The scripted device: what each pass saw and what it adds.
struct Script {
  std::vector<uint8_t> focusModes;  // the frame's focus mode at each pass's start
  bool constant = false;            // passes of one sample value, else the image with an offset
  std::vector<uint16_t> values;     // the value (constant) or the offset of each pass
  int32_t failingPass = -1;         // this pass's start fails
  int32_t bits = 8;
  uint32_t rowSamples = 0, rows = 0, rowsMade = 0;
};
Script gScript;

bool ScriptedStart(FrameRecord* frame, bool preview) {
  gScript.focusModes.push_back(frame->focusMode);
  gScript.bits = frame->bitsPerChannel;
  gScript.rowSamples = (frame->colorMode == 2 ? 3u : 1u) * frame->scanPixelWidth;
  gScript.rows = frame->scanPixelHeight;
  gScript.rowsMade = 0;
  if (static_cast<int32_t>(gScript.focusModes.size()) - 1 == gScript.failingPass) {
    gDeviceErrorWord = kDeviceErrorFile;
    return false;
  }
  return gScript.constant || StartDeviceRead(frame, preview);
}

uint8_t ScriptedRead(bool stop, uint8_t* out, uint32_t wanted, uint32_t* made) {
  const uint16_t value = gScript.values[gScript.focusModes.size() - 1];
  uint8_t done;
  if (gScript.constant) {
    *made = std::min(wanted, gScript.rows - gScript.rowsMade);
    const size_t samples = size_t{*made} * gScript.rowSamples;
    if (gScript.bits == 16) std::fill_n(reinterpret_cast<uint16_t*>(out), samples, value);
    else std::fill_n(out, samples, static_cast<uint8_t>(value));
    gScript.rowsMade += *made;
    done = gScript.rowsMade >= gScript.rows;
  } else {
    done = ReadDeviceScanLines(stop, out, wanted, made);
    // The offset, where it keeps within the byte.
    for (size_t i = 0; i < size_t{*made} * gScript.rowSamples; ++i)
      if (out[i] <= 250) out[i] = static_cast<uint8_t>(out[i] + value);
  }
  return done;
}

bool ScriptedEnd() { return gScript.constant || CloseImageDevice(); }

const PassDeviceRead kScriptedDevice = {ScriptedStart, ScriptedRead, ScriptedEnd};

class MultiScanTest : public WriterTest {
 protected:
  void SetUp() override {
    WriterTest::SetUp();
    gScript = Script{};
    SetPassDeviceRead(&kScriptedDevice);
    // A device that offers multi-scan: pass mode 1 reads twice, mode 2 three times.
    gDeviceLayer.multiScan.offered = true;
    gDeviceLayer.multiScan.table[1].passCount = 2;
    gDeviceLayer.multiScan.table[2].passCount = 3;
  }
  void TearDown() override {
    SetPassDeviceRead(nullptr);
    EXPECT_EQ(PassFilesLeft(), 0) << "pass files left behind";
    WriterTest::TearDown();
  }
  static int PassFilesLeft() {
    int left = 0;
    char folder[512] = "";
    GetTemporaryFolder(folder, sizeof folder);
    for (int n = 0; n < 4; ++n) left += FileExists((std::string(folder) + "QB_Multi_Temp_" + std::to_string(n) + ".tif").c_str());
    return left;
  }
};

TEST_F(MultiScanTest, WhenAFrameMultiScans) {
  struct Case {
    bool offered, switchedOff;
    uint8_t bits, passMode;
    bool possible;
  };
  const Case cases[] = {
      {true, false, 8, 1, true},   {true, false, 16, 2, true}, {true, false, 1, 1, false},
      {true, false, 8, 0, false},  {false, false, 8, 1, false}, {true, true, 8, 1, false},
  };
  for (const Case& c : cases) {
    gDeviceLayer.multiScan.offered = c.offered;
    gDeviceLayer.multiScan.switchedOff = c.switchedOff;
    FrameRecord frame = {};
    frame.bitsPerChannel = c.bits;
    frame.multiScan = c.passMode;
    EXPECT_EQ(IsMultiScanPossible(frame), c.possible) << int(c.bits) << " bits, mode " << int(c.passMode);
  }
}

TEST_F(MultiScanTest, PassBuffersHoldABandAndAtLeast500000Bytes) {
  FrameRecord frame = {};
  frame.colorMode = 2;
  frame.bitsPerChannel = 8;
  frame.scanPixelWidth = 100;  // rows of 300 bytes, bands of 10
  EXPECT_EQ(PassBufferBytes(frame), 500000u);
  frame.bitsPerChannel = 16;
  frame.scanPixelWidth = 20000;  // rows of 120000 bytes
  EXPECT_EQ(PassBufferBytes(frame), 1200000u);
}

// The averages truncate: 100 and 101 give 100, 65535 and 65534 give 65534.
TEST_F(MultiScanTest, PassesAverageSampleBySample) {
  struct Case {
    int bits;
    std::vector<uint16_t> values;
    uint16_t average;
  };
  const Case cases[] = {{8, {100, 101}, 100}, {16, {65535, 65534}, 65534}, {8, {10, 20, 31}, 20}};
  for (const Case& c : cases) {
    gScript = Script{};
    gScript.constant = true;
    gScript.values = c.values;
    FrameRecord frame = OpenFrame("scan_small_grey8", c.bits, false);
    frame.multiScan = c.values.size() == 2 ? 1 : 2;
    RawTestWriter writer(Scratch("out.raw"), Scratch("first.raw"));
    ASSERT_FALSE(Write(writer, frame));
    EXPECT_EQ(gScript.focusModes.size(), c.values.size());
    const std::vector<uint8_t> bytes = ReadOutput(Scratch("out.raw"));
    ASSERT_EQ(bytes.size(), 37u * 23 * c.bits / 8);
    for (int32_t y = 0; y < 23; ++y)
      for (int32_t x = 0; x < 37; ++x) ASSERT_EQ(SampleAt(bytes, 37, 1, c.bits, x, y, 0), c.average) << x << "," << y;
  }
}

// Three passes of the image with offsets 0, 1 and 2 average to the image plus
// one; the frame focuses only at the first pass and is as it was afterwards.
TEST_F(MultiScanTest, TheWriterTakesTheAveragedImage) {
  gScript.values = {0, 1, 2};
  FrameRecord frame = OpenFrame("scan_small_rgb24", 8, true);
  const ExpectedImage expected = ReadStraight("scan_small_rgb24", frame);
  frame.multiScan = 2;
  frame.focusMode = 3;
  RawTestWriter writer(Scratch("out.raw"), Scratch("first.raw"));
  ASSERT_FALSE(Write(writer, frame));
  EXPECT_EQ(gScript.focusModes, (std::vector<uint8_t>{3, 0, 0}));
  EXPECT_EQ(gScanFrame.focusMode, 3);
  EXPECT_EQ(MultiScanPassCount(), 3);
  EXPECT_EQ(CurrentMultiScanPass(), 0);
  const std::vector<uint8_t> bytes = ReadOutput(Scratch("out.raw"));
  const int32_t columns = frame.scanPixelWidth;
  const int32_t rows = frame.scanPixelHeight;
  ASSERT_EQ(bytes.size(), size_t(columns) * rows * 3);
  for (int32_t y = 0; y < rows; ++y)
    for (int32_t x = 0; x < columns; ++x)
      for (int32_t c = 0; c < 3; ++c) {
        const uint16_t v = expected.At(x, y, c);
        ASSERT_EQ(SampleAt(bytes, columns, 3, 8, x, y, c), v <= 250 ? v + 1 : v) << x << "," << y << " " << c;
      }
}

// The transfer reads through the passes in place of its single device read.
TEST_F(MultiScanTest, TheTransferTakesTheAveragedImage) {
  gScript.values = {0, 2};
  FrameRecord frame = OpenFrame("scan_small_grey8", 8, false);
  const ExpectedImage expected = ReadStraight("scan_small_grey8", frame);
  frame.multiScan = 1;
  const ScannedImage scanned = Scan(frame);
  EXPECT_EQ(gScript.focusModes.size(), 2u);
  ASSERT_EQ(scanned.rows, 23);
  for (int32_t y = 0; y < 23; ++y)
    for (int32_t x = 0; x < 37; ++x) {
      const uint16_t v = expected.At(x, y, 0);
      ASSERT_EQ(scanned.At(x, y, 0), v <= 250 ? v + 1 : v) << x << "," << y;
    }
}

TEST_F(MultiScanTest, AFailingPassEndsTheStartAndLeavesNoPassFile) {
  gScript.values = {0, 1, 2};
  gScript.failingPass = 1;
  FrameRecord frame = OpenFrame("scan_small_rgb24", 8, true);
  frame.multiScan = 2;
  ScopedPrompts prompts;
  prompts.Reply(kAnswerOk);
  RawTestWriter writer(Scratch("out.raw"), Scratch("first.raw"));
  EXPECT_TRUE(Write(writer, frame));
  EXPECT_EQ(gScript.focusModes.size(), 2u);
  EXPECT_EQ(prompts.Asked(0).textId, 108u);
  EXPECT_EQ(prompts.Asked(0).text, "Fehler bei Scan Start.\n\nFehler in Datei.");
}

// A pass file that cannot be made: error 143 after "Fehler bei Scan Start.".
TEST_F(MultiScanTest, APassFileThatCannotBeMadeTellsSo) {
  char folder[512] = "";
  ASSERT_TRUE(GetTemporaryFolder(folder, sizeof folder));
  const std::string blocker = std::string(folder) + "QB_Multi_Temp_1.tif";
  ASSERT_NE(CreateFolder(blocker.c_str()), kFolderFailed);
  gScript.values = {0, 1};
  FrameRecord frame = OpenFrame("scan_small_rgb24", 8, true);
  frame.multiScan = 1;
  ScopedPrompts prompts;
  prompts.Reply(kAnswerOk);
  RawTestWriter writer(Scratch("out.raw"), Scratch("first.raw"));
  EXPECT_TRUE(Write(writer, frame));
  RemoveFolder(blocker.c_str());
  EXPECT_TRUE(gScript.focusModes.empty());
  EXPECT_EQ(prompts.Asked(0).text, "Fehler bei Scan Start.\n\nKann Datei nicht \xf6" "ffnen.");
}

}  // namespace
