#include "session/device_layer.h"

// Not built yet: no image, no geometry, no OLE.
bool LoadImageGeometry() { return true; }
void ResetDeviceStatus() {}
bool InitializeOle() { return true; }
bool UninitializeOle() { return true; }
