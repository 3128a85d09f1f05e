// The reader family of the data source's "scanner" files: every access to the
// image file goes through one ImageFileReader. The base class keeps the file, the
// per-channel lookup tables, the embedded profile and its colour transform, and
// does what all formats share; TiffReader, JpegReader and PsdReader read the formats.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "color/color_management.h"
#include "foundation/file_io.h"
#include "records/image_file_info.h"

class ImageFileReader {
 public:
  explicit ImageFileReader(const char* path);
  ImageFileReader(const char* path, bool reducedMode);
  ImageFileReader(const ImageFileReader&) = delete;
  ImageFileReader& operator=(const ImageFileReader&) = delete;

  // The virtual operations, in the family's slot order.

  // Draws a reduced copy of the whole image into a 24-bit blue, green, red buffer:
  // pixel (x, y) at bits + y * rowBytes + x * pixelBytes. bitmap is the caller's
  // bitmap handle (used by the thumbnail drawing).
  virtual bool ReadLines(void* bitmap, uint8_t* bits, int32_t width, int32_t height, int32_t rowBytes,
                         int32_t pixelBytes);
  virtual void ReleaseProfileData();
  virtual void ReleaseColorTransform();
  virtual bool CreateColorTransform();
  virtual ~ImageFileReader();
  virtual void SetOutputDepth(uint16_t bits);
  virtual bool IsHighBitDepth();
  // Output tables map a sample to a byte: 256 entries for 8-bit data, 16384 entries
  // (indexed by the sample >> 2) for 16-bit data. An empty table removes the channel's
  // table; channels 4 and above are ignored.
  virtual void SetOutputTable(std::vector<uint8_t> table, int channel);
  // Gamma tables hold 2^bits entries; an empty table leaves the channel without one.
  virtual void SetGammaTable(std::vector<uint16_t> table, uint32_t bits, int channel);
  // The channel's gamma table and its index bits, or null when it has none.
  virtual const std::vector<uint16_t>* GetGammaTable(uint32_t* bits, int channel);
  virtual int16_t ReadHeader(ImageFileInfo* info);
  virtual int16_t StartReading(uint32_t bandBytes);
  // line counts from 1, firstColumn from 0; count is clipped and the delivered
  // number written back. Samples of 16-bit data are 16-bit words at output depth 16;
  // everything else is delivered as bytes.
  virtual int16_t ReadLineSamples(uint32_t line, uint32_t firstColumn, int channel, void* buffer,
                                  int32_t* count);
  virtual void FinishReading();
  virtual bool SupportsRawRead();
  virtual void ReadRawData(uint8_t* buffer);
  // A copy of the image resource's data (empty when absent); name receives its
  // length-prefixed name (256 bytes) when given.
  virtual std::vector<uint8_t> ReadImageResource(uint16_t resourceId, uint8_t* name);
  virtual bool ReadPreviewLines(void* bitmap, uint8_t* bits, int32_t width, int32_t height, int32_t rowBytes,
                                int32_t pixelBytes);
  virtual bool ReadThumbnailLines(void* bitmap, uint8_t* bits, int32_t width, int32_t height,
                                  int32_t rowBytes, int32_t pixelBytes);
  virtual void GetProfileDescription(std::string* text);
  virtual ColorTransformHandle ColorTransform();
  // In place; strides are in samples.
  virtual bool CorrectLineColors(void* buffer, int32_t width, int32_t rows, int32_t channels, int32_t bits,
                                 int32_t rowStride, int32_t pixelStride, int32_t channelStride);
  virtual bool BuildGammaTables(uint32_t bits, int channels);
  // 16-bit samples through the gamma tables, in place; strides are in samples.
  virtual bool ConvertLines16(uint16_t* buffer, int32_t width, int32_t rows, int32_t channels, int32_t bits,
                              int32_t rowStride, int32_t pixelStride, int32_t channelStride);

  bool ImageReaderIsOpen() const { return file_ != nullptr; }
  // Grey scans of colour files: ReadLineSamples delivers the mean of the three samples.
  void SetGreyOutput(bool on) { greyOutput_ = on; }

 protected:
  // The reduced drawing that every format's ReadLines does over its own ReadLineSamples.
  bool DrawReducedImage(uint32_t sourceWidth, uint32_t sourceHeight, uint8_t* bits, int32_t width,
                        int32_t height, int32_t rowBytes, int32_t pixelBytes);
  // The channel's output table when it has at least the entries needed, else null.
  const uint8_t* OutputTable(int channel, size_t entries) const;
  // Whether CorrectLineColors changes lines of the channel count.
  bool CorrectsLineColors(int32_t channels) const;
  // How many leading channels ConvertLines16 maps for lines of this kind now.
  int ConvertibleChannels(int32_t channels, int32_t bits);
  // Entry s is what ConvertLines16 makes of the 16-bit sample s in the
  // channel: its gamma table interpolated once for every sample. Null when
  // the channel has no gamma table.
  const uint16_t* GammaSampleMap(int channel);
  // Changes whenever an output or gamma table is set, so that tables derived
  // from them know to rebuild.
  uint32_t TableGeneration() const { return tableGeneration_; }

  FileHandle file_ = nullptr;
  bool greyOutput_ = false;
  std::vector<uint8_t> outputTables_[4];
  std::vector<uint16_t> gammaTables_[4];
  uint32_t gammaTableBits_[4] = {};
  std::vector<uint16_t> gammaSampleMaps_[4];  // built on first use from gammaTables_
  uint32_t tableGeneration_ = 0;
  bool reducedMode_ = false;
  bool reducedFound_ = false;
  std::vector<uint8_t> profileData_;
  ColorTransformHandle colorTransform_ = nullptr;
  int16_t outputDepth_ = 8;
};
