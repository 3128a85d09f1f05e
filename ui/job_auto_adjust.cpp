#include "ui/job_auto_adjust.h"

#include <algorithm>

#include "foundation/file_io.h"
#include "foundation/paths.h"
#include "session/device_layer.h"
#include "session/device_state.h"
#include "session/frame_geometry.h"
#include "session/preview_files.h"
#include "session/preview_store.h"
#include "state/data_source_state.h"
#include "tone/auto_adjust.h"
#include "tone/tone_engine_state.h"
#include "ui/preview_geometry.h"
#include "ui/preview_param.h"

namespace {

// The longer side of the preview the adjustment measures.
constexpr double kAutoPreviewSide = 600.0;

// What the adjustment borrows of the main window's preview state.
struct PreviewState {
  ScanAreaInches scanArea = gScanAreaInches;
  WinRect clientRect = gPreviewClientRect;
  double extentWidth = gPreviewExtentWidth;
  double extentHeight = gPreviewExtentHeight;
  bool zoomed = gPreviewZoomed;
  DRect zoomBox = gZoomBox;
  FrameRecord pass = gDataSourceState.frameStateArea.scratchFrame;

  void PutBack() const {
    gScanAreaInches = scanArea;
    gPreviewClientRect = clientRect;
    gPreviewExtentWidth = extentWidth;
    gPreviewExtentHeight = extentHeight;
    gPreviewZoomed = zoomed;
    gZoomBox = zoomBox;
    gDataSourceState.frameStateArea.scratchFrame = pass;
  }
};

}  // namespace

bool AutoAdjustFileEntry(const char*, const FrameRecord& frame) {
  const PreviewState saved;
  ComputeScanAreaInches();
  const double width = gDeviceLayer.imageWidth, height = gDeviceLayer.imageHeight;
  if (width < 1.0 || height < 1.0) return true;
  const double scale = std::max(width * (1.0 / kAutoPreviewSide), height * (1.0 / kAutoPreviewSide));
  const int32_t boxWidth = static_cast<int32_t>(width / scale + 0.5);
  const int32_t boxHeight = static_cast<int32_t>(height / scale + 0.5);

  FrameRecord scratch = saved.pass;
  scratch.originX = frame.originX;
  scratch.originY = frame.originY;
  scratch.width = frame.width;
  scratch.height = frame.height;
  SetupPrescanFrame(&scratch, boxWidth, boxHeight);
  const PreviewParamRecord record = MakePreviewParam(scratch, UiRect{0, 0, boxWidth, boxHeight}, kPreviewMagnification,
                                                     gScanAreaInches.width, gScanAreaInches.height, false);
  const bool restored = SavePreviewParam(record) && RestorePreviewParam(true);
  if (restored) {
    BindToneEngine(ToneEngineSources{&gCurrentFrame, &gDefaults, &gLightSourceFlag});
    RunAutoAdjust(true, true);
  }
  // The prescan file now holds the entry's image: no zoom of the main
  // window's image may be cut from it.
  char path[kPathSize];
  if (PreviewFilePath(kPrescanFile, path)) DeleteFileAt(path);
  saved.PutBack();
  return !restored;
}
