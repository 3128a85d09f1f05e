// The three files of the preview in the "Previews\" folder: the preview file
// ("QBprev", or "QBzoom" while zoomed) at 8 bits or with the 16-bit store,
// and the prescan file ("QBPrevL") of an oversampled prescan. Their headers
// come from outside: sizes that overflow or reach past the file's end are
// refused, and the caller makes a new prescan instead.
#pragma once

#include <cstddef>
#include <cstdint>

#include "foundation/file_io.h"
#include "foundation/geometry.h"

enum PreviewFileKind { kPreviewFile, kZoomFile, kPrescanFile };

// The file's path for the current light source and option slot; false
// without a "Previews\" folder.
bool PreviewFilePath(PreviewFileKind kind, char* path);
// The same for given keys: transparent or reflective, with the option unit's slot or without.
bool PreviewFilePathFor(PreviewFileKind kind, bool transparent, bool optionUnit, int16_t slot, char* path);

// Deletes, for both light sources, with previews the preview files (option
// slots 0-9 and without the option unit) and the prescan files (without the
// option unit), with zoomFiles the zoom files in the same pattern. Missing
// files and a missing folder are no fault.
void DeletePreviewFiles(bool previews, bool zoomFiles);
// The preview and prescan files of the current keys.
void DeleteCurrentPreviewFiles();
// The zoom file of the current keys.
void DeletePreviewAuxFile();
bool PreviewFileExists(bool zoomFile);

// The 8-bit preview file: (a zoom file's 32-byte frame rectangle,) u16
// height, u16 width, then the rows of the 32-bit preview.
constexpr uint32_t kZoomRectBytes = 32;
struct PreviewFileSize {
  uint16_t height;
  uint16_t width;
};
static_assert(sizeof(PreviewFileSize) == 4, "stored layout");

// The header of the preview file with the 16-bit store.
struct PreviewStoreHeader {
  uint32_t zero0;
  uint32_t zero1;
  uint16_t channels;  // 3
  uint16_t bits;      // 16
  uint32_t width;
  uint32_t height;
  uint32_t zero2;
  DRect prescanArea;
  DRect frameRect;
};
static_assert(sizeof(PreviewStoreHeader) == 88, "stored layout");
static_assert(offsetof(PreviewStoreHeader, width) == 12 && offsetof(PreviewStoreHeader, prescanArea) == 24 &&
                  offsetof(PreviewStoreHeader, frameRect) == 56,
              "stored layout");

// The header of the prescan file; the rows follow, each its planes one after
// another (green, red, blue at 8 bits; red, green, blue at 16).
struct PrescanFileHeader {
  uint32_t version;  // 1
  uint16_t channels;  // 3 colour, 1 grey
  uint16_t singleChannel;
  uint16_t bits;  // 8 or 16
  uint16_t reserved0;
  uint32_t width;
  uint32_t height;
  uint32_t reserved1;
  DRect prescanArea;
};
static_assert(sizeof(PrescanFileHeader) == 56, "stored layout");
static_assert(offsetof(PrescanFileHeader, bits) == 8 && offsetof(PrescanFileHeader, width) == 12 &&
                  offsetof(PrescanFileHeader, prescanArea) == 24,
              "stored layout");

// Preview sizes are kept in 16-bit rectangles.
constexpr uint32_t kMaxPreviewSide = 32767;
// The samples or rows of a file are read into one block.
constexpr uint64_t kMaxPreviewDataBytes = 0x7FFFFFFF;

// Bytes of one prescan row; 0 when the header's values are out of range.
uint32_t PrescanRowBytes(const PrescanFileHeader& header);
// True when the header's rows fit a file of the size, with no overflow.
bool PrescanHeaderFits(const PrescanFileHeader& header, uint64_t fileSize);
// The 16-bit layout: first two words 0, width and height at least 1, the samples inside the file.
bool PreviewStoreHeaderFits(const PreviewStoreHeader& header, uint64_t fileSize);
// The 8-bit layout behind its (zoom rectangle and) size words.
bool PreviewSizeFits(const PreviewFileSize& size, uint64_t rowsOffset, uint64_t fileSize);

// Writes a prescan file band by band and fills it up to its height with
// copies of the last row, also after a cancel.
class PrescanFileWriter {
 public:
  PrescanFileWriter() = default;
  PrescanFileWriter(const PrescanFileWriter&) = delete;
  PrescanFileWriter& operator=(const PrescanFileWriter&) = delete;
  ~PrescanFileWriter() { Close(); }

  // Takes the open file and writes the header; false on a short write.
  bool Begin(FileHandle file, const PrescanFileHeader& header);
  bool IsOpen() const { return file_ != nullptr; }
  // Appends rows (row bytes each) behind those written.
  bool AppendRows(const void* rows, uint32_t count);
  // Copies the last row written until the file holds the header's height.
  bool FillToHeight();
  uint32_t RowsWritten() const { return rows_; }
  void Close();

 private:
  FileHandle file_ = nullptr;
  uint32_t rowBytes_ = 0;
  uint32_t height_ = 0;
  uint32_t rows_ = 0;
};
