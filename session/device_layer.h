// The device layer that presents an image file as the scanner.
#pragma once

// Geometry and resolution list of the current image into the session state.
bool LoadImageGeometry();
// Scan area back to the whole image, status flags reset.
void ResetDeviceStatus();
// OLE for the session's drag and drop: initialised at open (uninitialising a
// previous success first) and uninitialised at close when it succeeded.
bool InitializeOle();
bool UninitializeOle();
