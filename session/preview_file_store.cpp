// The preview buffers written to and read from their files. A file that does
// not read whole, or whose header does not fit it, gives no preview: the
// caller then makes a prescan.
#include <cstring>
#include <vector>

#include "foundation/paths.h"
#include "records/defaults_block.h"
#include "frames/orientation/preview_orientation.h"
#include "records/frame_record.h"
#include "session/device_state.h"
#include "session/frame_geometry.h"
#include "session/preview_files.h"
#include "session/preview_store.h"
#include "state/data_source_state.h"

namespace {

struct OpenFile {
  FileHandle file;
  explicit OpenFile(FileHandle f) : file(f) {}
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;
  ~OpenFile() { CloseFile(file); }
  uint64_t Size() const {
    uint64_t size = 0;
    return file && GetFileSize(file, &size) ? size : 0;
  }
};

PreviewFileKind CurrentPreviewKind() { return gPreviewZoomed ? kZoomFile : kPreviewFile; }

bool WriteEightBitLayout(FileHandle file, const DRect& frameRect) {
  uint64_t offset = 0;
  if (gPreviewZoomed) {
    if (!WriteBytesAt(file, 0, &frameRect, kZoomRectBytes)) return false;
    offset = kZoomRectBytes;
  }
  const PreviewFileSize size{static_cast<uint16_t>(GlobalDibHeight(gPreviewBaseDib)),
                             static_cast<uint16_t>(GlobalDibWidth(gPreviewBaseDib))};
  return WriteBytesAt(file, offset, &size, sizeof size) &&
         WriteBytesAt(file, offset + sizeof size, GlobalDibBits(gPreviewBaseDib), gPreviewBaseDib->sizeImage);
}

bool WriteStoreLayout(FileHandle file, const DRect& frameRect) {
  PreviewStoreHeader header{};
  header.channels = 3;
  header.bits = 16;
  header.width = static_cast<uint32_t>(GlobalDibWidth(gPreviewBaseDib));
  header.height = static_cast<uint32_t>(GlobalDibHeight(gPreviewBaseDib));
  header.prescanArea = gPrescanArea;
  header.frameRect = frameRect;
  return WriteBytesAt(file, 0, &header, sizeof header) &&
         WriteBytesAt(file, sizeof header, gPreviewStore->data, gPreviewStore->size);
}

}  // namespace

bool WritePreviewFile(const DRect& frameRect) {
  char path[kPathSize];
  if (!gPreviewDib || !gPreviewBaseDib || (gHighBitPreview && !gPreviewStore)) return false;
  if (!PreviewFilePath(CurrentPreviewKind(), path)) return false;
  FileHandle file = CreateFileForWriting(path);
  if (!file) return false;
  const bool written = gHighBitPreview ? WriteStoreLayout(file, frameRect) : WriteEightBitLayout(file, frameRect);
  CloseFile(file);
  if (!written) DeleteFileAt(path);
  return written;
}

bool ReadPreviewFile(GlobalDib* out, const DRect& frameRect) {
  *out = nullptr;
  char path[kPathSize];
  if (!PreviewFilePath(CurrentPreviewKind(), path)) return false;
  OpenFile in(OpenFileForReading(path));
  const uint64_t fileSize = in.Size();
  uint64_t offset = 0;
  if (gPreviewZoomed) {
    DRect stored;
    if (!ReadBytesAt(in.file, 0, &stored, kZoomRectBytes) || !IsDRectInside(frameRect, gPrescanArea)) return false;
    offset = kZoomRectBytes;
  }
  PreviewFileSize size;
  if (!ReadBytesAt(in.file, offset, &size, sizeof size) || !PreviewSizeFits(size, offset + sizeof size, fileSize))
    return false;
  GlobalDib dib = CreateGlobalDib(size.height, size.width, 32, true);
  if (!dib) return false;
  if (!ReadBytesAt(in.file, offset + sizeof size, GlobalDibBits(dib), dib->sizeImage)) {
    FreeGlobalDib(dib);
    return false;
  }
  *out = dib;
  return true;
}

