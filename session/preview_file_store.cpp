// The preview buffers written to and read from their files. A file that does
// not read whole, or whose header does not fit it, gives no preview: the
// caller then makes a prescan.
#include <cstring>

#include "foundation/paths.h"
#include "session/preview_files.h"
#include "session/preview_store.h"

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
