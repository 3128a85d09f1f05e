#include "foundation/record_store.h"

#include <cstdio>
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

void FreeEntry(RecordDirectoryEntry* entry) {
  *entry = RecordDirectoryEntry{};
  entry->type = kFreeRecordType;
}

// Entries whose record does not lie whole inside the file (a damaged store)
// are left out: nothing reads, sizes or allocates by them, and the next
// directory written drops them.
bool EntryFitsFile(const RecordDirectoryEntry& entry, uint64_t fileSize) {
  return entry.offset >= kRecordDirectorySize && entry.size >= kRecordNameSize &&
         uint64_t{entry.offset} + entry.size <= fileSize;
}

void DropEntriesOutsideFile(RecordDirectory* dir, uint64_t fileSize) {
  for (auto& entry : dir->entries) {
    if (entry.used && !EntryFitsFile(entry, fileSize)) FreeEntry(&entry);
  }
}

// A file cut inside its directory keeps its bytes: they are copied aside, to
// the first free "<store>.damaged", "<store>.damaged2", ..., before the store
// starts afresh. False when the copy cannot be made; the store is then left alone.
bool SetDamagedStoreAside(FileHandle store, uint64_t size) {
  char path[kPathSize];
  if (!GetOpenFilePath(store, path, sizeof path)) return false;
  char aside[kPathSize + 16];
  std::snprintf(aside, sizeof aside, "%s.damaged", path);
  for (int n = 2; FileExists(aside) && n < 100; ++n) std::snprintf(aside, sizeof aside, "%s.damaged%d", path, n);
  uint8_t bytes[kRecordDirectorySize];
  if (FileExists(aside) || !ReadBytesAt(store, 0, bytes, static_cast<uint32_t>(size))) return false;
  FileHandle copy = CreateFileForWriting(aside);
  const bool copied = copy && WriteBytesAt(copy, 0, bytes, static_cast<uint32_t>(size));
  CloseFile(copy);
  return copied;
}

// Reads the directory with every entry checked against the file. An empty
// file is a new store and gets its empty directory. A file cut inside the
// directory is refused as it is, unless the operation writes: then its bytes
// are set aside and the store starts afresh.
bool LoadDirectory(FileHandle store, RecordDirectory* dir, bool writing) {
  uint64_t size = 0;
  if (!store || !GetFileSize(store, &size)) return false;
  if (size < kRecordDirectorySize) {
    if (size > 0 && !(writing && SetDamagedStoreAside(store, size))) return false;
    ResetDirectory(dir);
    return WriteDirectory(store, *dir);
  }
  if (!ReadBytesAt(store, 0, dir, kRecordDirectorySize)) return false;
  DropEntriesOutsideFile(dir, size);
  return true;
}

bool ReadDirectory(FileHandle store, RecordDirectory* dir) { return LoadDirectory(store, dir, false); }

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
  return where.dataSize == 0 || ReadBytesAt(store, uint64_t{where.offset} + kRecordNameSize, buffer, where.dataSize);
}

// Copies length bytes from one place of the file to another, through one
// buffer of at most kMoveChunk bytes, lowest first (so `to` must not lie
// inside the source behind `from`).
bool CopyWithin(FileHandle store, uint64_t from, uint64_t to, uint64_t length) {
  if (length == 0) return true;
  const uint32_t chunkSize = length < kMoveChunk ? static_cast<uint32_t>(length) : kMoveChunk;
  void* buffer = AllocBlock(chunkSize);
  if (!buffer) return false;
  bool ok = true;
  for (uint64_t done = 0; ok && done < length;) {
    const uint32_t chunk = length - done < chunkSize ? static_cast<uint32_t>(length - done) : chunkSize;
    ok = ReadBytesAt(store, from + done, buffer, chunk) && WriteBytesAt(store, to + done, buffer, chunk);
    done += chunk;
  }
  FreeBlock(buffer);
  return ok;
}

