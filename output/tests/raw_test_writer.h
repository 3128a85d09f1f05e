// A writer of raw rows for the tests of the framework: the processed rows go
// straight into the output file, or into a first-pass file that the second
// pass copies (reoriented) into the output. Its counters and the blocks of
// the second pass are open to the tests.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "output/image_file_writer.h"

class RawTestWriter : public ImageFileWriter {
 public:
  // throughFirstPass: every frame goes through the first-pass file, also one
  // that needs no reorienting. blockLimit: the second pass's block bytes.
  RawTestWriter(const std::string& output, const std::string& firstPass, bool throughFirstPass = false,
                uint32_t blockLimit = kCopyBlockBytes);
  ~RawTestWriter() override;

  int32_t Rows() const { return OutputRows(); }
  int32_t Columns() const { return OutputColumns(); }
  int32_t SamplesPerPixel() const { return samplesPerPixel_; }
  int32_t BandRows() const { return bandRows_; }
  uint32_t SourceRowBytes() const { return sourceRowBytes_; }
  uint32_t ScanRowBytes() const { return scanRowBytes_; }
  uint64_t ImageBytes() const { return imageBytes_; }
  bool FirstPassMade() const { return firstPassMade_; }
  bool Ended() const { return ended_; }
  uint32_t TitleId(bool mirror, bool rotate) const { return ProgressTitleId(mirror, rotate); }

  std::vector<CopyBlock> blocks;          // as the second pass read them
  std::vector<int32_t> processedRows;     // rows of each WriteProcessedLines
  bool failOpen = false;                  // OpenOutput answers false
  std::function<void(int32_t writes)> afterWrite;  // what the user does after each write

 protected:
  bool OpenOutput() override;
  bool FinishOutput() override;
  bool End() override;
  bool ReadBackLines(FileHandle file, const CopyBlock& block, uint8_t* buffer) override;
  bool WriteOutputLines(const uint8_t* buffer, uint64_t bytes, int32_t rows, int32_t columns) override;
  bool WriteProcessedLines(const uint8_t* buffer, uint64_t bytes, int32_t rows) override;

 private:
  bool TwoPasses() const { return orientationNeeded_ || throughFirstPass_; }

  std::string outputPath_, firstPassPath_;
  bool throughFirstPass_;
  FileHandle output_ = nullptr, firstPass_ = nullptr;
  uint64_t outputAt_ = 0, firstPassAt_ = 0;
  bool firstPassMade_ = false, ended_ = false;
};
