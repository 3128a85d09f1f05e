// Cancelling a writer through the progress window's cancel flag (what its
// Cancel button and the job manager's Stop set): during the bands, and during
// the passes of a multi-scan.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/progress/progress_window.h"
#include "output/multi_scan.h"
#include "output/output_names.h"
#include "output/tiff_file_writer.h"
#include "output/tests/writer_test_support.h"
#include "session/device_read.h"
#include "session/device_state.h"
#include "session/scan_read.h"
#include "session/device_layer.h"

namespace {

class WriterCancelTest : public WriterTest {
 protected:
  void TearDown() override {
    SetProgressCancelled(false);
    SetPassDeviceRead(nullptr);
    WriterTest::TearDown();
  }
};

TEST_F(WriterCancelTest, ACancelInTheBandsFailsWithoutEnd) {
  FrameRecord frame = OpenFrame("scan_small_rgb24", 8, true);
  frame.quarterTurns = 1;
  uint8_t cancelled = 0;
  {
    RawTestWriter writer(Scratch("out.raw"), Scratch("first.raw"));
    writer.afterWrite = [](int32_t writes) {
      if (writes == 1) SetProgressCancelled(true);
    };
    EXPECT_TRUE(Write(writer, frame, &cancelled));
    EXPECT_FALSE(writer.Ended());
    // The band after the cancel is the last; the rows left are padded.
    int32_t rows = 0;
    for (int32_t written : writer.processedRows) rows += written;
    EXPECT_EQ(rows, frame.scanPixelHeight);
  }
  EXPECT_EQ(cancelled, 1);
  EXPECT_FALSE(FileExists(Scratch("out.raw").c_str()));
  EXPECT_FALSE(FileExists(Scratch("first.raw").c_str()));
}

// A TIFF writer whose user cancels after the first band.
class CancelledTiffWriter : public TiffFileWriter {
 protected:
  bool WriteProcessedLines(const uint8_t* buffer, uint64_t bytes, int32_t rows) override {
    SetProgressCancelled(true);
    return TiffFileWriter::WriteProcessedLines(buffer, bytes, rows);
  }
};

// A cancelled TIFF leaves neither its unfinished output nor its first-pass file.
TEST_F(WriterCancelTest, ACancelledTiffLeavesNoFile) {
  for (uint16_t turns : {uint16_t{0}, uint16_t{1}}) {
    SetProgressCancelled(false);
    ASSERT_TRUE(SaveOutputPath(Scratch("abbruch.tif").c_str()));
    FrameRecord frame = OpenFrame("scan_small_rgb24", 8, true);
    frame.quarterTurns = turns;
    gCurrentFrame = &frame;
    uint8_t cancelled = 0;
    {
      CancelledTiffWriter writer;
      EXPECT_TRUE(writer.Run(1, 1, &cancelled));
    }
    gCurrentFrame = nullptr;
    EXPECT_EQ(cancelled, 1);
    EXPECT_FALSE(FileExists(Scratch("abbruch.tif").c_str())) << turns;
    EXPECT_FALSE(FileExists(Scratch("abbruch0000.tif").c_str())) << turns;
  }
}

// The user cancels in the second pass: the start fails without an alert and
// no pass file stays.
uint32_t gReads = 0;
uint8_t CancellingRead(bool stop, uint8_t* out, uint32_t wanted, uint32_t* made) {
  if (++gReads == 4) SetProgressCancelled(true);
  return ReadDeviceScanLines(stop, out, wanted, made);
}
const PassDeviceRead kCancellingDevice = {StartDeviceRead, CancellingRead, CloseImageDevice};

TEST_F(WriterCancelTest, ACancelInTheMultiScanPassesLeavesNoPassFile) {
  gDeviceLayer.multiScan.offered = true;
  gDeviceLayer.multiScan.table[1].passCount = 2;
  SetPassDeviceRead(&kCancellingDevice);
  gReads = 0;
  FrameRecord frame = OpenFrame("scan_small_rgb24", 8, true);
  frame.multiScan = 1;
  uint8_t cancelled = 0;
  RawTestWriter writer(Scratch("out.raw"), Scratch("first.raw"));
  EXPECT_TRUE(Write(writer, frame, &cancelled));
  EXPECT_EQ(cancelled, 1);
  EXPECT_TRUE(writer.processedRows.empty());
  char folder[512] = "";
  GetTemporaryFolder(folder, sizeof folder);
  for (int n = 0; n < 2; ++n)
    EXPECT_FALSE(FileExists((std::string(folder) + "QB_Multi_Temp_" + std::to_string(n) + ".tif").c_str())) << n;
}

}  // namespace
