// The device layer that presents an image file as the scanner.
#pragma once

#include <cstdint>

// Geometry and resolution list of the current image into the session state.
bool LoadImageGeometry();
// Scan area back to the whole image, status flags reset.
void ResetDeviceStatus();
// OLE for the session's drag and drop: initialised at open (uninitialising a
// previous success first) and uninitialised at close when it succeeded.
bool InitializeOle();
bool UninitializeOle();

// What the device description and the open image tell the frame geometry.
struct FrameRecord;

// The device's scaling limits in percent and the step that integer scales keep (0: none).
struct DeviceScaleLimits {
  int16_t minPercent;
  int16_t maxPercent;
  int16_t scaleStep;
};
DeviceScaleLimits GetDeviceScaleLimits();
// The device scans at the frame's output resolution rather than from its resolution list.
bool DeviceHasFixedOutputResolution();
// The device takes whole-number scales (the frame's 16-bit percents) rather than 16.16 ones.
bool DeviceUsesIntegerScales();
// Margins of the scan area in inches; false when the device has none.
bool GetDeviceMargins(double* left, double* top, double* right, double* bottom);
// The scan area's extent in device pixels (the image's width and height).
void GetDeviceScanExtent(int32_t* width, int32_t* height);
// Option unit (feeder and the like) and light sources of the device.
bool DeviceHasOptionUnit();
int16_t DeviceHighestOptionSlot();
bool DeviceHasTransparencyUnit();
bool DeviceOffersReflective();
// Scan pixel origin and sizes of the frame for the rectangle (inches); 65534
// when the sizes were made even.
uint16_t ComputeFrameArea(double x, double y, double width, double height, FrameRecord* frame);
