#include "session/device_layer.h"

#include "ui/frame_geometry.h"

// Not built yet: no image, no geometry, no OLE.
bool LoadImageGeometry() { return true; }
void ResetDeviceStatus() {}
bool InitializeOle() { return true; }
bool UninitializeOle() { return true; }

// Not built yet: a device without scaling steps, margins, options or a transparency unit.
DeviceScaleLimits GetDeviceScaleLimits() { return DeviceScaleLimits{1, 1000, 0}; }
// Not built yet: the resolution comes from the list.
bool DeviceHasFixedOutputResolution() { return false; }
// Not built yet: 16.16 scales.
bool DeviceUsesIntegerScales() { return false; }
// Not built yet: no margins.
bool GetDeviceMargins(double*, double*, double*, double*) { return false; }
// Not built yet: no image, an empty extent.
void GetDeviceScanExtent(int32_t* width, int32_t* height) { *width = *height = 0; }
// Not built yet: no option unit.
bool DeviceHasOptionUnit() { return false; }
int16_t DeviceHighestOptionSlot() { return 0; }
// Not built yet: reflective originals only.
bool DeviceHasTransparencyUnit() { return false; }
bool DeviceOffersReflective() { return true; }
// Not built yet: the frame's pixel sizes without the image's limits.
uint16_t ComputeFrameArea(double x, double y, double width, double height, FrameRecord* frame) {
  ComputeFramePixelSizes(x, y, width, height, frame, 1, 1, 65535, 65535);
  return 0;
}
