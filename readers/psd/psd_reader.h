// The reader of layered-editor PSD files: the flattened composite image of a
// greyscale or RGB file with 8 or 16 bits per channel, raw or PackBits rows,
// and its image resources (resolution, ICC profile, thumbnails).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "readers/image_file_reader.h"
#include "readers/psd/psd_file.h"
#include "readers/psd/psd_format.h"

class PsdReader : public ImageFileReader {
 public:
  PsdReader(const char* path, bool reducedMode);
  ~PsdReader() override;

  bool ReadLines(void* bitmap, uint8_t* bits, int32_t width, int32_t height, int32_t rowBytes,
                 int32_t pixelBytes) override;
  bool IsHighBitDepth() override;
  int16_t ReadHeader(ImageFileInfo* info) override;
  int16_t StartReading(uint32_t bandBytes) override;
  int16_t ReadLineSamples(uint32_t line, uint32_t firstColumn, int channel, void* buffer,
                          int32_t* count) override;
  void FinishReading() override;
  std::vector<uint8_t> ReadImageResource(uint16_t resourceId, uint8_t* name) override;

  // A copy of the data of the first block with the id among resource blocks
  // held in memory (empty when absent); name receives its length-prefixed name.
  virtual std::vector<uint8_t> FindImageResource(uint16_t resourceId, const uint8_t* blocks, uint32_t length,
                                                 uint8_t* name);

 private:
  void LoadBand(uint32_t firstLine);
  void ReadResolutionAndProfile();

  PsdHeader header_{};
  uint16_t samplesPerPixel_ = 0;
  uint32_t xResolution_ = 72;
  uint32_t yResolution_ = 72;
  bool headerValid_ = false;
  PsdSections sections_;
  PsdRowTables rowTables_;

  bool reading_ = false;
  uint32_t bandRows_ = 0;
  uint32_t bandFirstLine_ = 0;
  uint32_t bandLastLine_ = 0;
  size_t planeBytes_ = 0;
  std::vector<uint8_t> band_;  // planar: each channel's band rows
  std::vector<uint8_t> packedRow_;
};
