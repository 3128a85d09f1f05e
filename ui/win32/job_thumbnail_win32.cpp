#include <windows.h>

#include "session/preview_store.h"
#include "ui/job_thumbnail_platform.h"
#include "ui/win32/preview_rendering_win32.h"

bool RenderPreviewThumbnail(const WinRect& source, uint8_t flipX, uint8_t flipY, uint8_t swapAxes, void* bitmap,
                            const WinRect& rect) {
  if (!gPreviewBaseDib || !bitmap) return false;
  const bool drawn =
      RenderImageToBitmap(gPreviewBaseDib, RECT{source.left, source.top, source.right, source.bottom},
                          static_cast<HBITMAP>(bitmap), RECT{rect.left, rect.top, rect.right, rect.bottom}, flipX != 0,
                          flipY != 0, swapAxes != 0);
  GdiFlush();  // the pixels are read next
  return drawn;
}

bool DrawMatchedThumbnail(void* dc, void* window, void* bitmap, uint32_t* bits, const WinRect& bitmapRect,
                          const WinRect& destination) {
  return MatchBitmapForMonitor(static_cast<HBITMAP>(bitmap), reinterpret_cast<uint8_t*>(bits),
                               RECT{bitmapRect.left, bitmapRect.top, bitmapRect.right, bitmapRect.bottom},
                               static_cast<HWND>(window), static_cast<HDC>(dc),
                               RECT{destination.left, destination.top, destination.right, destination.bottom});
}
