#include "session/scan_read.h"

#include "session/device_layer.h"
#include "session/device_read.h"
#include "session/device_state.h"

uint16_t StartScanRead(FrameRecord* frame) {
  gDeviceErrorWord = kDeviceErrorNone;
  if (StartDeviceRead(frame, false)) return kDeviceErrorNone;
  return gDeviceErrorWord != kDeviceErrorNone ? gDeviceErrorWord : uint16_t{kDeviceErrorFile};
}

uint8_t ReadScanLines(bool finish, uint8_t* out, uint32_t, uint32_t wanted, uint32_t* count) {
  const bool read = ReadDeviceLines(finish, out, wanted, count);
  // The device closes its read after the last row and on a failure.
  return !read || !gDeviceLayer.read.sourceBuffer ? 1 : 0;
}

void EndScanRead() { CloseImageDevice(); }
