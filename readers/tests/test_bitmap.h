// A 24-bit top-down bitmap for the drawing operations: a real DIB section in
// the product, plain memory in the host checks.
#pragma once

#include <cstdint>

struct TestBitmap {
  void* handle = nullptr;  // the bitmap handle, null in the host checks
  uint8_t* bits = nullptr;
  int32_t rowBytes = 0;
};

TestBitmap CreateTestBitmap(int32_t width, int32_t height);
void DeleteTestBitmap(const TestBitmap& bitmap);
