// The file of decoded lines behind the JPEG reader: JPEG decodes only
// forwards, so each line is decoded once, written here and read back in any
// order. A 1300-byte header (the JPEG file's path in 256 bytes, then the
// reader's 1044-byte image information) is followed by one record of
// lineBytes per line. A finished file ends with a stamp of the JPEG file
// (size and write time) and of the corrections already applied to its lines
// (gamma tables, colour management): only such a file is complete, and the
// fixed file "~QBJ001.TMP" is reused by a later reader only when it is
// complete and its header and stamp match.
#pragma once

#include <cstdint>
#include <string>

#include "foundation/file_io.h"
#include "readers/jpeg/jpeg_temp_files.h"

constexpr uint32_t kDecodedLinesPathBytes = 256;
constexpr uint32_t kDecodedLinesInfoBytes = 1044;
constexpr uint32_t kDecodedLinesHeaderBytes = kDecodedLinesPathBytes + kDecodedLinesInfoBytes;
static_assert(kDecodedLinesHeaderBytes == 1300, "decoded-lines header");

// The fixed file's name in the temporary folder.
std::string FixedDecodedLinesPath();

struct DecodedLinesLayout {
  const char* sourcePath;
  const uint8_t* info;  // kDecodedLinesInfoBytes
  FileStamp stamp;
  uint64_t corrections;  // a key of every correction the lines carry
  uint32_t lineBytes;
  uint32_t lines;
};

class DecodedLinesFile {
 public:
  ~DecodedLinesFile() { Close(); }

  // A unique file, or the fixed one (reused when complete and matching,
  // else made anew). False when no file could be had with its header.
  bool Open(bool unique, const DecodedLinesLayout& layout);
  bool IsOpen() const { return file_ != nullptr; }
  bool IsComplete() const { return complete_; }

  // Lines are 1-based.
  bool WriteLine(uint32_t line, const void* samples);
  bool ReadLine(uint32_t line, void* samples) const;
  // Writes the stamp after the last line: the file is complete.
  bool MarkComplete();
  // Closes; only a complete fixed file stays on disk.
  void Close();

 private:
  uint64_t LineOffset(uint32_t line) const;

  FileHandle file_ = nullptr;
  std::string path_;
  bool unique_ = false;
  bool complete_ = false;
  FileStamp stamp_{};
  uint64_t corrections_ = 0;
  uint32_t lineBytes_ = 0;
  uint32_t lines_ = 0;
};
