#include "foundation/record_store.h"

#include <cstring>

#include "foundation/memory.h"
#include "foundation/paths.h"
#include "foundation/settings_folders.h"

namespace {

struct RecordDirectory {
  RecordDirectoryEntry entries[kRecordSlots];
};
static_assert(sizeof(RecordDirectory) == kRecordDirectorySize, "no padding");

// The tail behind a deleted record moves down through one buffer of at most this size.
constexpr uint32_t kMoveChunk = 512000;

struct Located {
  uint32_t offset;
  uint32_t dataSize;
};

void ResetDirectory(RecordDirectory* dir) {
  std::memset(dir, 0, sizeof *dir);
  for (auto& entry : dir->entries) entry.type = kFreeRecordType;
}

bool WriteDirectory(FileHandle store, const RecordDirectory& dir) {
  return WriteBytesAt(store, 0, &dir, kRecordDirectorySize);
}

// A file shorter than the directory (new, or cut short) becomes an empty store.
bool ReadDirectory(FileHandle store, RecordDirectory* dir) {
  uint64_t size = 0;
  if (!store || !GetFileSize(store, &size)) return false;
  if (size < kRecordDirectorySize) {
    ResetDirectory(dir);
    return WriteDirectory(store, *dir);
  }
  return ReadBytesAt(store, 0, dir, kRecordDirectorySize);
}

int SlotOfId(const RecordDirectory& dir, RecordType type, int32_t id) {
  for (int slot = 0; slot < kRecordSlots; ++slot) {
    const auto& entry = dir.entries[slot];
    if (entry.used && entry.type == type && entry.id == id) return slot;
  }
  return -1;
}

int SlotOfIndex(const RecordDirectory& dir, RecordType type, int index) {
  int rank = 0;
  for (int slot = 0; slot < kRecordSlots; ++slot) {
    const auto& entry = dir.entries[slot];
    if (entry.used && entry.type == type && ++rank == index) return slot;
  }
  return -1;
}

bool Locate(const RecordDirectory& dir, int slot, Located* where) {
  if (slot < 0 || dir.entries[slot].size < kRecordNameSize) return false;
  *where = Located{dir.entries[slot].offset, dir.entries[slot].size - kRecordNameSize};
  return true;
}

// Reads the directory and finds (type, id), or (type, index) when byIndex.
bool Find(FileHandle store, RecordType type, int32_t key, bool byIndex, RecordDirectory* dir, int* slot) {
  if (!ReadDirectory(store, dir)) return false;
  *slot = byIndex ? SlotOfIndex(*dir, type, key) : SlotOfId(*dir, type, key);
  return *slot >= 0;
}

bool ReadName(FileHandle store, const RecordDirectory& dir, int slot, char* name) {
  Located where;
  if (!Locate(dir, slot, &where) || !ReadBytesAt(store, where.offset, name, kRecordNameSize)) return false;
  name[kRecordNameSize - 1] = '\0';
  return true;
}

bool ReadData(FileHandle store, const RecordDirectory& dir, int slot, void* buffer, uint32_t capacity) {
  Located where;
  if (!Locate(dir, slot, &where) || where.dataSize > capacity) return false;
  return where.dataSize == 0 || ReadBytesAt(store, where.offset + kRecordNameSize, buffer, where.dataSize);
}

// Moves everything behind the record at `offset` (`size` bytes long) down
// over it, writes the directory with that record's entries freed and the
// later offsets lowered, and then cuts the file. The result is whether the
// directory was written: a failed move leaves the file uncut and the
// directory on disk as it was; a failed cut only leaves unused bytes at the end.
bool CloseGap(FileHandle store, RecordDirectory* dir, uint32_t offset, uint32_t size) {
  uint64_t fileSize = 0;
  if (!GetFileSize(store, &fileSize)) return false;
  bool inside = offset >= kRecordDirectorySize && uint64_t{offset} + size <= fileSize;
  uint64_t tail = inside ? fileSize - offset - size : 0;
  if (tail > 0) {
    uint32_t chunkSize = tail < kMoveChunk ? static_cast<uint32_t>(tail) : kMoveChunk;
    void* buffer = AllocBlock(chunkSize);
    if (!buffer) return false;
    uint64_t position = offset;
    for (uint64_t remaining = tail; remaining > 0;) {
      uint32_t chunk = remaining < chunkSize ? static_cast<uint32_t>(remaining) : chunkSize;
      if (!ReadBytesAt(store, position + size, buffer, chunk) || !WriteBytesAt(store, position, buffer, chunk)) {
        FreeBlock(buffer);
        return false;
      }
      position += chunk;
      remaining -= chunk;
    }
    FreeBlock(buffer);
  }
  for (auto& entry : dir->entries) {
    if (!entry.used) continue;
    if (entry.offset == offset) {
      entry = RecordDirectoryEntry{};
      entry.type = kFreeRecordType;
    } else if (inside && entry.offset > offset) {
      entry.offset -= size;
    }
  }
  if (!WriteDirectory(store, *dir)) return false;
  // An entry that pointed outside the file had no bytes to remove.
  if (inside) SetFileSize(store, offset + tail);
  return true;
}

bool DeleteSlot(FileHandle store, RecordDirectory* dir, int slot) {
  return CloseGap(store, dir, dir->entries[slot].offset, dir->entries[slot].size);
}

int32_t LargestId(const RecordDirectory& dir, int32_t start) {
  int32_t largest = start;
  for (const auto& entry : dir.entries)
    if (entry.used && entry.id > largest) largest = entry.id;
  return largest;
}

bool NameStartsWith(const char* name, const char* prefix) {
  return std::strncmp(name, prefix, std::strlen(prefix)) == 0;
}

}  // namespace

