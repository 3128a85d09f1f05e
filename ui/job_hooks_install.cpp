#include "ui/job_hooks_install.h"

#include "frames/frame_panel.h"
#include "output/job_hooks.h"
#include "session/preview_store.h"
#include "state/data_source_state.h"
#include "ui/dialog_shell.h"
#include "ui/job_auto_adjust.h"
#include "ui/job_thumbnail_platform.h"
#include "ui/main_dialog_support.h"
#include "ui/monitor_matching.h"
#include "ui/preview_geometry.h"
#include "ui/ui_state_records.h"
#include "ui/units.h"

namespace {

// The frame on the unprocessed preview image, in its stored axes.
WinRect FrameOnPreview(const FrameRecord& f) {
  const Rect16 r = FrameToPreviewRect(f.originX, f.originY, f.width, f.height, false, nullptr);
  return WinRect{r.left, r.top, r.right, r.bottom};
}

bool FramePreviewRect(const FrameRecord& frame, WinRect* rect) {
  if (gPreviewClientRect.right <= gPreviewClientRect.left || gPreviewClientRect.bottom <= gPreviewClientRect.top)
    return false;
  *rect = FrameOnPreview(frame);
  return true;
}

bool RenderFrameThumbnail(const FrameRecord& frame, uint8_t flipX, uint8_t flipY, uint8_t swapAxes, void* bitmap,
                          const WinRect& rect, WinRect* previewBox, WinRect* framePreview) {
  const WinRect source = FrameOnPreview(frame);
  if (!RenderPreviewThumbnail(source, flipX, flipY, swapAxes, bitmap, rect)) return false;
  *previewBox = gPreviewClientRect;
  *framePreview = source;
  return true;
}

}  // namespace

void InstallUserInterfaceJobHooks() {
  JobWindowHooks hooks;
  hooks.clampOutputResolution = ClampOutputResolution;
  hooks.setupMonitorMatching = [] { SetupMonitorMatching(gDefaults); };
  hooks.initScanFrame = [] { InitPreviewFrameRecordCb(&gScanFrame); };
  hooks.unitFactor = UnitFactor;
  hooks.framePreviewRect = FramePreviewRect;
  hooks.renderFrameThumbnail = RenderFrameThumbnail;
  hooks.drawMatchedThumbnail = DrawMatchedThumbnail;
  hooks.relayoutPreview = RelayoutMainPreview;
  hooks.autoAdjustFile = AutoAdjustFileEntry;
  hooks.resetEditor = [] {
    ResetUiState();
    UpdateFramePanelEnabling();
  };
  hooks.refreshEditor = RefreshMainEditor;
  InstallJobWindowHooks(hooks);
}
