#include <windows.h>

#include "output/job_thumbnails.h"

void* CreateJobBitmap(int32_t width, int32_t height, uint32_t** bits) {
  *bits = nullptr;
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  HDC screen = GetDC(nullptr);
  void* pixels = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
  ReleaseDC(nullptr, screen);
  if (bitmap) *bits = static_cast<uint32_t*>(pixels);
  return bitmap;
}

void DeleteJobBitmap(void* bitmap) {
  if (bitmap) DeleteObject(static_cast<HGDIOBJ>(bitmap));
}
