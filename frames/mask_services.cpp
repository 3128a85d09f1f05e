#include "frames/mask_services.h"

#include "color/mask_region.h"

// Not built yet: there are no mask records, so no mask has an area.
bool LoadMaskRegion(uint16_t, const char*, std::vector<WinRect>* area, WinRect*) {
  area->clear();
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
