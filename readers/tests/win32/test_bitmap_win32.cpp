#include <windows.h>

#include "readers/tests/test_bitmap.h"

TestBitmap CreateTestBitmap(int32_t width, int32_t height) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  TestBitmap bitmap;
  void* bits = nullptr;
  bitmap.handle = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  bitmap.bits = static_cast<uint8_t*>(bits);
  bitmap.rowBytes = (width * 3 + 3) & ~3;
  return bitmap;
}

void DeleteTestBitmap(const TestBitmap& bitmap) { DeleteObject(static_cast<HBITMAP>(bitmap.handle)); }
