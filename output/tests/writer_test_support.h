// What the writer tests share: the scan tests' images and frames, the texts
// the writers show, and a writer run over a frame with its output read back.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "output/tests/raw_test_writer.h"
#include "session/tests/scan_test_support.h"

class WriterTest : public ScanTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Runs the writer over the frame as the current frame; failed (true) or not.
  bool Write(ImageFileWriter& writer, FrameRecord frame, uint8_t* cancelled = nullptr);
  std::vector<uint8_t> ReadOutput(const std::string& path) const;
  // The samples of a written image, 1-bit samples as 0 or 1.
  static uint16_t SampleAt(const std::vector<uint8_t>& bytes, int32_t columns, int32_t spp, int32_t bits, int32_t x,
                           int32_t y, int32_t c);
};
