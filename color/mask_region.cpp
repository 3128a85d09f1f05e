#include "color/mask_region.h"

#include <algorithm>

#include "foundation/round.h"

struct MaskRegion {
  std::vector<WinRect> area;  // non-empty rectangles
  WinRect bounds;             // their bounding box
};

namespace {

MaskRegionServices gServices;

bool IsEmptyRect(const WinRect& r) { return r.right <= r.left || r.bottom <= r.top; }
bool SameRect(const WinRect& a, const WinRect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

bool IsRegionEmpty(const MaskRegion* region) { return !region || region->area.empty(); }
void DeleteRegion(MaskRegion* region) { delete region; }

// Drops empty rectangles and recomputes the bounding box.
void Normalize(MaskRegion* region) {
  auto& area = region->area;
  area.erase(std::remove_if(area.begin(), area.end(), IsEmptyRect), area.end());
  region->bounds = WinRect{};
  if (area.empty()) return;
  region->bounds = area.front();
  for (const WinRect& r : area) {
    region->bounds.left = std::min(region->bounds.left, r.left);
    region->bounds.top = std::min(region->bounds.top, r.top);
    region->bounds.right = std::max(region->bounds.right, r.right);
    region->bounds.bottom = std::max(region->bounds.bottom, r.bottom);
  }
}

// Maps the region from the grid of one rectangle onto another; a degenerate
// source rectangle leaves nothing.
void ScaleRegionToRect(MaskRegion* region, const WinRect& from, const WinRect& to) {
  const int32_t fromWidth = RectWidth(from), fromHeight = RectHeight(from);
  if (fromWidth <= 0 || fromHeight <= 0) {
    region->area.clear();
    Normalize(region);
    return;
  }
  const double sx = static_cast<double>(RectWidth(to)) / fromWidth;
  const double sy = static_cast<double>(RectHeight(to)) / fromHeight;
  for (WinRect& r : region->area) {
    r.left = to.left + TruncRound((r.left - from.left) * sx);
    r.right = to.left + TruncRound((r.right - from.left) * sx);
    r.top = to.top + TruncRound((r.top - from.top) * sy);
    r.bottom = to.top + TruncRound((r.bottom - from.top) * sy);
  }
  Normalize(region);
}

void OffsetRegion(MaskRegion* region, int32_t dx, int32_t dy) {
  for (WinRect& r : region->area) r = WinRect{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
  Normalize(region);
}

}  // namespace

void InstallMaskRegionServices(const MaskRegionServices& services) { gServices = services; }

int32_t BuildMaskRegionForRect(MaskRegion** slot, const char* maskName, const WinRect& frameRect, uint8_t toPreview) {
  if (!slot || !maskName || !maskName[0]) return 0;
  auto* region = new MaskRegion();
  WinRect drawnOn{};
  if (!gServices.loadMaskRegion(maskName, &region->area, &drawnOn)) {
    DeleteRegion(region);
    return -108;
  }
  Normalize(region);
  WinRect rect = frameRect;
  if (!SameRect(drawnOn, rect)) ScaleRegionToRect(region, drawnOn, rect);
  if (toPreview) {
    const WinRect preview = gServices.maskRectToPreview(rect);
    if (!SameRect(preview, rect)) ScaleRegionToRect(region, rect, preview);
    rect = preview;
  }
  OffsetRegion(region, -rect.left, -rect.top);
  if (IsRegionEmpty(region)) {
    DeleteRegion(region);
    return 0;
  }
  *slot = region;
  return 0;
}

void ClearRegionSlot(MaskRegion** slot, uint8_t forgetOnly) {
  if (!slot) return;
  if (!forgetOnly) DeleteRegion(*slot);
  *slot = nullptr;
}

bool MaskRegionContains(const MaskRegion* region, int32_t x, int32_t y) {
  if (IsRegionEmpty(region)) return false;
  const WinRect& b = region->bounds;
  if (x < b.left || x >= b.right || y < b.top || y >= b.bottom) return false;
  for (const WinRect& r : region->area)
    if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return true;
  return false;
}
