#include "store_view.h"

#include <cstdio>
#include <cstring>

#include "foundation/record_store.h"

namespace {

std::string Hex(const void* data, size_t n) {
  std::string text;
  char pair[3];
  for (size_t i = 0; i < n; ++i) {
    std::snprintf(pair, sizeof pair, "%02x", static_cast<const uint8_t*>(data)[i]);
    text += pair;
  }
  return text;
}

}  // namespace

std::vector<std::string> StoreView(FileHandle store) {
  std::vector<std::string> lines;
  for (const char* text : {"Set1", "Grad", "MASK", "AB", "Thmb", "ORs0"}) {
    const RecordType type = TagFromString(text);
    for (int index = 1; index <= RecordStoreCount(store, type); ++index) {
      int32_t id = 0;
      uint32_t size = 0;
      char name[64] = "";
      RecordStoreIdAtIndex(store, type, index, &id);
      RecordStoreSizeByIndex(store, type, index, &size);
      RecordStoreNameByIndex(store, type, index, name);
      std::vector<uint8_t> data(size);
      bool read = RecordStoreReadIndexed(store, type, index, data.data(), size);
      lines.push_back(Hex(&type, 4) + "\t" + std::to_string(index) + "\t" + std::to_string(id) + "\t" +
                      std::to_string(size) + "\t" + Hex(name, std::strlen(name)) + "\t" +
                      (read ? Hex(data.data(), size) : "unreadable"));
    }
  }
  return lines;
}
