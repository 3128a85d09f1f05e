// The image-file writers: one frame becomes one file. The base class reads
// the frame from the device band by band, puts each band through the same
// corrections a transfer gets, hands the rows to the concrete format, and at
// the end lets it finish the file; a frame that is mirrored or turned is
// written in frame order into a first-pass file and reoriented block by block
// into the output.
#pragma once

#include <cstdint>

#include "color/color_module.h"
#include "foundation/file_io.h"
#include "foundation/geometry.h"
#include "foundation/memory.h"
#include "output/orientation_table.h"
#include "output/writer_progress.h"

enum WriterKind : int16_t { kWriterTiff = 1, kWriterEpsDcs = 2, kWriterJpeg = 3 };

enum : uint32_t {
  kMirrorTitleString = 16016,      // "Bild spiegeln..."
  kTurnTitleString = 16017,        // "Bild drehen..."
  kWriteFilesTitleString = 16021,  // "Datei(en) erzeugen"
  kNoRoomString = 216,             // "Zu wenig Platz auf dem Laufwerk"
};

// The second pass moves blocks of at most this many bytes.
constexpr uint32_t kCopyBlockBytes = 1048576;

// A block of the second pass: columns [firstColumn, firstColumn + columns)
// of rows [firstRow, firstRow + rows) of the first-pass file.
struct CopyBlock {
  int32_t firstRow;
  int32_t rows;
  int32_t firstColumn;
  int32_t columns;
};

class ImageFileWriter {
 public:
  ImageFileWriter() = default;
  virtual ~ImageFileWriter() = default;
  ImageFileWriter(const ImageFileWriter&) = delete;
  ImageFileWriter& operator=(const ImageFileWriter&) = delete;

  // Begin, ProcessLines and End; failed (true) unless all three succeeded.
  // cancelled, when given, receives the cancel flag.
  bool Run(int16_t index, int16_t count, uint8_t* cancelled);

 protected:
  virtual bool Begin();
  // Makes the output (and any temporary file); false: no room or no file.
  virtual bool OpenOutput() { return true; }
  virtual bool WriteOutputHead() { return true; }
  virtual bool ProcessLines();
  virtual bool End();
  virtual bool FinishOutput() { return true; }
  virtual bool WriteOutput(const PanePreview&) { return true; }
  // Copies the first-pass file into the output, reoriented as the frame asks;
  // file n of `of` for the progress counter.
  virtual bool CopyLinesToOutput(FileHandle file, int32_t n, int32_t of);
  virtual uint32_t ProgressTitleId(bool mirror, bool rotate) const;
  // Gathers the block's pixels from the first-pass file (rows of whole
  // pixels, interleaved or of one plane) into buffer, rows one after another.
  virtual bool ReadBackLines(FileHandle file, const CopyBlock& block, uint8_t* buffer);
  // Reorients the block from `from` into `to` (the block's source is spoilt).
  virtual void ConvertLines(const CopyBlock& block, uint8_t* from, uint8_t* to);
  // Rows of `columns` pixels for the output file.
  virtual bool WriteOutputLines(const uint8_t*, uint64_t, int32_t /*rows*/, int32_t /*columns*/) { return true; }
  // Processed rows in frame order: the first pass.
  virtual bool WriteProcessedLines(const uint8_t*, uint64_t, int32_t /*rows*/) { return true; }

  // Bytes of one processed row: samples per pixel x columns x bits / 8, a
  // 1-bit row's last byte taken whole.
  uint64_t ProcessedRowBytes() const;
  // The output's size, turned when the frame is.
  int32_t OutputRows() const { return flags_->exchangeAxes ? columns_ : rows_; }
  int32_t OutputColumns() const { return flags_->exchangeAxes ? rows_ : columns_; }
  const WriterOrientation& Flags() const { return *flags_; }

  int16_t index_ = 0;
  int16_t count_ = 0;
  uint8_t cancelled_ = 0;
  uint8_t interleave_ = 0;
  uint8_t bitsPerChannel_ = 8;
  int16_t sampleFactor_ = 1;
  uint32_t orientation_ = 0;
  uint8_t orientationNeeded_ = 0;
  int32_t rows_ = 0;     // in frame order
  int32_t columns_ = 0;
  int32_t samplesPerPixel_ = 1;
  ColorProfileHandle profileHandle_ = nullptr;
  MemHandle profileData_ = nullptr;
  uint32_t profileSize_ = 0;
  int32_t bandRows_ = 0;
  uint32_t sourceRowBytes_ = 0;
  uint32_t scanRowBytes_ = 0;
  uint64_t imageBytes_ = 0;
  int32_t rowsRead_ = 0;
  int32_t rowsWritten_ = 0;
  uint16_t savedScanWidth_ = 0;
  uint16_t savedScanHeight_ = 0;
  int32_t windowRows_ = 0;  // descreen modes: source rows per band
  // The second pass's block limit; a format may take smaller blocks.
  uint32_t copyBlockLimit_ = kCopyBlockBytes;

 private:
  // Band and image sizes of the frame in frame order (rows_, columns_ and samplesPerPixel_ set).
  void ComputeSizes(int32_t channels, bool descreen);
  int32_t ProcessBand(uint8_t* band, int32_t rows);
  void DrawIntoPane(const uint8_t* band, int32_t rows);
  void WritePaddingRows();
  bool CopyBlocks(FileHandle file, int32_t n, int32_t of, uint8_t* first, uint8_t* second);
  void FreePipeline();

  const WriterOrientation* flags_ = &WriterOrientationRow(0);
  bool reductionMade_ = false;
  bool panePushed_ = false;
};

// The writer of a kind (1 TIFF, 2 EPS/DCS, 3 JPEG); null for any other kind
// or when there is no memory.
ImageFileWriter* CreateImageFileWriter(int16_t kind);
// Makes the writer of the kind, runs it and deletes it; failed (true) at once
// for an unknown kind.
bool WriteImageFile(int16_t kind, int16_t index, int16_t count, uint8_t* cancelled);
