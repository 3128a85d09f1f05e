#include "ui/session_hooks_install.h"

#include "frames/frame_panel_services.h"
#include "frames/mask_services.h"
#include "session/device_layer.h"
#include "session/frame_geometry.h"
#include "session/user_interface_hooks.h"
#include "ui/batch_end.h"
#include "ui/defaults_record.h"
#include "ui/main_dialog_support.h"
#include "ui/option_records.h"
#include "ui/pending_field_edit.h"
#include "ui/preview_geometry.h"
#include "ui/preview_param.h"
#include "ui/progress_panes.h"
#include "ui/ui_state_records.h"
#include "ui/units.h"

namespace {

PanelLimits DevicePanelLimits() {
  const uint16_t count = gResolutionList.count;
  if (count == 0) return PanelLimits{};
  const DeviceScaleLimits limits = GetDeviceScaleLimits();
  return PanelLimits{double(gResolutionList.values[0]), double(gResolutionList.values[count - 1]), limits.minPercent,
                     limits.maxPercent};
}

double ClampPanelScale(float scale, bool xAxis, bool linked, const FrameRecord* frame) {
  return linked ? ClampOutputScale(scale, xAxis) : ClampOutputResolution(scale, xAxis, frame);
}

}  // namespace

void InstallUserInterfaceSessionHooks() {
  SessionUserInterfaceHooks hooks;
  hooks.initDeviceCapabilities = InitDeviceCapabilities;
  hooks.loadOptionSelection = LoadOptionSelection;
  hooks.loadColourBalanceAndDefaults = LoadColourBalanceAndDefaults;
  hooks.saveColourBalanceAndDefaults = SaveColourBalanceAndDefaults;
  hooks.announceBatchEnd = AnnounceBatchEnd;
  hooks.saveUserInterfaceState = SaveUserInterfaceState;
  hooks.pushPreviewPane = PushProgressPreviewPane;
  hooks.drawRowsIntoPreviewPane = DrawRowsIntoProgressPane;
  hooks.popPreviewPane = PopProgressPreviewPane;
  hooks.freePaneBitmap = FreePaneBitmap;
  hooks.precheckBatchPreview = PrecheckBatchPreview;
  InstallSessionUserInterfaceHooks(hooks);

  FramePanelServices panel;
  panel.limits = DevicePanelLimits;
  panel.notePendingEdit = NotePendingFieldEdit;
  panel.unitFactor = UnitFactor;
  panel.clampScale = ClampPanelScale;
  panel.settleScanSize = ChooseScanResolution;
  InstallFramePanelServices(panel);
  InstallMaskZoomHook(UnzoomedRectToZoomed);
}