bool ReadPreviewStoreFile(MemHandle* samples, int32_t* width, int32_t* height, const DRect& frameRect) {
  *samples = nullptr;
  char path[kPathSize];
  if (!PreviewFilePath(CurrentPreviewKind(), path)) return false;
  OpenFile in(OpenFileForReading(path));
  PreviewStoreHeader header;
  if (!ReadBytesAt(in.file, 0, &header, sizeof header) || !PreviewStoreHeaderFits(header, in.Size())) return false;
  if (gPreviewZoomed && !IsDRectInside(frameRect, header.prescanArea)) return false;
  MemHandle store = NewMemHandle(header.width * header.height * 6);
  if (!store) return false;
  if (!ReadBytesAt(in.file, sizeof header, store->data, store->size)) {
    DisposeMemHandle(store);
    return false;
  }
  *samples = store;
  *width = static_cast<int32_t>(header.width);
  *height = static_cast<int32_t>(header.height);
  return true;
}

bool LoadStoredPreview() {
  char path[kPathSize];
  if (!PreviewFilePath(kPrescanFile, path)) return false;
  OpenFile in(OpenFileForReading(path));
  PrescanFileHeader header;
  if (!ReadBytesAt(in.file, 0, &header, sizeof header) || !PrescanHeaderFits(header, in.Size())) return false;
  if (header.channels != 3 || header.singleChannel != 0 || header.bits != 16) return false;
  if (gPrescanStore) DisposeMemHandle(gPrescanStore);
  gPrescanStore = NewMemHandle(PrescanRowBytes(header) * header.height);
  if (!gPrescanStore) return false;
  if (!ReadBytesAt(in.file, sizeof header, gPrescanStore->data, gPrescanStore->size)) {
    DisposeMemHandle(gPrescanStore);
    gPrescanStore = nullptr;
    return false;
  }
  SetRect16(&gPrescanStoreRect, 0, 0, static_cast<int16_t>(header.height), static_cast<int16_t>(header.width));
  return true;
}

namespace {

// The stored prescan is one the current settings would make.
bool PrescanFitsSettings(const PrescanFileHeader& header, bool grey) {
  const uint16_t singleChannel = GetDefault(gDefaults, kDefaultMonochromePrescan) != 0 ? 1 : 0;
  return header.version == 1 && header.channels == (grey ? 1 : 3) && header.singleChannel == singleChannel &&
         header.singleChannel == 0 && header.bits == (gHighBitPreview ? 16 : 8);
}

// Box pixels from one prescan row (planes of W samples: green, red, blue at 8
// bits; red, green, blue at 16, taken through the conversion table).
class BoxRowMaker {
 public:
  BoxRowMaker(const PrescanFileHeader& header, const PrescanCutOut& cut, int32_t boxWidth, bool grey)
      : width_(header.width), cut_(cut), boxWidth_(boxWidth), grey_(grey), samples_(3 * size_t(boxWidth)),
        bytes_(3 * size_t(boxWidth)) {}

