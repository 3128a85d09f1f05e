#include "ui/preview_orientation_store.h"

#include "foundation/record_store.h"
#include "frames/orientation/preview_orientation.h"
#include "state/data_source_state.h"

bool LoadPreviewOrientation() {
  uint8_t bytes[kPreviewOrientationRecordSize];
  uint32_t size = 0;
  // Only a record of exactly the stored size is read; others fall back to the default.
  bool readable = RecordStoreCount(gDeviceStore, kPreviewOrientationRecordType) > 0 &&
                  RecordStoreSizeByIndex(gDeviceStore, kPreviewOrientationRecordType, 1, &size) &&
                  size == sizeof bytes &&
                  RecordStoreReadIndexed(gDeviceStore, kPreviewOrientationRecordType, 1, bytes, sizeof bytes);
  return LoadPreviewOrientationRecord(readable ? bytes : nullptr, readable ? size : 0);
}

void SavePreviewOrientation() {
  while (RecordStoreCount(gDeviceStore, kPreviewOrientationRecordType) > 0 &&
         RecordStoreDeleteIndexed(gDeviceStore, kPreviewOrientationRecordType, 1)) {
  }
  uint8_t bytes[kPreviewOrientationRecordSize];
  PreviewOrientationRecordBytes(bytes);
  RecordStoreAdd(gDeviceStore, kPreviewOrientationRecordType, kPreviewOrientationRecordId, bytes, sizeof bytes,
                 kPreviewOrientationRecordName);
}
