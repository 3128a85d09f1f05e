// The reader of JPEG files with 8-bit or 12-bit samples. JPEG decodes only
// forwards, so each line is decoded once into a file of decoded lines, from
// which ReadLineSamples serves any line in any order. The ICC profile comes
// from APP2 markers, the image resources (thumbnails) from APP13.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "readers/image_file_reader.h"
#include "readers/jpeg/jpeg_decoded_lines.h"
#include "readers/jpeg/jpeg_glue.h"
#include "readers/jpeg/jpeg_icc_profile.h"

class JpegReader : public ImageFileReader {
 public:
  // targetSize 0 reads the full image and shows library errors to the user;
  // otherwise the image is decoded at the smallest power-of-two reduction
  // that is not smaller than targetSize in both dimensions.
  JpegReader(const char* path, uint16_t targetSize);
  ~JpegReader() override;

  bool ReadLines(void* bitmap, uint8_t* bits, int32_t width, int32_t height, int32_t rowBytes,
                 int32_t pixelBytes) override;
  void ReleaseProfileData() override;
  bool IsHighBitDepth() override;
  int16_t ReadHeader(ImageFileInfo* info) override;
  int16_t StartReading(uint32_t bandBytes) override;
  int16_t ReadLineSamples(uint32_t line, uint32_t firstColumn, int channel, void* buffer,
                          int32_t* count) override;
  void FinishReading() override;
  std::vector<uint8_t> ReadImageResource(uint16_t resourceId, uint8_t* name) override;

  // Appends one chunk of an ICC profile carried in APP2 markers.
  virtual void AddProfileChunk(const uint8_t* data, uint32_t size, uint8_t number, uint8_t count);

  uint16_t Precision() const { return precision_; }

 private:
  static void OnAppMarker(void* context, int marker, const uint8_t* data, uint32_t size);

  // A decompressor over the file with the marker processors, its header
  // read; null when the library failed.
  JpegObject* OpenDecoder();
  // Chooses the scale and computes the output size; false on a library error.
  bool SetOutputSize(JpegObject* decoder, uint32_t* denominator);
  void CloseDecoder();
  void Describe(const JpegDecodeInfo& decoded, uint32_t denominator, ImageFileInfo* info) const;
  uint64_t CorrectionsKey() const;
  bool DecodeForward(uint32_t lines);

  const JpegLibrary& Library() const { return JpegLibraryFor(precision_); }

  std::string path_;
  uint16_t targetSize_;
  uint16_t precision_ = 8;
  IccChunkAssembler iccChunks_;

  JpegObject* decoder_ = nullptr;  // live from StartReading to FinishReading
  bool reading_ = false;
  uint32_t width_ = 0;
  uint32_t height_ = 0;
  int components_ = 0;
  DecodedLinesFile decodedLines_;
  // Two rows of the tallest sampling blocks: the lines that may still hold data
  // decoded before the library found the end.
  static constexpr uint32_t kLinesAfterDataEnd = 32;
  uint32_t dataEndLine_ = 0;  // last line read after a single-scan file's data ran out; 0 while it lasts
  std::vector<uint8_t> decodeBuffer_;  // one interleaved line from the library
  std::vector<uint8_t> lineBuffer_;    // one planar line of the decoded-lines file
};
