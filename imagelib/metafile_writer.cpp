// Writing a pixel buffer as an EMF or a WMF that holds one device-independent
// bitmap: recorded in memory against the screen, then fetched and written.
#include "imagelib/codecs.h"
#include "imagelib/gdi_helpers.h"
#include "imagelib/metafile_format.h"
#include "imagelib/packed_dib.h"

namespace imagelib {

namespace {

// An EMF or WMF recording of one DIB: the picture frame follows the screen's
// millimetres per pixel, and the logical inch is the screen's.
class MetafileWriter {
 public:
  MetafileWriter(EntryWork& work, IoStream& sink, const void* pixels, int width, int height)
      : work_(work), sink_(sink), dib_(work, pixels, width, height), width_(width), height_(height) {}

  int WriteEmf() {
    if (!Prepare()) return 0;
    EnhancedMetafile metafile(Record(MM_ISOTROPIC, [&](HDC dc) {
      return StretchDIBits(dc, 0, 0, width_, height_, 0, 0, width_, height_, dib_.Bits(), Info(), DIB_RGB_COLORS,
                           SRCCOPY);
    }));
    if (!metafile) return 0;
    const UINT size = GetEnhMetaFileBits(metafile.get(), 0, nullptr);
    if (size == 0) return Fail(kImageMetafileDataFailed);
    ScratchBlock bits(size);
    if (!bits) return Fail(kImageNoMemory);
    GetEnhMetaFileBits(metafile.get(), size, bits.As<BYTE>());
    return WriteOut(bits.As<void>(), size);
  }

  int WriteWmf(int placeable) {
    if (!Prepare()) return 0;
    EnhancedMetafile metafile(Record(MM_ANISOTROPIC, [&](HDC dc) {
      return SetDIBitsToDevice(dc, 0, 0, width_, height_, 0, 0, 0, height_, dib_.Bits(), Info(), DIB_RGB_COLORS);
    }));
    if (!metafile) return 0;
    const UINT size = GetWinMetaFileBits(metafile.get(), 0, nullptr, MM_ANISOTROPIC, screen_.get());
    if (size == 0) return Fail(kImageMetafileDataFailed);
    if (placeable == 1 && !WritePlaceableHeader(metafile.get())) return 0;
    ScratchBlock bits(size);
    if (!bits) return Fail(kImageNoMemory);
    GetWinMetaFileBits(metafile.get(), size, bits.As<BYTE>(), MM_ANISOTROPIC, screen_.get());
    return WriteOut(bits.As<void>(), size);
  }

 private:
  int Fail(int code) {
    work_.error = code;
    return 0;
  }

  // The DIB and the frame in 0.01 mm: the image on the screen's millimetres per pixel.
  bool Prepare() {
    if (!dib_) return false;
    const int px = screen_.Caps(HORZRES), py = screen_.Caps(VERTRES);
    if (!screen_.get() || px <= 0 || py <= 0) return Fail(kImageDrawingFailed);
    frame_ = {0, 0, static_cast<LONG>(int64_t{width_} * screen_.Caps(HORZSIZE) * 100 / px),
              static_cast<LONG>(int64_t{height_} * screen_.Caps(VERTSIZE) * 100 / py)};
    return true;
  }

  const BITMAPINFO* Info() const { return reinterpret_cast<const BITMAPINFO*>(dib_.Header()); }

  // Records the drawing in memory; null with 10 when it could not be made or
  // drew fewer rows than the image has.
  template <typename Draw>
  HENHMETAFILE Record(int map_mode, Draw draw) {
    // A description of two empty strings: the application's and the picture's.
    HDC dc = CreateEnhMetaFileA(screen_.get(), nullptr, &frame_, "\0");
    if (!dc) {
      work_.error = kImageDrawingFailed;
      return nullptr;
    }
    const int dpx = screen_.Caps(LOGPIXELSX), dpy = screen_.Caps(LOGPIXELSY);
    SetMapMode(dc, map_mode);
    SetWindowExtEx(dc, dpx, dpy, nullptr);
    SetViewportExtEx(dc, dpx, dpy, nullptr);
    const int rows = draw(dc);
    HENHMETAFILE metafile = CloseEnhMetaFile(dc);
    if (metafile && rows == height_) return metafile;
    if (metafile) DeleteEnhMetaFile(metafile);
    work_.error = kImageDrawingFailed;
    return nullptr;
  }

  // The frame in thousandths of an inch.
  bool WritePlaceableHeader(HENHMETAFILE metafile) {
    ENHMETAHEADER header = {};
    if (!GetEnhMetaFileHeader(metafile, sizeof header, &header)) return Fail(kImageMetafileDataFailed);
    PlaceableHeader placeable;
    placeable.left = static_cast<int16_t>(header.rclFrame.left * 1000 / 2540);
    placeable.top = static_cast<int16_t>(header.rclFrame.top * 1000 / 2540);
    placeable.right = static_cast<int16_t>(header.rclFrame.right * 1000 / 2540);
    placeable.bottom = static_cast<int16_t>(header.rclFrame.bottom * 1000 / 2540);
    placeable.units_per_inch = 1000;
    uint8_t bytes[kPlaceableHeaderBytes];
    EncodePlaceableHeader(placeable, bytes);
    return sink_.WriteBlock(bytes, sizeof bytes) || Fail(kImageWriteFailed);
  }

  int WriteOut(const void* bits, UINT size) {
    if (!sink_.WriteBlock(bits, size)) return Fail(kImageWriteFailed);
    return static_cast<int>(sink_.Size());
  }

  EntryWork& work_;
  IoStream& sink_;
  ScreenDc screen_;
  PackedDib dib_;
  int width_;
  int height_;
  RECT frame_ = {};
};

}  // namespace

int WriteEmfImage(EntryWork& work, IoStream& sink, const void* pixels, int width, int height) {
  return MetafileWriter(work, sink, pixels, width, height).WriteEmf();
}

int WriteWmfImage(EntryWork& work, IoStream& sink, const void* pixels, int width, int height, int placeable) {
  return MetafileWriter(work, sink, pixels, width, height).WriteWmf(placeable);
}

}  // namespace imagelib
