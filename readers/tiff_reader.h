// The reader of uncompressed TIFF files, with its own small parser: it picks one
// image file directory, refuses what the line engine cannot read with an error id,
// and delivers lines from strips or planar tiles through a band buffer.
#pragma once

#include <cstdint>
#include <vector>

#include "readers/image_file_reader.h"
#include "readers/stored_word_tables.h"
#include "readers/tiff_directory.h"

class TiffReader : public ImageFileReader {
 public:
  TiffReader(const char* path, bool reducedMode);
  ~TiffReader() override;

  bool ReadLines(void* bitmap, uint8_t* bits, int32_t width, int32_t height, int32_t rowBytes,
                 int32_t pixelBytes) override;
  bool IsHighBitDepth() override;
  int16_t ReadHeader(ImageFileInfo* info) override;
  int16_t StartReading(uint32_t bandBytes) override;
  int16_t ReadLineSamples(uint32_t line, uint32_t firstColumn, int channel, void* buffer,
                          int32_t* count) override;
  void FinishReading() override;
  bool SupportsRawRead() override;
  // buffer holds height x row bytes: every line of the reduced subimage, packed.
  void ReadRawData(uint8_t* buffer) override;
  std::vector<uint8_t> ReadImageResource(uint16_t resourceId, uint8_t* name) override;

  // Bytes of one packed row: (width x samples per pixel x bits per sample + 7) / 8.
  uint32_t RowBytes() const;

 private:
  struct DataBlock {
    uint32_t offset;
    uint32_t byteCount;
  };

  // What the header parse found; replaced whole by every successful ReadHeader.
  struct Layout {
    uint32_t width = 0;
    uint32_t height = 0;
    uint16_t samplesPerPixel = 1;
    uint16_t bitsPerSample = 1;
    uint32_t photometric = 1;
    uint32_t planarConfiguration = 1;
    uint32_t compression = 1;
    uint32_t rowsPerStrip = 0;
    std::vector<DataBlock> strips;
    bool centimetreUnit = false;
    uint32_t xResolution = 1u << 16;  // 16.16 dots per inch
    uint32_t yResolution = 1u << 16;
    uint32_t orientation = 1;
    std::vector<uint8_t> description;
    bool stripLayout = true;
    uint32_t tileLength = 0;
    uint32_t tileWidth = 0;
    uint32_t tilesAcross = 0;
    uint32_t tilesDown = 0;
    std::vector<DataBlock> tiles;  // plane by plane, row by row
    char documentName[512] = {};
    char artist[512] = {};
  };

  // The tiles last read, one per plane; kept by this reader only and reset
  // whenever reading starts.
  struct TileCache {
    std::vector<uint8_t> buffer[4];
    int64_t tileNumber[4] = {-1, -1, -1, -1};
    bool shortRead[4] = {};
    void Reset();
  };

  void ChooseDirectory();
  void ParseDirectory(Layout* layout);
  int16_t BuildStripTable(Layout* layout) const;
  void BuildTileTable(Layout* layout) const;
  void CheckDataRanges(const Layout& layout) const;
  uint32_t ReadResolution(uint16_t tag, bool centimetres) const;
  void ReadTextField(uint16_t tag, char (&field)[512]) const;

  void LoadBand(uint32_t firstLine);
  bool LoadStripLine(uint32_t line, uint8_t* row) const;
  bool LoadTileLine(uint32_t line, uint8_t* row);
  bool FetchTile(uint32_t plane, uint32_t tileNumber);
  uint8_t* BandRow(uint32_t index);
  // Samples of a band of stored 16-bit words: n from firstColumn of the channel.
  int16_t DeliverStoredWords(const uint16_t* row, uint32_t firstColumn, int channel, int32_t n, bool greyMean,
                             void* buffer);

  TiffSource source_;
  TiffDirectory directory_;
  bool headerValid_ = false;
  Layout layout_;

  bool reading_ = false;
  std::vector<uint16_t> band_;  // 16-bit storage so that 16-bit samples are aligned
  std::vector<uint8_t> lineShort_;  // per band row: the load came up short
  uint32_t bandRows_ = 0;
  uint32_t bandFirstLine_ = 0;
  uint32_t bandLastLine_ = 0;
  // A band of 16-bit samples holds the words as the file stores them when no
  // colour correction needs the samples themselves: the byte swap, the gamma
  // map of its first bandMappedChannels_ channels and the output table are
  // then applied in one lookup as the samples are delivered.
  bool bandStored_ = false;
  int bandMappedChannels_ = 0;
  StoredWordTables wordTables_;
  std::vector<uint8_t> tileRow_;  // one image row, plane after plane
  TileCache tileCache_;
};
