// GDI helpers of the bitmap and metafile code (Windows configurations only).
#ifndef IMAGELIB_GDI_HELPERS_H
#define IMAGELIB_GDI_HELPERS_H

#include <windows.h>

#include "imagelib/entry_work.h"

namespace imagelib {

// The screen's device context for the time of one call.
class ScreenDc {
 public:
  ScreenDc() : dc_(GetDC(nullptr)) {}
  ~ScreenDc() {
    if (dc_) ReleaseDC(nullptr, dc_);
  }
  ScreenDc(const ScreenDc&) = delete;
  ScreenDc& operator=(const ScreenDc&) = delete;

  HDC get() const { return dc_; }
  int Caps(int index) const { return GetDeviceCaps(dc_, index); }

 private:
  HDC dc_;
};

// A GDI object (bitmap, brush, palette) deleted at the end of the scope.
class GdiObject {
 public:
  explicit GdiObject(HGDIOBJ object) : object_(object) {}
  ~GdiObject() {
    if (object_) DeleteObject(object_);
  }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;

  HGDIOBJ get() const { return object_; }
  explicit operator bool() const { return object_ != nullptr; }

 private:
  HGDIOBJ object_;
};

// An enhanced metafile handle, deleted at the end of the scope.
class EnhancedMetafile {
 public:
  explicit EnhancedMetafile(HENHMETAFILE metafile = nullptr) : metafile_(metafile) {}
  ~EnhancedMetafile() { Reset(nullptr); }
  EnhancedMetafile(const EnhancedMetafile&) = delete;
  EnhancedMetafile& operator=(const EnhancedMetafile&) = delete;

  void Reset(HENHMETAFILE metafile) {
    if (metafile_) DeleteEnhMetaFile(metafile_);
    metafile_ = metafile;
  }
  HENHMETAFILE get() const { return metafile_; }
  explicit operator bool() const { return metafile_ != nullptr; }

 private:
  HENHMETAFILE metafile_;
};

// A palette selected (foreground) and realised in a context until the end of
// the scope, when the one selected before comes back.
class SelectedPalette {
 public:
  SelectedPalette(HDC dc, HPALETTE palette) : dc_(dc), previous_(SelectPalette(dc, palette, FALSE)) {
    RealizePalette(dc);
  }
  ~SelectedPalette() {
    if (previous_) SelectPalette(dc_, previous_, FALSE);
  }
  SelectedPalette(const SelectedPalette&) = delete;
  SelectedPalette& operator=(const SelectedPalette&) = delete;

 private:
  HDC dc_;
  HPALETTE previous_;
};

// A 24-bit pixel buffer (rows top to bottom) from a bitmap, through GetDIBits
// into a DIB of the bitmap's own depth and the bitmap row converter. The
// context must take device-independent bitmaps (else 26). Null with the code
// set on failure.
void* BitmapToPixels(EntryWork& work, HDC dc, HBITMAP bitmap, int* width, int* height);

}  // namespace imagelib

#endif
