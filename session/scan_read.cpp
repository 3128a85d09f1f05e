#include "session/scan_read.h"

#include "records/frame_record.h"
#include "session/device_layer.h"
#include "session/device_read.h"
#include "session/device_state.h"
#include "session/frame_geometry.h"
#include "sharpen/scaling_window.h"
#include "state/data_source_state.h"

namespace {
MultiScanHooks gMultiScan;
}

void InstallMultiScanHooks(const MultiScanHooks& hooks) { gMultiScan = hooks; }

uint16_t StartScanRead(FrameRecord* frame) {
  gDeviceErrorWord = kDeviceErrorNone;
  gBand.multiScan = gMultiScan.possible(*frame) ? 1 : 0;
  const bool started = gBand.multiScan ? gMultiScan.start(frame) : StartDeviceRead(frame, false);
  if (started) return kDeviceErrorNone;
  gBand.multiScan = 0;
  return gDeviceErrorWord != kDeviceErrorNone ? gDeviceErrorWord : uint16_t{kDeviceErrorFile};
}

uint8_t ReadScanLines(bool finish, uint8_t* out, uint32_t firstRow, uint32_t wanted, uint32_t* count) {
  if (gBand.multiScan) return gMultiScan.finish(finish, out, firstRow, wanted, count) ? 1 : 0;
  return ReadDeviceScanLines(finish, out, wanted, count);
}

uint8_t ReadDeviceScanLines(bool finish, uint8_t* out, uint32_t wanted, uint32_t* count) {
  const bool read = ReadDeviceLines(finish, out, wanted, count);
  // The device closes its read after the last row and on a failure.
  return !read || !gDeviceLayer.read.sourceBuffer ? 1 : 0;
}

void EndScanRead() {
  if (gBand.multiScan) {
    gBand.multiScan = 0;
    gMultiScan.end();
    return;
  }
  CloseImageDevice();
}

void SetDescreenSource(FrameRecord* frame) {
  frame->qualityFactor = 1.0;
  frame->outputResolution = frame->screenRulingCopy;
  frame->outputScaleX = frame->outputScaleY = 100.0f;
  ChooseScanResolution(frame);
  StartScalingWindow(frame->scanPixelWidth, frame->scanPixelHeight);
}
