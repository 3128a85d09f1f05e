#include <windows.h>

#include "tools/host_colour/host_colour_services.h"

void DrawHostPixelBlock(const HostPixelBlock& block, int32_t top, int32_t left, void* dc) {
  if (!dc || !block.red) return;
  const int32_t width = block.right - block.left, height = block.bottom - block.top;
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = block.rowBytes / 4;
  info.bmiHeader.biHeight = -height;  // the rows run top down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  SetDIBitsToDevice(static_cast<HDC>(dc), left, top, width, height, 0, 0, 0, height, block.red - 2, &info,
                    DIB_RGB_COLORS);
}
