#include "output/tests/raw_test_writer.h"


RawTestWriter::RawTestWriter(const std::string& output, const std::string& firstPass, bool throughFirstPass,
                             uint32_t blockLimit)
    : outputPath_(output), firstPassPath_(firstPass), throughFirstPass_(throughFirstPass) {
  interleave_ = 1;
  copyBlockLimit_ = blockLimit;
}

RawTestWriter::~RawTestWriter() {
  CloseFile(output_);
  CloseFile(firstPass_);
  DeleteFileAt(firstPassPath_.c_str());
  if (!ended_) DeleteFileAt(outputPath_.c_str());
}

bool RawTestWriter::OpenOutput() {
  if (failOpen) return false;
  output_ = CreateFileForWriting(outputPath_.c_str());
  if (TwoPasses()) {
    firstPass_ = CreateFileForWriting(firstPassPath_.c_str());
    firstPassMade_ = firstPass_ != nullptr;
  }
  return output_ && (firstPass_ || !TwoPasses());
}

bool RawTestWriter::FinishOutput() { return !TwoPasses() || CopyLinesToOutput(firstPass_, index_, count_); }

bool RawTestWriter::End() {
  ended_ = ImageFileWriter::End();
  // The finished file, open to others.
  CloseFile(output_);
  output_ = nullptr;
  return ended_;
}

bool RawTestWriter::ReadBackLines(FileHandle file, const CopyBlock& block, uint8_t* buffer) {
  blocks.push_back(block);
  return ImageFileWriter::ReadBackLines(file, block, buffer);
}

bool RawTestWriter::WriteOutputLines(const uint8_t* buffer, uint64_t bytes, int32_t, int32_t) {
  const bool written = bytes == 0 || WriteBytesAt(output_, outputAt_, buffer, static_cast<uint32_t>(bytes));
  outputAt_ += bytes;
  return written;
}

bool RawTestWriter::WriteProcessedLines(const uint8_t* buffer, uint64_t bytes, int32_t rows) {
  processedRows.push_back(rows);
  if (afterWrite) afterWrite(static_cast<int32_t>(processedRows.size()));
  if (!TwoPasses()) return WriteOutputLines(buffer, bytes, rows, columns_);
  const bool written = bytes == 0 || WriteBytesAt(firstPass_, firstPassAt_, buffer, static_cast<uint32_t>(bytes));
  firstPassAt_ += bytes;
  return written;
}
