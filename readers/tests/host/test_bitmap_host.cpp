#include "readers/tests/test_bitmap.h"

#include <cstddef>

TestBitmap CreateTestBitmap(int32_t width, int32_t height) {
  TestBitmap bitmap;
  bitmap.rowBytes = (width * 3 + 3) & ~3;
  bitmap.bits = new uint8_t[static_cast<size_t>(bitmap.rowBytes) * height]();
  return bitmap;
}

void DeleteTestBitmap(const TestBitmap& bitmap) { delete[] bitmap.bits; }
