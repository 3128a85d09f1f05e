// The JPEG writer: the pipeline's rows go into a temporary file
// ("...0000.jpg"); at the end they are compressed from there, reoriented when
// the frame is mirrored or turned, into the output file, with the 8-bit
// library or the 12-bit one for 16-bit frames, behind a Photoshop APP13
// marker with the thumbnail and the embedded profile's APP2 markers.
#pragma once

#include <cstdint>
#include <vector>

#include "output/image_file_writer.h"

struct JpegObject;
struct JpegLibrary;

enum : uint32_t { kCompressTitleString = 16024 };  // "Bild komprimieren..."

class JpegFileWriter : public ImageFileWriter {
 public:
  JpegFileWriter();
  ~JpegFileWriter() override;

 protected:
  bool OpenOutput() override;
  bool WriteProcessedLines(const uint8_t* buffer, uint64_t bytes, int32_t rows) override;
  bool WriteOutput(const PanePreview& preview) override;
  uint32_t ProgressTitleId(bool mirror, bool rotate) const override;
  bool WriteOutputLines(const uint8_t* buffer, uint64_t bytes, int32_t rows, int32_t columns) override;

  // The compressor's input from the session's pixel kind, size and resolution; false for a kind JPEG cannot take.
  bool SetupCompression();
  void WritePhotoshopMarker(const PanePreview& preview);
  void WriteIccMarkers();

 private:
  bool Compress(const PanePreview& preview);
  bool WriteMarker(int marker, const std::vector<uint8_t>& content);
  void CloseTemporary();

  const JpegLibrary* library_ = nullptr;
  JpegObject* compressor_ = nullptr;
  FileHandle outputFile_ = nullptr;
  FileHandle tempFile_ = nullptr;
  uint64_t tempAt_ = 0;
  int16_t precision_ = 8;
  uint32_t rowsTaken_ = 0;
  uint32_t imageRows_ = 0;
  std::vector<uint8_t> row_;
  bool tempMade_ = false;
  bool outputMade_ = false;
  bool finished_ = false;
};