FileHandle OpenOrCreateFile(const char* fileName, const char* folder) {
  char path[kPathSize];
  if (folder && folder[0] != '\0') {
    path[0] = '\0';
    AppendToPath(path, folder);
  } else if (!GetSettingsFolder(path)) {
    return nullptr;
  }
  if (!AppendToPath(path, fileName)) return nullptr;
  return OpenFileReadWrite(path);
}

FileHandle OpenExistingFile(const char* path) { return OpenExistingFileReadWrite(path); }

int RecordStoreCount(FileHandle store, RecordType type) {
  RecordDirectory dir;
  if (!ReadDirectory(store, &dir)) return 0;
  int count = 0;
  for (const auto& entry : dir.entries)
    if (entry.used && entry.type == type) ++count;
  return count;
}

int32_t RecordStoreUniqueId(FileHandle store, RecordType) {
  RecordDirectory dir;
  if (!ReadDirectory(store, &dir)) return kFirstUniqueRecordId - 1;
  return LargestId(dir, kFirstUniqueRecordId - 1) + 1;
}

int32_t RecordStoreUniqueIdAbove(FileHandle store, RecordType, int32_t floor) {
  RecordDirectory dir;
  if (!ReadDirectory(store, &dir)) return floor;
  return LargestId(dir, floor) + 1;
}

bool RecordStoreFreeId(FileHandle store, RecordType type, int32_t* id, int32_t low, int32_t high) {
  RecordDirectory dir;
  if (!ReadDirectory(store, &dir)) return false;
  for (int32_t candidate = low; candidate < high; ++candidate) {
    if (SlotOfId(dir, type, candidate) < 0) {
      *id = candidate;
      return true;
    }
  }
  return false;
}

bool RecordStoreIdAtIndex(FileHandle store, RecordType type, int index, int32_t* id) {
  RecordDirectory dir;
  int slot;
  if (!Find(store, type, index, true, &dir, &slot)) return false;
  *id = dir.entries[slot].id;
  return true;
}

bool RecordStoreSize(FileHandle store, RecordType type, int32_t id, uint32_t* size) {
  RecordDirectory dir;
  int slot;
  Located where;
  if (!Find(store, type, id, false, &dir, &slot) || !Locate(dir, slot, &where)) return false;
  *size = where.dataSize;
  return true;
}

bool RecordStoreSizeByIndex(FileHandle store, RecordType type, int index, uint32_t* size) {
  RecordDirectory dir;
  int slot;
  Located where;
  if (!Find(store, type, index, true, &dir, &slot) || !Locate(dir, slot, &where)) return false;
  *size = where.dataSize;
  return true;
}

bool RecordStoreNameById(FileHandle store, RecordType type, int32_t id, char* name) {
  RecordDirectory dir;
  int slot;
  return Find(store, type, id, false, &dir, &slot) && ReadName(store, dir, slot, name);
}

bool RecordStoreNameByIndex(FileHandle store, RecordType type, int index, char* name) {
  RecordDirectory dir;
  int slot;
  return Find(store, type, index, true, &dir, &slot) && ReadName(store, dir, slot, name);
}

bool RecordStoreRead(FileHandle store, RecordType type, int32_t id, void* buffer, uint32_t capacity) {
  RecordDirectory dir;
  int slot;
  return Find(store, type, id, false, &dir, &slot) && ReadData(store, dir, slot, buffer, capacity);
}

bool RecordStoreReadIndexed(FileHandle store, RecordType type, int index, void* buffer, uint32_t capacity) {
  RecordDirectory dir;
  int slot;
  return Find(store, type, index, true, &dir, &slot) && ReadData(store, dir, slot, buffer, capacity);
}

