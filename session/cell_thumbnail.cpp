#include "session/cell_thumbnail.h"

#include <cstring>

#include "readers/reader_errors.h"
#include "readers/reader_factory.h"
#include "session/overview_cells.h"
#include "session/overview_window.h"

namespace {

constexpr int16_t kThumbnailMode = 96;
constexpr int32_t kPixelsPerMetre = 7874;

}  // namespace

bool BuildThumbnail(const char* path, int32_t* width, int32_t* height, std::unique_ptr<ImageFileReader>* reader) {
  *reader = CreateImageFileReader(path, kThumbnailMode, false);
  // The header goes into a record of its own: the open device's header must
  // stay as it is while the overview draws other images.
  ImageFileInfo info = {};
  if (!*reader || !(*reader)->ImageReaderIsOpen() || (*reader)->ReadHeader(&info) != kReaderOk ||
      (*reader)->StartReading(100000) != kReaderOk) {
    reader->reset();
    return false;
  }
  *width = static_cast<int32_t>(info.width);
  *height = static_cast<int32_t>(info.height);
  return true;
}

bool GetCellThumbnail(int cell, CachedThumbnail* thumbnail) {
  if (cell < 1 || cell > static_cast<int>(gOverview.cells.size())) return false;
  const char* name = gOverview.cells[static_cast<size_t>(cell - 1)].name;
  if (LoadCachedThumbnail(gOverview.folder, name, thumbnail)) return true;

  char path[256];
  if (!GetOverviewImagePath(cell, path, true)) return false;
  int32_t width, height;
  std::unique_ptr<ImageFileReader> reader;
  if (!BuildThumbnail(path, &width, &height, &reader)) return false;
  CellRect fitted = FitThumbnailInCell(width, height);
  int32_t fittedWidth = fitted.right - fitted.left;
  int32_t fittedHeight = fitted.bottom - fitted.top;
  if (fittedWidth <= 0 || fittedHeight <= 0) return false;
  int32_t rowBytes = (fittedWidth * 3 + 3) & ~3;

  DibHeader& bitmap = thumbnail->bitmap;
  bitmap = DibHeader{};
  bitmap.size = sizeof(DibHeader);
  bitmap.width = fittedWidth;
  bitmap.height = -fittedHeight;  // top-down
  bitmap.planes = 1;
  bitmap.bitCount = 24;
  bitmap.sizeImage = static_cast<uint32_t>(rowBytes * fittedHeight);
  bitmap.xPelsPerMeter = bitmap.yPelsPerMeter = kPixelsPerMetre;
  thumbnail->pixels.assign(bitmap.sizeImage, 0);
  bool drawn =
      reader->ReadPreviewLines(nullptr, thumbnail->pixels.data(), fittedWidth, fittedHeight, rowBytes, 3);
  reader->FinishReading();
  reader.reset();
  if (!drawn) return false;
  StoreThumbnail(gOverview.folder, name, bitmap, thumbnail->pixels.data());
  return true;
}

bool BuildCellThumbnail(int cell, void*) {
  CachedThumbnail thumbnail;
  return GetCellThumbnail(cell, &thumbnail);
}
