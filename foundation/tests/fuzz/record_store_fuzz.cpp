// The record store on a fuzzed file: every call of the store, reads before
// writes, then the writes (add, replace, delete, range delete) on what is left.
#include <cstring>
#include <string>
#include <vector>

#include "foundation/record_store.h"
#include "tools/fuzz/fuzz_target.h"

namespace {

// The type of the directory's first entry, when the file has one.
RecordType FirstType(const uint8_t* data, size_t size) {
  RecordDirectoryEntry entry = {};
  if (size >= sizeof entry) std::memcpy(&entry, data, sizeof entry);
  return entry.type;
}

void ReadEverything(FileHandle store, RecordType type) {
  const int count = RecordStoreCount(store, type);
  for (int index = 1; index <= count; ++index) {
    int32_t id = 0;
    uint32_t size = 0;
    char name[kRecordNameSize];
    if (!RecordStoreIdAtIndex(store, type, index, &id) || !RecordStoreSize(store, type, id, &size)) continue;
    RecordStoreNameById(store, type, id, name);
    RecordStoreNameByIndex(store, type, index, name);
    std::vector<uint8_t> record(size);
    RecordStoreRead(store, type, id, record.data(), size);
    RecordStoreReadIndexed(store, type, index, record.data(), size);
  }
  int32_t id = 0;
  RecordStoreFind(store, type, "Name", &id);
  RecordStoreUniqueId(store, type);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = WriteFuzzFile("zir_fuzz_store.prf", data, size);
  FileHandle store = path.empty() ? nullptr : OpenExistingFile(path.c_str());
  if (!store) return 0;
  const RecordType type = FirstType(data, size);
  RecordStoreIsDamaged(store);
  ReadEverything(store, type);
  const uint8_t bytes[100] = {1, 2, 3};
  const int32_t fresh = RecordStoreUniqueId(store, type);
  RecordStoreAdd(store, type, fresh, bytes, sizeof bytes, "Name");
  RecordStoreAdd(store, type, fresh, bytes, 10, "Name");  // replaces
  RecordStoreDeleteIndexed(store, type, 1);
  int32_t first = 0;
  if (RecordStoreIdAtIndex(store, type, 1, &first)) RecordStoreDelete(store, type, first);
  RecordStoreDeleteRange(store, type, 0, 0);
  ReadEverything(store, type);
  CloseFile(store);
  return 0;
}
