// The TIFF writer: one uncompressed, single-strip, little-endian TIFF per
// frame with the fixed header block, the embedded profile, the rows, a
// reduced preview as a second directory and the Photoshop resources (JPEG
// thumbnail, the source image's paths and IPTC record). A mirrored or turned
// frame goes through a first-pass file ("...0000.tif") that the second pass
// copies reoriented into the output.
#pragma once

#include <cstdint>
#include <vector>

#include "output/image_file_writer.h"
#include "output/tiff_layout.h"

// The room the file needs beside the image bytes.
constexpr uint64_t kTiffSpareBytes = 2098430;
// The free space a file asks for: the image bytes, twice when a first pass is reoriented, and the spare.
inline uint64_t TiffSpaceNeed(uint64_t imageBytes, bool reoriented) {
  return imageBytes * (reoriented ? 2 : 1) + kTiffSpareBytes;
}

class TiffFileWriter : public ImageFileWriter {
 public:
  TiffFileWriter();
  ~TiffFileWriter() override;

 protected:
  bool OpenOutput() override;
  bool WriteOutputHead() override;
  bool FinishOutput() override;
  bool WriteOutput(const PanePreview& preview) override;
  bool WriteOutputLines(const uint8_t* buffer, uint64_t bytes, int32_t rows, int32_t columns) override;
  bool WriteProcessedLines(const uint8_t* buffer, uint64_t bytes, int32_t rows) override;

  // The trailing parts, each appended at the end of the image's file.
  void AppendPreview(FileHandle file, const PanePreview& preview);
  void AppendThumbnail(FileHandle file, const PanePreview& preview);
  void AppendSourceResources(FileHandle file, uint16_t firstId, uint16_t lastId, uint16_t storedId);

  uint8_t header_[kTiffHeaderBlockSize] = {};

 private:
  // Header, profile and its pad byte at the start of the file.
  bool WriteHead(FileHandle file);
  // The bytes at the end of the file, unless they would pass the 4 GiB of classic TIFF.
  bool Append(FileHandle file, const uint8_t* bytes, uint64_t count, uint32_t* at);
  // Adds the group's bytes to the count of tag 34377; the first group also gives its offset.
  void CountResources(FileHandle file, uint32_t at, uint32_t bytes);
  uint32_t NextIfdField() const { return profileSize_ ? kTiffNextIfdWithProfileAt : kTiffNextIfdAt; }
  // 16-bit L*a*b* (photometric 8) stores a and b signed.
  bool LabWithSignedAb() const { return bitsPerChannel_ == 16 && photometric_ == 8; }

  FileHandle firstPassFile_ = nullptr;
  FileHandle outputFile_ = nullptr;
  uint64_t firstPassAt_ = 0;
  uint64_t outputAt_ = 0;
  uint32_t resourceBytes_ = 0;
  uint16_t photometric_ = 0;
  bool firstPassMade_ = false;
  bool outputMade_ = false;
  bool finished_ = false;
  std::vector<uint8_t> labRows_;
};
