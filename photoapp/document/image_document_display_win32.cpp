// The document's bitmap for the screen.
#include <windows.h>

#include "imagelib/display_bitmap.h"
#include "photoapp/document/image_document.h"
#include "photoapp/gdi/gdi_objects.h"

int ImageDocument::MakeDisplayBitmap(Bitmap& bitmap, const Palette* palette) {
  if (!HasPixels()) return kImageBadArgument;
  const Palette& chosen = palette ? *palette : DisplayPalette();
  HDC screen = GetDC(nullptr);
  HBITMAP made = CreateDisplayBitmap(pixels_, width_, height_, static_cast<HPALETTE>(chosen.GetSafeHandle()), screen);
  ReleaseDC(nullptr, screen);
  if (made) bitmap.Attach(made);
  return GetLastImageError();
}
