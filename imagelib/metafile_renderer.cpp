// Playing a WMF, placeable WMF or EMF file into a 24-bit pixel buffer: open it
// as an enhanced metafile, size it in screen pixels, play it into a memory
// bitmap filled with the background, and fetch the bitmap's pixels.
#include "imagelib/codecs.h"
#include "imagelib/gdi_helpers.h"
#include "imagelib/io_state.h"
#include "imagelib/metafile_format.h"
#include "imagelib/result_block.h"

namespace imagelib {

namespace {

// The picture a plain Windows metafile that the system opens is given: 10 mm square.
constexpr int kSystemMetafileExtent = 1000;
constexpr int kProgressSteps = 4;

// A file opened through a stream block of our own, closed at the end of the scope.
class FileSource {
 public:
  explicit FileSource(const char* path) : state_(sizeof(IoState)), stream_(state_.As<void>()) {
    open_ = state_ && stream_.OpenForRead(path);
  }
  ~FileSource() {
    if (open_) stream_.Close();
  }
  FileSource(const FileSource&) = delete;
  FileSource& operator=(const FileSource&) = delete;

  // False when not even the stream's block could be had.
  bool allocated() const { return static_cast<bool>(state_); }
  bool open() const { return open_; }
  IoStream& stream() { return stream_; }

 private:
  ScratchBlock state_;
  IoStream stream_;
  bool open_ = false;
};

HENHMETAFILE Fail(EntryWork& work, int code) {
  work.error = code;
  return nullptr;
}

// Windows metafile data, checked first, as an enhanced metafile whose picture
// has the given extents (0.01 mm).
HENHMETAFILE FromWindowsData(EntryWork& work, const uint8_t* data, size_t size, int extent_x, int extent_y,
                             HDC screen, int failure) {
  if (int code = CheckMetaHeader(data, size)) return Fail(work, code);
  METAFILEPICT picture = {MM_ANISOTROPIC, extent_x, extent_y, nullptr};
  HENHMETAFILE metafile = SetWinMetaFileBits(static_cast<UINT>(size), data, screen, &picture);
  return metafile ? metafile : Fail(work, failure);
}

// Null without a code when the system does not take the file as a metafile.
HENHMETAFILE FromSystemMetafile(EntryWork& work, const char* path, HDC screen) {
  HMETAFILE windows = GetMetaFileA(path);
  if (!windows) return nullptr;
  const UINT size = GetMetaFileBitsEx(windows, 0, nullptr);
  ScratchBlock bits(size);
  HENHMETAFILE metafile = nullptr;
  if (size == 0)
    work.error = kImageNotMetafile;
  else if (!bits)
    work.error = kImageNoMemory;
  else if (GetMetaFileBitsEx(windows, size, bits.As<void>()) != size)
    work.error = kImageNotMetafile;
  else
    metafile = FromWindowsData(work, bits.As<uint8_t>(), size, kSystemMetafileExtent, kSystemMetafileExtent,
                               screen, kImageNotMetafile);
  DeleteMetaFile(windows);
  return metafile;
}

class MetafileRenderer {
 public:
  MetafileRenderer(EntryWork& work, const uint8_t* data, size_t size, const ScreenDc& screen)
      : work_(work), data_(data), size_(size), screen_(screen) {}

  // The file as an enhanced metafile: a placeable WMF from its own bytes, else
  // an EMF, a WMF the system opens, or WMF bytes at the call's extents.
  bool Open(const char* path, int extent_x, int extent_y) {
    if (!HasPlaceableKey(data_, size_)) {
      metafile_.Reset(GetEnhMetaFileA(path));
      if (!metafile_) metafile_.Reset(FromSystemMetafile(work_, path, screen_.get()));
      if (metafile_ || work_.error) return static_cast<bool>(metafile_);
      metafile_.Reset(FromWindowsData(work_, data_, size_, extent_x, extent_y, screen_.get(),
                                      kImageEnhancedMetafileFailed));
      return static_cast<bool>(metafile_);
    }
    if (size_ < kPlaceableHeaderBytes) return Failed(kImageNotMetafile);
    placeable_ = true;
    placeable_size_ = SizePlaceablePicture(DecodePlaceableHeader(data_), screen_.Caps(LOGPIXELSX),
                                           screen_.Caps(LOGPIXELSY));
    if (placeable_size_.error) return Failed(placeable_size_.error);
    metafile_.Reset(FromWindowsData(work_, data_ + kPlaceableHeaderBytes,
                                    size_ - kPlaceableHeaderBytes, placeable_size_.extent_x,
                                    placeable_size_.extent_y, screen_.get(), kImageEnhancedMetafileFailed));
    return static_cast<bool>(metafile_);
  }

