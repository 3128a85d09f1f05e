#include "session/preview_files.h"

#include <cstring>
#include <vector>

#include "foundation/file_names.h"
#include "foundation/paths.h"
#include "foundation/pstring.h"
#include "foundation/settings_folders.h"
#include "session/device_layer.h"
#include "state/data_source_state.h"

bool PreviewFilePath(PreviewFileKind kind, char* path) {
  return PreviewFilePathFor(kind, gLightSourceFlag != 0, gOptionUnitFlag != 0 && DeviceHasOptionUnit(), gOptionSlot,
                            path);
}

bool PreviewFilePathFor(PreviewFileKind kind, bool transparent, bool optionUnit, int16_t slot, char* path) {
  char folder[kPathSize];
  if (!GetPreviewsFolder(folder)) return false;
  unsigned char name[256];
  switch (kind) {
    case kPreviewFile: MakePreviewFileName(name, transparent, optionUnit, slot); break;
    case kZoomFile: MakeZoomFileName(name, transparent, optionUnit, slot); break;
    case kPrescanFile: MakePrescanFileName(name, transparent, optionUnit, slot); break;
  }
  const char* text = PStrToC(name);
  if (std::strlen(folder) + std::strlen(text) >= static_cast<size_t>(kPathSize)) return false;
  std::strcpy(path, folder);
  std::strcat(path, text);
  return true;
}

namespace {

void DeleteFor(PreviewFileKind kind, bool transparent, bool optionUnit, int16_t slot) {
  char path[kPathSize];
  if (PreviewFilePathFor(kind, transparent, optionUnit, slot, path)) DeleteFileAt(path);
}

void DeleteCurrent(PreviewFileKind kind) {
  char path[kPathSize];
  if (PreviewFilePath(kind, path)) DeleteFileAt(path);
}

}  // namespace

void DeletePreviewFiles(bool previews, bool zoomFiles) {
  for (bool transparent : {false, true}) {
    for (int16_t slot = 0; slot <= 9; ++slot) {
      if (previews) DeleteFor(kPreviewFile, transparent, true, slot);
      if (zoomFiles) DeleteFor(kZoomFile, transparent, true, slot);
    }
    if (previews) {
      DeleteFor(kPreviewFile, transparent, false, 0);
      DeleteFor(kPrescanFile, transparent, false, 0);
    }
    if (zoomFiles) DeleteFor(kZoomFile, transparent, false, 0);
  }
}

void DeleteCurrentPreviewFiles() {
  DeleteCurrent(kPreviewFile);
  DeleteCurrent(kPrescanFile);
}

void DeletePreviewAuxFile() { DeleteCurrent(kZoomFile); }

bool PreviewFileExists(bool zoomFile) {
  char path[kPathSize];
  return PreviewFilePath(zoomFile ? kZoomFile : kPreviewFile, path) && FileExists(path);
}

namespace {

bool SidesInRange(uint64_t width, uint64_t height) {
  return width >= 1 && height >= 1 && width <= kMaxPreviewSide && height <= kMaxPreviewSide;
}

// The data fits one memory block and the file.
bool DataFits(uint64_t offset, uint64_t bytes, uint64_t fileSize) {
  return bytes <= kMaxPreviewDataBytes && offset + bytes <= fileSize;
}

}  // namespace

uint32_t PrescanRowBytes(const PrescanFileHeader& header) {
  if ((header.bits != 8 && header.bits != 16) || (header.channels != 1 && header.channels != 3)) return 0;
  if (!SidesInRange(header.width, header.height)) return 0;
  return header.width * header.channels * (header.bits / 8u);
}

bool PrescanHeaderFits(const PrescanFileHeader& header, uint64_t fileSize) {
  const uint32_t rowBytes = PrescanRowBytes(header);
  return header.version == 1 && rowBytes != 0 &&
         DataFits(sizeof(PrescanFileHeader), uint64_t{rowBytes} * header.height, fileSize);
}

bool PreviewStoreHeaderFits(const PreviewStoreHeader& header, uint64_t fileSize) {
  if (header.zero0 != 0 || header.zero1 != 0 || !SidesInRange(header.width, header.height)) return false;
  return DataFits(sizeof(PreviewStoreHeader), uint64_t{header.width} * header.height * 6, fileSize);
}

bool PreviewSizeFits(const PreviewFileSize& size, uint64_t rowsOffset, uint64_t fileSize) {
  if (!SidesInRange(size.width, size.height)) return false;
  return DataFits(rowsOffset, uint64_t{size.width} * 4 * size.height, fileSize);
}

bool PrescanFileWriter::Begin(FileHandle file, const PrescanFileHeader& header) {
  Close();
  file_ = file;
  rowBytes_ = PrescanRowBytes(header);
  height_ = header.height;
  rows_ = 0;
  return rowBytes_ != 0 && WriteBytesAt(file_, 0, &header, sizeof header);
}

bool PrescanFileWriter::AppendRows(const void* rows, uint32_t count) {
  if (!file_ || count == 0) return file_ != nullptr;
  if (count > height_ - rows_) count = height_ - rows_;
  const uint64_t offset = sizeof(PrescanFileHeader) + uint64_t{rows_} * rowBytes_;
  if (!WriteBytesAt(file_, offset, rows, count * rowBytes_)) return false;
  rows_ += count;
  return true;
}

bool PrescanFileWriter::FillToHeight() {
  if (!file_ || rows_ == 0 || rows_ >= height_) return file_ != nullptr;
  std::vector<uint8_t> last(rowBytes_);
  const uint64_t lastOffset = sizeof(PrescanFileHeader) + uint64_t{rows_ - 1} * rowBytes_;
  if (!ReadBytesAt(file_, lastOffset, last.data(), rowBytes_)) return false;
  while (rows_ < height_)
    if (!AppendRows(last.data(), 1)) return false;
  return true;
}

void PrescanFileWriter::Close() {
  CloseFile(file_);
  file_ = nullptr;
}
