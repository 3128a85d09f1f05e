// What the scan tests share: the generated images with their expected
// samples, a frame over a whole image, and a whole scan collected band by band
// into one image in the host's orientation.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "records/frame_record.h"
#include "records/session_block.h"
#include "session/tests/session_test_environment.h"

struct ExpectedImage {
  uint32_t width = 0, height = 0, samplesPerPixel = 0, bits = 0;
  std::vector<uint16_t> samples;  // row by row, pixel by pixel, sample by sample
  uint16_t At(uint32_t x, uint32_t y, uint32_t c) const { return samples[(size_t{y} * width + x) * samplesPerPixel + c]; }
};

// The scan as the host receives it: rows x columns pixels, planes samples a pixel.
struct ScannedImage {
  int32_t rows = 0, columns = 0, planes = 0, depth = 0;
  std::vector<uint16_t> samples;     // 1-bit samples as 0 or 1
  std::vector<int32_t> bandHeights;  // in the frame's rows
  uint16_t At(int32_t x, int32_t y, int32_t c) const { return samples[(size_t(y) * columns + x) * planes + c]; }
};

class ScanTest : public SessionTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  ExpectedImage LoadExpected(const std::string& name) const;
  // The frame's samples read straight through a reader of the image, with
  // the output tables that carry the frame's tone into 8-bit samples.
  ExpectedImage ReadStraight(const std::string& name, FrameRecord frame) const;
  // Opens the image as the device; a frame over all of it (rows: its first rows only).
  // 8-bit colour frames cover the image's even part, as the device sizes them.
  FrameRecord OpenFrame(const std::string& name, int bits, bool rgb, uint32_t rows = 0);
  // PrepareScan and RunScan until the null band.
  ScannedImage Scan(FrameRecord frame);

  SessionBlock session_ = {};
};
