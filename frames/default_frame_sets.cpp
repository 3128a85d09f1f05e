#include "frames/default_frame_sets.h"

#include "foundation/record_store.h"
#include "foundation/system.h"
#include "state/data_source_state.h"

void InstallDefaultFrameSets(const char* type) {
  const RecordType recordType = TagFromString(type);
  if (!gDeviceStore || RecordStoreCount(gDeviceStore, recordType) > 0) return;
  const ModuleHandle module = GetModuleInstance();
  for (uint32_t id : CustomResourceIds(module, type)) {
    uint32_t size = 0;
    const void* bytes = LoadCustomResource(module, type, id, &size);
    if (!bytes) continue;
    char name[kRecordNameSize] = "";
    LoadResourceString(module, id + kDefaultFrameSetNameStrings, name, sizeof name);
    RecordStoreAdd(gDeviceStore, recordType, RecordStoreUniqueId(gDeviceStore, recordType), bytes, size, name);
  }
}

void InstallAllDefaultFrameSets() {
  for (const char* type : {"FRsA", "FRsD", "FRsO", "FRs0", "FRs1", "FRs2", "FRs3", "FRs4", "FRs5", "FRs6", "FRs7",
                           "FRs8", "FRs9"})
    InstallDefaultFrameSets(type);
}