  void Make(const uint8_t* row, int32_t boxRow, uint8_t* pixels) {
    const int planes = grey_ ? 1 : 3;
    for (int32_t c = 0; c < boxWidth_; ++c) {
      const size_t column = static_cast<size_t>(c * cut_.stepX + cut_.left);
      for (int p = 0; p < planes; ++p) {
        if (gHighBitPreview) {
          std::memcpy(&samples_[p * size_t(boxWidth_) + c], row + 2 * (p * size_t(width_) + column), 2);
        } else {
          bytes_[p * size_t(boxWidth_) + c] = row[p * size_t(width_) + column];
        }
      }
    }
    if (gHighBitPreview) {
      StoreRowsIn(samples_.data(), boxRow, 1, boxWidth_, grey_);
      const SampleLayout planar = {boxWidth_, 1, boxWidth_};
      ApplyPreviewConversionLut(samples_.data(), bytes_.data(), 1, boxWidth_, planar, planar, grey_);
    }
    // 8 bits keep green, red, blue; the converted samples are red, green, blue.
    const int red = gHighBitPreview ? 0 : 1, green = gHighBitPreview ? 1 : 0;
    for (int32_t c = 0; c < boxWidth_; ++c, pixels += 4) {
      if (grey_) {
        pixels[0] = pixels[1] = pixels[2] = bytes_[c];
      } else {
        pixels[0] = bytes_[2 * size_t(boxWidth_) + c];
        pixels[1] = bytes_[green * size_t(boxWidth_) + c];
        pixels[2] = bytes_[red * size_t(boxWidth_) + c];
      }
      pixels[3] = 0;
    }
  }

 private:
  uint32_t width_;
  PrescanCutOut cut_;
  int32_t boxWidth_;
  bool grey_;
  std::vector<uint16_t> samples_;
  std::vector<uint8_t> bytes_;
};

}  // namespace

bool LoadPreviewForBox(const DRect& frameRect, int32_t controlWidth, int32_t controlHeight, FrameRecord* prescanFrame,
                       uint8_t* zoomHint) {
  const bool turned = OrientationSwapAxes() != 0;
  const int32_t boxWidth = turned ? controlHeight : controlWidth;
  const int32_t boxHeight = turned ? controlWidth : controlHeight;
  char path[kPathSize];
  if (!PreviewFilePath(kPrescanFile, path)) return false;
  OpenFile in(OpenFileForReading(path));
  if (!in.file) return false;
  FreePreviewBuffers();
  const bool grey = gDeviceLayer.openedInfo.samplesPerPixel > 0 && gDeviceLayer.openedInfo.samplesPerPixel < 3;
  PrescanFileHeader header;
  if (!ReadBytesAt(in.file, 0, &header, sizeof header) || !PrescanHeaderFits(header, in.Size()) ||
      !PrescanFitsSettings(header, grey) || !IsDRectInside(frameRect, header.prescanArea))
    return false;

  const FrameRecord kept = *prescanFrame;
  ComputePreviewGeometry(frameRect, controlWidth, controlHeight, prescanFrame);
  const DRect area = {prescanFrame->originX, prescanFrame->originY, prescanFrame->width, prescanFrame->height};
  if (!IsDRectInside(area, header.prescanArea)) {
    *prescanFrame = kept;
    return false;
  }
  const PrescanCutOut cut = CutOutOfPrescan(area, header.prescanArea, header.width, header.height, boxWidth,
                                            boxHeight);
  *zoomHint = cut.zoomHint;
  bool made = AllocPreviewBuffers(boxHeight, boxWidth) && (!gHighBitPreview || BuildPreviewConversionLut(prescanFrame));
  *prescanFrame = kept;
  if (made) {
    FillGlobalDib(gPreviewBaseDib, MakeColorRef(255, 255, 255));
    const uint32_t rowBytes = PrescanRowBytes(header);
    std::vector<uint8_t> row(rowBytes);
    BoxRowMaker maker(header, cut, boxWidth, grey);
    for (int32_t r = 0; r < boxHeight && made; ++r) {
      const uint64_t prescanRow = static_cast<uint64_t>(r * cut.stepY + cut.top);
      made = prescanRow < header.height &&
             ReadBytesAt(in.file, sizeof header + prescanRow * rowBytes, row.data(), rowBytes);
      if (made) maker.Make(row.data(), r, GlobalDibBits(gPreviewBaseDib) + r * GlobalDibStride(gPreviewBaseDib));
    }
    CopyGlobalDib(gPreviewBaseDib, gPreviewDib);
  }
  if (gHighBitPreview) FreePreviewConversionLut();
  if (!made) FreePreviewBuffers();
  return made;
}
