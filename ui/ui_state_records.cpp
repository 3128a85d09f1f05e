#include "ui/ui_state_records.h"

#include <cstring>

#include "color/color_management.h"
#include "color/color_profile_set.h"
#include "foundation/curves/curve_spline.h"
#include "frames/frame_list.h"
#include "frames/frame_migration.h"
#include "frames/frame_record_init.h"
#include "frames/frame_storage.h"
#include "session/device_chooser.h"
#include "session/device_state.h"
#include "session/scan_session.h"
#include "state/data_source_state.h"
#include "tone/gradation_presets.h"
#include "tone/tone_engine_state.h"
#include "ui/defaults_record.h"
#include "ui/monitor_matching.h"
#include "ui/palette_state.h"
#include "ui/pending_field_edit.h"
#include "ui/preview_orientation_store.h"
#include "ui/window_state_records.h"

namespace {

// The offsets of a raising curve over the identity and of a lowering one under it.
void BuildToneOffsetTables() {
  const uint16_t low[5] = {0, 6, 27, 126, 255};
  const uint16_t high[5] = {0, 32, 83, 176, 255};
  uint8_t curve[256];
  FrameStateArea& area = gDataSourceState.frameStateArea;
  CurveSpline(low, high, 5, 255, curve);
  for (int i = 0; i < 256; ++i) area.toneOffsetRaise[i] = static_cast<uint8_t>(curve[i] > i ? curve[i] - i : 0);
  CurveSpline(high, low, 5, 255, curve);
  for (int i = 0; i < 256; ++i) area.toneOffsetLower[i] = static_cast<uint8_t>(curve[i] < i ? i - curve[i] : 0);
}

}  // namespace

void ResetUiState() {
  std::memset(gDataSourceState.activePoints, 1, sizeof gDataSourceState.activePoints);
  gIcmEnabled = IsColorSystemLoaded() ? 1 : 0;
  FreeMonitorTransform();
  gPipetteKind = 0;
  LoadColourBalanceAndDefaults();
  RebuildColorTransforms();
  NotePendingFieldEdit(false, kNoPendingEdit);
  BuildToneOffsetTables();
  InitFrameRecord(&gDataSourceState.frameStateArea.scratchFrame, true);
  InitPreviewFrameRecord(&gScanFrame);
  LoadFrameList();
  gToneChannelMask = gCurrentFrame && gCurrentFrame->colorMode == 2 ? 14 : 1;
}

// The start-up passes of the frame lists, frame sets and gradation presets, in their order.
void InitToneTools() {
  MigrateFrameListTypes();
  MigrateFrameSetTypes();
  MigrateGradationPresets();
  UpgradeAllFrameListRecords();
  UpgradeAllFrameSetRecords();
}

// Not built yet: there is no device capability record and no tool-strip flag.
void InitDeviceCapabilities() {}
void SaveToolStripFlag() {}

void ReopenCurrentDevice() {
  for (uint16_t i = 0; i < gDeviceTable.count; ++i) {
    const DeviceEntry& entry = gDeviceTable.entries[i];
    if (entry.kind == gDeviceLayer.deviceKind && entry.index == gDeviceLayer.deviceIndex) {
      // The negative tool, which would be refreshed next, does not exist yet.
      OpenSourceDevice(entry);
      return;
    }
  }
}

void SaveUserInterfaceState() {
  SaveSelectedDevice();
  SavePreviewOrientation();
  SavePreviewBox();
  SaveFrameList();
  SaveDialogPositions();
  SaveColourBalanceAndDefaults();
  SaveToolStripFlag();
}

int InitPreviewFrameRecordCb(FrameRecord* frame) {
  InitPreviewFrameRecord(frame);
  return 0;
}
