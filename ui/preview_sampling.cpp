#include "ui/preview_sampling.h"

#include "frames/frame_list.h"
#include "session/preview_store.h"
#include "ui/preview_geometry.h"

void FillHistogramGaps(uint32_t* bins, int count) {
  const int last = count - 1;
  for (int i = 0; i < count; ++i) {
    if (bins[i] != 0) continue;
    int previous = i - 1;
    while (previous > 0 && bins[previous] == 0) --previous;
    if (previous < 0) previous = 0;
    int next = i;
    if (i < last) {
      next = i + 1;
      while (next < last && bins[next] == 0) ++next;
      if (next == last) next = i + 1;
    }
    bins[i] = (bins[next] + bins[previous]) >> 1;
  }
}

bool SampleFramePreview(uint8_t rgb[3], int lowGrey, int highGrey, bool storedRect) {
  const FrameListNode* head = FrameListHead();
  if (!head || !gPreviewBaseDib) return false;
  const FrameRecord& f = head->frame;
  const Rect16 r = storedRect ? FrameToPreviewPacked(f.originX, f.originY, f.width, f.height)
                              : FrameToPreviewRect(f.originX, f.originY, f.width, f.height, false, nullptr);
  return AverageColorInGreyRange(rgb, gPreviewBaseDib, f.invert != 0, lowGrey, highGrey,
                                 WinRect{r.left, r.top, r.right, r.bottom});
}
