// The preview taken back from its file when the window is laid out.
#include "session/preview_store.h"

#include <cstring>

#include "session/preview_platform.h"

namespace {

bool MakeFromStore(int32_t width, int32_t height, const DRect& frameRect, FrameRecord* prescanFrame) {
  MemHandle samples = nullptr;
  int32_t storedWidth = 0, storedHeight = 0;
  if (!ReadPreviewStoreFile(&samples, &storedWidth, &storedHeight, frameRect)) return false;
  bool made = AllocPreviewBuffers(height, width);
  if (made) {
    ResampleStoreNearest(reinterpret_cast<const uint16_t*>(samples->data), storedWidth, storedHeight,
                         reinterpret_cast<uint16_t*>(gPreviewStore->data), width, height);
    made = RenderStoreToDib(gPreviewDib, prescanFrame);
    if (made) CopyGlobalDib(gPreviewDib, gPreviewBaseDib);
  }
  DisposeMemHandle(samples);
  if (!made) FreePreviewBuffers();
  return made;
}

bool MakeFromEightBit(int32_t width, int32_t height, const DRect& frameRect) {
  GlobalDib stored = nullptr;
  if (!ReadPreviewFile(&stored, frameRect)) return false;
  bool made = AllocPreviewBuffers(height, width);
  if (made) made = StretchPreviewHalftone(stored, gPreviewBaseDib);
  if (made) CopyGlobalDib(gPreviewBaseDib, gPreviewDib);
  FreeGlobalDib(stored);
  if (!made) FreePreviewBuffers();
  return made;
}

}  // namespace

bool MakePreviewBitmap(int32_t width, int32_t height, const DRect& frameRect, FrameRecord* prescanFrame) {
  FreePreviewBuffers();
  if (width <= 0 || height <= 0) return false;
  return gHighBitPreview ? MakeFromStore(width, height, frameRect, prescanFrame)
                         : MakeFromEightBit(width, height, frameRect);
}