  // The picture's size in screen pixels: the placeable box, else the frame on
  // the reference device of the enhanced header.
  bool Size() {
    ENHMETAHEADER header = {};
    if (!GetEnhMetaFileHeader(metafile_.get(), sizeof header, &header)) return Failed(kImageNotMetafile);
    if (placeable_) {
      width_ = placeable_size_.width;
      height_ = placeable_size_.height;
      return true;
    }
    const int64_t px = header.szlDevice.cx, py = header.szlDevice.cy;
    const int64_t mx = header.szlMillimeters.cx, my = header.szlMillimeters.cy;
    if (px <= 0 || py <= 0 || mx <= 0 || my <= 0) return Failed(kImageNotMetafile);
    const RECTL& frame = header.rclFrame;
    const int64_t width = px * frame.right / (mx * 100) - px * frame.left / (mx * 100);
    const int64_t height = py * frame.bottom / (my * 100) - py * frame.top / (my * 100);
    if (int code = CheckPictureSize(width, height)) return Failed(code);
    width_ = static_cast<int>(width);
    height_ = static_cast<int>(height);
    return true;
  }

  void* Play(uint32_t background, int* width, int* height) {
    if (!work_.Progress(1, kProgressSteps)) return nullptr;
    HDC memory = CreateCompatibleDC(screen_.get());
    GdiObject bitmap(CreateCompatibleBitmap(screen_.get(), width_, height_));
    if (!memory || !bitmap) {
      if (memory) DeleteDC(memory);
      work_.error = kImageCompatibleBitmapFailed;
      return nullptr;
    }
    HGDIOBJ previous = SelectObject(memory, bitmap.get());
    const bool drawn = Draw(memory, background);
    SelectObject(memory, previous);
    DeleteDC(memory);
    if (!drawn) return nullptr;
    return BitmapToPixels(work_, screen_.get(), static_cast<HBITMAP>(bitmap.get()), width, height);
  }

 private:
  bool Failed(int code) {
    work_.error = code;
    return false;
  }

  bool Draw(HDC memory, uint32_t background) {
    RECT all = {0, 0, width_, height_};
    GdiObject brush(CreateSolidBrush(background));
    if (!brush || !FillRect(memory, &all, static_cast<HBRUSH>(brush.get()))) return Failed(kImageDrawingFailed);
    if (!work_.Progress(2, kProgressSteps)) return false;
    if (!PlayEnhMetaFile(memory, metafile_.get(), &all)) return Failed(kImageDrawingFailed);
    return work_.Progress(3, kProgressSteps);
  }

  EntryWork& work_;
  const uint8_t* data_;
  size_t size_;
  const ScreenDc& screen_;
  EnhancedMetafile metafile_;
  bool placeable_ = false;
  PlaceableSize placeable_size_;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace

void* RenderMetafile(EntryWork& work, const char* path, int* width, int* height, int extent_x, int extent_y,
                     uint32_t background) {
  if (!work.Progress(0, kProgressSteps)) return nullptr;
  FileSource source(path);
  if (!source.open()) {
    work.error = source.allocated() ? kImageCannotOpen : kImageNoMemory;
    return nullptr;
  }
  // Read whole: the placeable key and the metafile header are checked here before GDI sees the bytes.
  const long size = source.stream().Size();
  if (size <= 0) {
    work.error = kImageNotMetafile;
    return nullptr;
  }
  ScratchBlock data(static_cast<uint64_t>(size));
  if (!data) {
    work.error = kImageNoMemory;
    return nullptr;
  }
  if (!source.stream().ReadExact(data.As<void>(), static_cast<uint32_t>(size))) {
    work.error = kImageReadFailed;
    return nullptr;
  }
  ScreenDc screen;
  MetafileRenderer renderer(work, data.As<uint8_t>(), static_cast<size_t>(size), screen);
  if (!renderer.Open(path, extent_x, extent_y) || !renderer.Size()) return nullptr;
  return renderer.Play(background, width, height);
}

}  // namespace imagelib
