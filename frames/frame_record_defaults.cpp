// The frame initialiser fed from the open session.
#include <cstring>

#include "frames/frame_record_init.h"
#include "frames/orientation/preview_orientation.h"
#include "frames/settings_records.h"
#include "state/data_source_state.h"

void InitFrameRecord(FrameRecord* record, bool fromScratch) {
  FrameInitInputs inputs = {};
  inputs.defaults = &gDefaults;
  inputs.scanAreaWidth = gScanAreaInches.width;
  inputs.scanAreaHeight = gScanAreaInches.height;
  // An image file has no filter, focus or lamp options; without the preview
  // window the focus point is the area's corner.
  inputs.mirrorH = PreviewMirrorH();
  inputs.mirrorV = PreviewMirrorV();
  inputs.quarterTurns = static_cast<uint16_t>(PreviewQuarterTurns());
  InitFrameRecordWith(record, fromScratch, inputs);
}

bool GiveDeviceDefaults(FrameRecord* record, const double focusRect[4]) {
  if (GetDefault(gDefaults, kDefaultSettingsRecordId) != 0) return false;
  // The image-file device has no filter, focus or lamp option: all its flags are off.
  const FrameInitInputs device = {};
  record->filterMode = device.deviceFilterFlag ? 5 : 1;
  record->focusMode = device.deviceFocusFlag ? 1 : 0;
  if (device.deviceFocusFlag) record->focusValue = 0;
  std::memcpy(record->focusRect, focusRect, sizeof record->focusRect);
  record->autoLampBrightness = device.lampBrightnessDefault;
  return true;
}

void InitPreviewFrameRecord(FrameRecord* record) {
  const uint32_t id = GetDefault(gDefaults, kDefaultSettingsRecordId);
  if (id == 0 || !LoadSettingsRecord(static_cast<int32_t>(id), record, false)) InitFrameRecord(record, false);
  record->originX = 0.0;
  record->originY = 0.0;
  record->width = gScanAreaInches.width;
  record->height = gScanAreaInches.height;
}
