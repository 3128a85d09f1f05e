#include "frames/mask_services.h"

#include "color/mask_region.h"
#include "foundation/record_store.h"
#include "frames/mask_record.h"
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

// Not built yet: the preview's zoom is not known here, the rectangle stays.
WinRect MaskRectToPreview(const WinRect& rect) { return rect; }

void InstallFrameMaskServices() {
  MaskRegionServices services;
  services.loadMaskRegion = [](const char* name, std::vector<WinRect>* area, WinRect* drawnOn) {
    return LoadMaskRegion(0, name, area, drawnOn);
  };
  services.maskRectToPreview = MaskRectToPreview;
  InstallMaskRegionServices(services);
}
