#include "ui/preview_param.h"

#include "foundation/record_store.h"
#include "state/data_source_state.h"

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
