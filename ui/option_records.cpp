#include "ui/option_records.h"

#include <algorithm>

#include "foundation/record_store.h"
#include "session/device_layer.h"
#include "state/data_source_state.h"
#include "ui/dialog_size_record.h"
#include "ui/screen.h"
#include "ui/ui_rect.h"

bool LoadOptionSelection() {
  gOptionSlot = 0;
  if (!DeviceHasOptionUnit()) {
    StoreOptionSelection(false);
    return false;
  }
  int16_t slot = 0;
  if (!RecordStoreReadIndexed(gDeviceStore, kOptionRecordType, 1, &slot, sizeof(slot))) return false;
  gOptionSlot = std::max<int16_t>(0, std::min(slot, DeviceHighestOptionSlot()));
  return true;
}

void StoreOptionSelection(bool on) {
  RecordStoreDeleteRange(gDeviceStore, kOptionRecordType, 0, 0);
  if (on) {
    RecordStoreAdd(gDeviceStore, kOptionRecordType, kOptionRecordId, &gOptionSlot, sizeof(gOptionSlot), "Use_Option");
  }
}

bool LoadLightSource() {
  if (!DeviceHasTransparencyUnit()) {
    StoreLightSource(false);
    return false;
  }
  if (!DeviceOffersReflective()) {
    StoreLightSource(true);
    return true;
  }
  return RecordStoreCount(gDeviceStore, kLightSourceRecordType) > 0;
}

void StoreLightSource(bool transparency) {
  RecordStoreDeleteRange(gDeviceStore, kLightSourceRecordType, 0, 0);
  if (transparency) RecordStoreAdd(gDeviceStore, kLightSourceRecordType, kLightSourceRecordId, nullptr, 0, "Trans");
}

void CheckScreenGeometry(bool dropSizes) {
  const UiRect current = CurrentScreenRect();
  UiRect stored = {};
  uint32_t size = 0;
  const bool haveStored = RecordStoreSizeByIndex(gAppStore, kScreenGeometryRecordType, 1, &size) &&
                          size == sizeof(stored) &&
                          RecordStoreReadIndexed(gAppStore, kScreenGeometryRecordType, 1, &stored, sizeof(stored));
  if (haveStored && stored == current) return;

  RecordStoreDeleteRange(gAppStore, kScreenGeometryRecordType, 0, 0);
  const bool shrank = !haveStored || stored.bottom > current.bottom || stored.right > current.right;
  if (dropSizes && shrank) {
    RecordStoreDelete(gAppStore, kDialogSizeRecordType,
                      DialogSizeRecordId(gLightSourceFlag != 0, gOptionUnitFlag != 0, gOptionSlot, false));
  }
  RecordStoreAdd(gAppStore, kScreenGeometryRecordType, kScreenGeometryRecordId, &current, sizeof(current),
                 "Screen_Geometry");
}

void WriteVersionRecord(FileHandle store, uint32_t version) {
  RecordStoreDelete(store, kVersionRecordType, kVersionRecordId);
  RecordStoreAdd(store, kVersionRecordType, kVersionRecordId, &version, sizeof(version), "");
}

uint32_t ReadVersionRecord(FileHandle store) {
  uint32_t version = 0;
  if (!RecordStoreRead(store, kVersionRecordType, kVersionRecordId, &version, sizeof(version))) return 0;
  return version;
}
