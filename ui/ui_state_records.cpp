#include "ui/ui_state_records.h"

#include "frames/frame_migration.h"
#include "tone/gradation_presets.h"

// The start-up passes of the frame lists, frame sets and gradation presets, in their order.
void InitToneTools() {
  MigrateFrameListTypes();
  MigrateFrameSetTypes();
  MigrateGradationPresets();
  UpgradeAllFrameListRecords();
  UpgradeAllFrameSetRecords();
}

// Not built yet: there is no user-interface state to load or save.
void InitDeviceCapabilities() {}
void SavePreviewBox() {}
void SaveDialogPositions() {}
void SaveColourBalanceAndDefaults() {}
void SaveToolStripFlag() {}

// Not built yet: the frame keeps what it holds.
int InitPreviewFrameRecordCb(FrameRecord*) { return 0; }