bool RecordStoreFind(FileHandle store, RecordType type, const char* name, int32_t* id) {
  RecordDirectory dir;
  if (!ReadDirectory(store, &dir)) return false;
  char recordName[kRecordNameSize];
  for (int slot = 0; slot < kRecordSlots; ++slot) {
    const auto& entry = dir.entries[slot];
    if (entry.used && entry.type == type && ReadName(store, dir, slot, recordName) &&
        std::strcmp(recordName, name) == 0) {
      *id = entry.id;
      return true;
    }
  }
  return false;
}

bool RecordStoreFindPrefixExcept(FileHandle store, RecordType type, const char* prefix, int32_t* id,
                                 const NameNode* except) {
  RecordDirectory dir;
  if (!ReadDirectory(store, &dir)) return false;
  char recordName[kRecordNameSize];
  int position = 0;
  for (int slot = 0; slot < kRecordSlots; ++slot) {
    const auto& entry = dir.entries[slot];
    if (entry.used && entry.type == type && ReadName(store, dir, slot, recordName) &&
        NameStartsWith(recordName, prefix) && !FindNamePrefixInList(recordName, except, &position)) {
      *id = entry.id;
      return true;
    }
  }
  return false;
}

bool RecordStoreAdd(FileHandle store, RecordType type, int32_t id, const void* data, uint32_t size,
                    const char* name) {
  RecordDirectory dir;
  if (!ReadDirectory(store, &dir)) return false;
  // A replaced record gives up its slot, so the new record takes the first
  // slot that is free once the old one is gone.
  const int old = SlotOfId(dir, type, id);
  int slot = 0;
  while (slot < kRecordSlots && dir.entries[slot].used && slot != old) ++slot;
  uint64_t end = 0;
  if (slot == kRecordSlots || !GetFileSize(store, &end) || end + kRecordNameSize + size > UINT32_MAX) return false;

  // The new record goes behind everything else first; the old one is removed
  // only after that, so a failed write leaves the old record in place.
  char nameField[kRecordNameSize] = {};
  std::strncpy(nameField, name, kRecordNameSize - 1);
  if (!WriteBytesAt(store, end, nameField, kRecordNameSize) ||
      (size > 0 && !WriteBytesAt(store, end + kRecordNameSize, data, size))) {
    SetFileSize(store, end);
    return false;
  }
  const RecordDirectoryEntry replaced = old >= 0 ? dir.entries[old] : RecordDirectoryEntry{};
  auto& entry = dir.entries[slot];
  entry = RecordDirectoryEntry{};
  entry.used = 1;
  entry.type = type;
  entry.id = id;
  entry.offset = static_cast<uint32_t>(end);
  entry.size = size + kRecordNameSize;
  if (old >= 0 ? CloseGap(store, &dir, replaced.offset, replaced.size) : WriteDirectory(store, dir)) return true;
  // The directory on disk still lists the store as it was; drop the new record.
  SetFileSize(store, end);
  return false;
}

bool RecordStoreDelete(FileHandle store, RecordType type, int32_t id) {
  RecordDirectory dir;
  int slot;
  return Find(store, type, id, false, &dir, &slot) && DeleteSlot(store, &dir, slot);
}

bool RecordStoreDeleteIndexed(FileHandle store, RecordType type, int index) {
  RecordDirectory dir;
  int slot;
  return Find(store, type, index, true, &dir, &slot) && DeleteSlot(store, &dir, slot);
}

bool RecordStoreDeleteRange(FileHandle store, RecordType type, int32_t low, int32_t high) {
  const int rounds = RecordStoreCount(store, type);
  int index = 1;
  bool ok = true;
  for (int round = 0; round < rounds; ++round) {
    int32_t id = 0;
    if (!RecordStoreIdAtIndex(store, type, index, &id)) return false;
    bool inRange = (low == 0 || id >= low) && (high == 0 || id <= high);
    if (!inRange) {
      ++index;
    } else if (!RecordStoreDeleteIndexed(store, type, index)) {
      ok = false;
      ++index;  // a record that cannot be deleted is passed over
    }
  }
  return ok;
}

bool RecordStoreCopyType(FileHandle source, FileHandle target, const char* typeText) {
  const RecordType type = TagFromString(typeText);
  const int count = RecordStoreCount(source, type);
  bool ok = true;
  for (int index = 1; index <= count; ++index) {
    uint32_t size = 0;
    char name[kRecordNameSize];
    if (!RecordStoreSizeByIndex(source, type, index, &size)) return false;
    void* buffer = AllocBlock(size);
    if (!buffer) continue;  // a record too large for memory is skipped
    ok = RecordStoreReadIndexed(source, type, index, buffer, size) &&
         RecordStoreNameByIndex(source, type, index, name) &&
         RecordStoreAdd(target, type, RecordStoreUniqueId(target, type), buffer, size, name) && ok;
    FreeBlock(buffer);
  }
  return ok;
}
