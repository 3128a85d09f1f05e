#include "output/dcs_options.h"

#include <cstring>
#include <vector>

#include "foundation/record_store.h"
#include "output/app_store_access.h"

void LoadDcsOptions(DcsOptions* options) {
  *options = DcsOptions{1, 0, 0};
  WithAppStore([options](FileHandle store) {
    uint32_t size = 0;
    if (!RecordStoreSize(store, kDcsOptionsType, kDcsOptionsId, &size) || size < sizeof(DcsOptions)) return false;
    std::vector<uint8_t> record(size);
    if (!RecordStoreRead(store, kDcsOptionsType, kDcsOptionsId, record.data(), size)) return false;
    DcsOptions stored;
    std::memcpy(&stored, record.data(), sizeof stored);
    if (stored.version != 1) return false;
    *options = stored;
    return true;
  });
}

bool SaveDcsOptions(const DcsOptions& options) {
  return WithAppStore([&options](FileHandle store) {
    RecordStoreDelete(store, kDcsOptionsType, kDcsOptionsId);
    return RecordStoreAdd(store, kDcsOptionsType, kDcsOptionsId, &options, sizeof options, kDcsOptionsName);
  });
}
