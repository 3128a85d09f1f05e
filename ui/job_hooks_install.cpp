#include "ui/job_hooks_install.h"

#include "frames/frame_panel.h"
#include "output/job_hooks.h"
#include "state/data_source_state.h"
#include "ui/dialog_shell.h"
#include "ui/job_auto_adjust.h"
#include "ui/main_dialog_support.h"
#include "ui/monitor_matching.h"
#include "ui/ui_state_records.h"

void InstallUserInterfaceJobHooks() {
  JobWindowHooks hooks;
  hooks.clampOutputResolution = ClampOutputResolution;
  hooks.setupMonitorMatching = [] { SetupMonitorMatching(gDefaults); };
  hooks.initScanFrame = [] { InitPreviewFrameRecordCb(&gScanFrame); };
  hooks.relayoutPreview = RelayoutMainPreview;
  hooks.autoAdjustFile = AutoAdjustFileEntry;
  hooks.resetEditor = [] {
    ResetUiState();
    UpdateFramePanelEnabling();
  };
  hooks.refreshEditor = RefreshMainEditor;
  InstallJobWindowHooks(hooks);
}
