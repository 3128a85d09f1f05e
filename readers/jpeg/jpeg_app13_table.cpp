#include "readers/jpeg/jpeg_app13_table.h"

#include <new>

namespace {

constexpr int kEntries = 30;

struct Entry {
  const void* owner = nullptr;
  std::vector<uint8_t> content;
};

Entry gEntries[kEntries];
int gNextEntry = 0;

Entry* EntryOf(const void* owner) {
  for (Entry& entry : gEntries) {
    if (entry.owner == owner) return &entry;
  }
  return nullptr;
}

}  // namespace

void SaveApp13(const void* owner, const uint8_t* content, uint32_t size) {
  Entry* entry = EntryOf(owner);
  if (!entry) {
    entry = &gEntries[gNextEntry];
    gNextEntry = (gNextEntry + 1) % kEntries;
    entry->owner = owner;
  }
  std::vector<uint8_t>().swap(entry->content);
  try {
    entry->content.assign(content, content + size);
  } catch (const std::bad_alloc&) {
    // The entry stays empty: the reader then has no resources.
  }
}

const std::vector<uint8_t>* FindApp13(const void* owner) {
  Entry* entry = EntryOf(owner);
  return entry ? &entry->content : nullptr;
}

void ReleaseApp13(const void* owner) {
  Entry* entry = EntryOf(owner);
  if (!entry) return;
  entry->owner = nullptr;
  std::vector<uint8_t>().swap(entry->content);
}
