#include "ui/preview_param.h"

#include <utility>

#include "foundation/file_io.h"
#include "foundation/paths.h"
#include "foundation/record_store.h"
#include "frames/frame_list.h"
#include "frames/orientation/preview_orientation.h"
#include "output/writer_progress.h"
#include "session/device_layer.h"
#include "session/frame_geometry.h"
#include "session/prescan.h"
#include "session/preview_files.h"
#include "session/preview_store.h"
#include "state/data_source_state.h"
#include "ui/preview_geometry.h"

namespace {

constexpr int32_t kImageAutomaticTitle = 16014;  // "Bild-Automatik"

// A restored preview keeps its stored size and is drawn by nobody; the
// progress window's cancel stops it.
class RestoredPreviewView : public PrescanView {
 public:
  void PreviewSize(int32_t* width, int32_t* height) override { *width = *height = 0; }
  bool StopRequested() override { return IsWriterCancelled(); }
  void DrawRows(int32_t, int32_t) override {}
  void ShowPrescanRunning(bool) override {}
};

}  // namespace

PreviewParamRecord MakePreviewParam(const FrameRecord& frameTemplate, const UiRect& previewRect, uint32_t zoomFactor,
                                    double scanAreaWidth, double scanAreaHeight, bool quarterTurn) {
  PreviewParamRecord record = {};
  record.frameTemplate = frameTemplate;
  record.previewRect = previewRect;
  if (quarterTurn) {
    record.previewRect.right = previewRect.left + (previewRect.bottom - previewRect.top);
    record.previewRect.bottom = previewRect.top + (previewRect.right - previewRect.left);
  }
  record.zoomFactor = zoomFactor;
  record.scanAreaWidth = scanAreaWidth;
  record.scanAreaHeight = scanAreaHeight;
  return record;
}

bool SavePreviewParam(const PreviewParamRecord& record) {
  RecordStoreDeleteRange(gDeviceStore, kPreviewParamRecordType, 0, 0);
  return RecordStoreAdd(gDeviceStore, kPreviewParamRecordType, kPreviewParamRecordId, &record, sizeof(record),
                        "PreviewParam");
}

bool LoadPreviewParam(PreviewParamRecord* record) {
  uint32_t size = 0;
  if (!RecordStoreSize(gDeviceStore, kPreviewParamRecordType, kPreviewParamRecordId, &size) ||
      size != sizeof(*record)) {
    return false;
  }
  return RecordStoreRead(gDeviceStore, kPreviewParamRecordType, kPreviewParamRecordId, record, sizeof(*record));
}

void StorePreviewParam() {
  const UiRect rect{gPreviewClientRect.left, gPreviewClientRect.top, gPreviewClientRect.right,
                    gPreviewClientRect.bottom};
  SavePreviewParam(MakePreviewParam(gScanFrame, rect, kPreviewMagnification, gPreviewExtentWidth,
                                    gPreviewExtentHeight, OrientationSwapAxes() != 0));
}

bool RestorePreviewParam(bool keepFrames) {
  PreviewParamRecord record;
  if (!LoadPreviewParam(&record)) return false;
  char path[kPathSize];
  if (PreviewFilePath(kPrescanFile, path)) DeleteFileAt(path);
  if (!keepFrames) {
    FrameListNode* node = NewFrameNode(record.frameTemplate);
    if (!node) return false;
    DeleteAllFrames();
    AppendFrameNode(node);
  }

  // The stored rectangle is in the image's axes; the control's are turned.
  const UiRect& stored = record.previewRect;
  int32_t width = stored.right - stored.left, height = stored.bottom - stored.top;
  if (OrientationSwapAxes()) std::swap(width, height);
  gPreviewClientRect = WinRect{stored.left, stored.top, stored.left + width, stored.top + height};
  gPreviewExtentWidth = record.scanAreaWidth;
  gPreviewExtentHeight = record.scanAreaHeight;
  gPreviewZoomed = false;
  FrameRecord& pass = gDataSourceState.frameStateArea.scratchFrame;
  pass.originX = pass.originY = 0.0;
  pass.width = record.scanAreaWidth;
  pass.height = record.scanAreaHeight;
  SetupPrescanFrame(&pass, width, height);
  FreePreviewBuffers();
  RestoredPreviewView view;
  return RunPrescan(view, true) == 0;
}

bool PrecheckBatchPreview() {
  const bool feeder = DeviceHasOptionUnit() && gOptionUnitFlag != 0;
  if (!gBatchOutput || !feeder || CountFrames() == 0) return true;
  OpenWriterProgress(false, kImageAutomaticTitle, 0);
  const bool restored = RestorePreviewParam(true);
  CloseWriterProgress();
  return restored;
}