// The entries behind `offset` move by the difference between their new and
// old start of the tail; the record at `offset` is freed.
void MoveTail(RecordDirectory* dir, uint32_t offset, uint64_t oldTail, uint64_t newTail) {
  for (auto& entry : dir->entries) {
    if (!entry.used) continue;
    if (entry.offset == offset) {
      FreeEntry(&entry);
    } else if (entry.offset > offset) {
      entry.offset = static_cast<uint32_t>(entry.offset - oldTail + newTail);
    }
  }
}

// Removes the record at `offset` (`size` bytes long) and closes its gap so
// that a failure at any step leaves a directory that agrees with the data:
// the records behind the gap are first copied to the end of the file and the
// directory pointed at that copy; only then are they copied down over the
// gap, the directory pointed there, and the file cut. The result is whether
// the record is gone; a failure after that only leaves unused bytes.
bool CloseGap(FileHandle store, RecordDirectory* dir, uint32_t offset, uint32_t size) {
  uint64_t fileSize = 0;
  if (!GetFileSize(store, &fileSize)) return false;
  const uint64_t tailStart = uint64_t{offset} + size;
  const uint64_t tail = fileSize - tailStart;
  if (tail == 0) {
    MoveTail(dir, offset, tailStart, tailStart);
    if (!WriteDirectory(store, *dir)) return false;
    SetFileSize(store, offset);
    return true;
  }
  if (fileSize + tail > UINT32_MAX) return false;
  RecordDirectory shadowed = *dir;
  MoveTail(&shadowed, offset, tailStart, fileSize);
  if (!CopyWithin(store, tailStart, fileSize, tail) || !WriteDirectory(store, shadowed)) {
    SetFileSize(store, fileSize);
    return false;
  }
  MoveTail(dir, offset, tailStart, offset);
  if (CopyWithin(store, fileSize, offset, tail) && WriteDirectory(store, *dir)) SetFileSize(store, offset + tail);
  return true;
}

bool DeleteSlot(FileHandle store, RecordDirectory* dir, int slot) {
  return CloseGap(store, dir, dir->entries[slot].offset, dir->entries[slot].size);
}

bool IdUsed(const RecordDirectory& dir, int64_t id) {
  for (const auto& entry : dir.entries)
    if (entry.used && entry.id == id) return true;
  return false;
}

// 1 + the largest id of any type, at least floor + 1. When the largest id is
// the top of the range, the lowest id above the floor that no record uses,
// else the lowest unused fresh id (there are more ids than slots).
int32_t NextUniqueId(const RecordDirectory& dir, int32_t floor) {
  int32_t largest = floor;
  for (const auto& entry : dir.entries)
    if (entry.used && entry.id > largest) largest = entry.id;
  if (largest < INT32_MAX) return largest + 1;
  int64_t candidate = int64_t{floor} + 1;
  while (candidate <= INT32_MAX && IdUsed(dir, candidate)) ++candidate;
  if (candidate > INT32_MAX)
    for (candidate = kFirstUniqueRecordId; IdUsed(dir, candidate);) ++candidate;
  return static_cast<int32_t>(candidate);
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

bool RecordStoreIsDamaged(FileHandle store) {
  uint64_t size = 0;
  if (!store || !GetFileSize(store, &size) || size == 0) return false;
  RecordDirectory dir;
  if (size < kRecordDirectorySize || !ReadBytesAt(store, 0, &dir, kRecordDirectorySize)) return true;
  for (const auto& entry : dir.entries) {
    if (entry.used && !EntryFitsFile(entry, size)) return true;
  }
  return false;
}

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
  return NextUniqueId(dir, kFirstUniqueRecordId - 1);
}

int32_t RecordStoreUniqueIdAbove(FileHandle store, RecordType, int32_t floor) {
  RecordDirectory dir;
  if (!ReadDirectory(store, &dir)) return floor;
  return NextUniqueId(dir, floor);
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
  if (!LoadDirectory(store, &dir, true)) return false;
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
