// Record stores: flat files of typed, numbered, named records with a fixed
// directory at their start. Every operation reads the directory from the
// open file, acts, and writes the directory back last, so the file is the
// only state.
//
// File layout (little-endian):
//   0      directory: 1000 entries of 20 bytes, slot 0 first
//   20000  records in the order they were appended: a 64-byte name field
//          (zero-terminated, at most 63 characters), then the data
#pragma once

#include <cstddef>
#include <cstdint>

#include "foundation/file_io.h"
#include "foundation/name_list.h"
#include "foundation/record_type.h"

struct RecordDirectoryEntry {
  uint8_t used;         // 1 used, 0 free
  uint8_t reserved[3];  // written as zeros
  RecordType type;      // characters in reading order
  int32_t id;
  uint32_t offset;  // of the record's name field
  uint32_t size;    // 64 + data size
};
static_assert(sizeof(RecordDirectoryEntry) == 20, "20-byte entries");
static_assert(offsetof(RecordDirectoryEntry, type) == 4 && offsetof(RecordDirectoryEntry, id) == 8 &&
                  offsetof(RecordDirectoryEntry, offset) == 12 && offsetof(RecordDirectoryEntry, size) == 16,
              "entry layout");

constexpr int kRecordSlots = 1000;
constexpr uint32_t kRecordDirectorySize = kRecordSlots * sizeof(RecordDirectoryEntry);
constexpr uint32_t kRecordNameSize = 64;
constexpr RecordType kFreeRecordType = TagFromString("????");
// Fresh ids never go below this.
constexpr int32_t kFirstUniqueRecordId = 128;
static_assert(kRecordDirectorySize == 20000, "the records start at 20000");

// Opens the file in the folder (empty folder: the settings folder) for
// reading and writing, not shared, created when missing; null on failure.
FileHandle OpenOrCreateFile(const char* fileName, const char* folder);
// The same for an existing file given by its full path.
FileHandle OpenExistingFile(const char* path);
// CloseFile (foundation/file_io.h) closes a store.

// The alert text for a damaged store (resources/foundation.rc).
constexpr uint32_t kDamagedStoreString = 5010;
// A store cut inside its directory, or with entries whose record does not lie
// inside the file. Reads leave out what does not fit; the store still works.
bool RecordStoreIsDamaged(FileHandle store);

// Indexes are 1-based ranks among the used entries of a type in slot order.
int RecordStoreCount(FileHandle store, RecordType type);
// 1 + the largest id of any type, at least 128; 127 when the directory cannot be read.
int32_t RecordStoreUniqueId(FileHandle store, RecordType type);
// 1 + max(floor, largest id of any type); the floor itself when the directory cannot be read.
int32_t RecordStoreUniqueIdAbove(FileHandle store, RecordType type, int32_t floor);
// The smallest id in [low, high) that no record of the type uses.
bool RecordStoreFreeId(FileHandle store, RecordType type, int32_t* id, int32_t low, int32_t high);
bool RecordStoreIdAtIndex(FileHandle store, RecordType type, int index, int32_t* id);
// Data sizes (record size - 64).
bool RecordStoreSize(FileHandle store, RecordType type, int32_t id, uint32_t* size);
bool RecordStoreSizeByIndex(FileHandle store, RecordType type, int index, uint32_t* size);
// The record's name into a buffer of at least 64 bytes.
bool RecordStoreNameById(FileHandle store, RecordType type, int32_t id, char* name);
bool RecordStoreNameByIndex(FileHandle store, RecordType type, int index, char* name);
// Reads the data; false (and nothing read) when it is larger than the capacity.
bool RecordStoreRead(FileHandle store, RecordType type, int32_t id, void* buffer, uint32_t capacity);
bool RecordStoreReadIndexed(FileHandle store, RecordType type, int index, void* buffer, uint32_t capacity);
// The first record of the type whose name equals the text (case-sensitive).
bool RecordStoreFind(FileHandle store, RecordType type, const char* name, int32_t* id);
// The first record of the type whose name begins with the prefix and which
// no list entry matches (an entry matches when it is a prefix of the name).
bool RecordStoreFindPrefixExcept(FileHandle store, RecordType type, const char* prefix, int32_t* id,
                                 const NameNode* except);
// Adds the record, replacing one of the same type and id; names longer than
// 63 characters are cut. False when all slots are used or a write fails; a
// failed add leaves the store as it was.
bool RecordStoreAdd(FileHandle store, RecordType type, int32_t id, const void* data, uint32_t size,
                    const char* name);
// Removes the record and closes its gap at once.
bool RecordStoreDelete(FileHandle store, RecordType type, int32_t id);
bool RecordStoreDeleteIndexed(FileHandle store, RecordType type, int index);
// Deletes the records of the type with ids in [low, high]; 0 means no bound.
bool RecordStoreDeleteRange(FileHandle store, RecordType type, int32_t low, int32_t high);
// Copies every record of the type into the target under fresh ids.
bool RecordStoreCopyType(FileHandle source, FileHandle target, const char* typeText);
