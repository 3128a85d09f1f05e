// Windows bitmaps for display, built in the Windows configurations only: the
// flat entry point that turns a 24-bit pixel buffer into an HBITMAP.
#ifndef IMAGELIB_DISPLAY_BITMAP_H
#define IMAGELIB_DISPLAY_BITMAP_H

#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

// A device-dependent bitmap, or a DIB section when the thread's DIB-section
// flag is set, for the device context (the screen's when null). The palette,
// when given, is selected and realised for the time of the call. The caller
// deletes the bitmap.
HBITMAP CreateDisplayBitmap(const void* pixels, int width, int height, HPALETTE palette, HDC hdc);

#ifdef __cplusplus
}
#endif

#endif
