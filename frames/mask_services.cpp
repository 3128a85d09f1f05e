#include "frames/mask_services.h"

#include "color/mask_region.h"
#include "foundation/record_store.h"
#include "frames/mask_record.h"
#include "frames/orientation/orientation_maps.h"
#include "frames/orientation/preview_orientation.h"
#include "state/data_source_state.h"

bool LoadMaskRegion(uint16_t id, const char* name, std::vector<WinRect>* area, WinRect* drawnOn) {
  area->clear();
  int32_t found = id;
  if (!gAppStore) return true;
  if (found == 0 && (!name || !RecordStoreFind(gAppStore, kMaskRecordType, name, &found))) return true;
  uint32_t size = 0;
  if (!RecordStoreSize(gAppStore, kMaskRecordType, found, &size)) return true;
  std::vector<uint8_t> data(size);
  if (!RecordStoreRead(gAppStore, kMaskRecordType, found, data.data(), size)) return false;
  WinRect reference{};
  if (!ParseMaskRecord(data.data(), size, area, &reference)) return false;
  if (drawnOn) *drawnOn = reference;
  return true;
}

namespace {

WinRect Unchanged(const WinRect& rect) { return rect; }
WinRect (*gUnzoomedToZoomed)(const WinRect&) = Unchanged;

WinRect Exchanged(const WinRect& r) { return WinRect{r.left, r.top, r.left + RectHeight(r), r.top + RectWidth(r)}; }

}  // namespace

void MapMaskRegionToPreview(std::vector<WinRect>* area, WinRect* reference, bool toStored) {
  const uint8_t flipX = OrientationFlipX(), flipY = OrientationFlipY(), swap = OrientationSwapAxes();
  if (!flipX && !flipY && !swap) return;
  // The mapping takes its bounds in the stored (image) axes.
  const WinRect stored = toStored && swap ? Exchanged(*reference) : *reference;
  const PixelRect bounds{stored.left, stored.top, stored.right, stored.bottom};
  for (WinRect& r : *area) {
    PixelRect p{r.left, r.top, r.right, r.bottom};
    if (toStored)
      MapRectFromPreview(&p, &bounds, flipX, flipY, swap);
    else
      MapRectToPreview(&p, &bounds, flipX, flipY, swap);
    r = WinRect{p.left, p.top, p.right, p.bottom};
  }
  *reference = toStored || !swap ? stored : Exchanged(stored);
}

WinRect MaskRectToPreview(const WinRect& rect) { return gUnzoomedToZoomed(rect); }

void InstallMaskZoomHook(WinRect (*unzoomedToZoomed)(const WinRect& rect)) {
  gUnzoomedToZoomed = unzoomedToZoomed ? unzoomedToZoomed : Unchanged;
}

void InstallFrameMaskServices() {
  MaskRegionServices services;
  services.loadMaskRegion = [](const char* name, std::vector<WinRect>* area, WinRect* drawnOn) {
    return LoadMaskRegion(0, name, area, drawnOn);
  };
  services.maskRectToPreview = MaskRectToPreview;
  InstallMaskRegionServices(services);
}
