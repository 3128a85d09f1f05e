#include "frames/frame_migration.h"

#include <cstring>
#include <vector>

#include "foundation/record_store.h"
#include "frames/frame_record_types.h"
#include "frames/frame_record_upgrade.h"
#include "frames/frame_sets.h"
#include "frames/frame_storage.h"
#include "records/frame_record.h"
#include "state/data_source_state.h"

namespace {

// Every kind of original, so that each pass covers all type codes: reflective,
// transparency, option unit slot 0, slots 1 to 9.
std::vector<OriginalKind> AllKinds() {
  std::vector<OriginalKind> kinds = {{false, 0, false}, {false, 0, true}, {true, 0, false}};
  for (int16_t slot = 1; slot <= 9; ++slot) kinds.push_back({true, slot, false});
  return kinds;
}

struct StoredRecord {
  int32_t id;
  char name[kRecordNameSize];
  std::vector<uint8_t> data;
};

// The type's records in slot order, read before any of them is replaced.
std::vector<StoredRecord> ReadAll(FileHandle store, RecordType type) {
  std::vector<StoredRecord> records;
  const int count = RecordStoreCount(store, type);
  for (int index = 1; index <= count; ++index) {
    StoredRecord record{};
    uint32_t size = 0;
    if (!RecordStoreIdAtIndex(store, type, index, &record.id) || !RecordStoreSize(store, type, record.id, &size) ||
        !RecordStoreNameById(store, type, record.id, record.name))
      continue;
    record.data.resize(size);
    if (size > 0 && !RecordStoreRead(store, type, record.id, record.data.data(), size)) continue;
    records.push_back(std::move(record));
  }
  return records;
}

uint16_t CountOf(const std::vector<uint8_t>& set) {
  uint16_t count = 0;
  if (set.size() >= sizeof count) std::memcpy(&count, set.data(), sizeof count);
  return count;
}

FrameRecord ConvertOld(const uint8_t* bytes, const DefaultsBlock& defaults) {
  OldFrameRecord old;
  std::memcpy(&old, bytes, sizeof old);
  FrameRecord frame;
  ConvertOldFrameRecord(&old, &frame, defaults);
  return frame;
}

bool Store(FileHandle store, RecordType type, int32_t id, const void* data, size_t size, const char* name) {
  return RecordStoreAdd(store, type, id, data, static_cast<uint32_t>(size), name);
}

// The set with every frame in the current layout; empty when nothing was
// converted or a frame's layout is unknown (its size, and so the next
// frame, cannot be found).
// The set grows frame by frame: a count larger than the record allocates
// nothing before it is found out.
std::vector<uint8_t> UpgradedSet(const std::vector<uint8_t>& set) {
  const uint16_t count = CountOf(set);
  if (set.size() < kFrameSetCountSize) return {};
  std::vector<uint8_t> upgraded(kFrameSetCountSize, 0);
  std::memcpy(upgraded.data(), &count, sizeof count);
  bool converted = false;
  size_t source = kFrameSetCountSize;
  for (uint16_t n = 0; n < count; ++n) {
    FrameRecord frame;
    std::memset(&frame, 0, sizeof frame);
    uint32_t oldSize = 0;
    converted |= UpgradeFrameRecord(set.data() + source, static_cast<uint32_t>(set.size() - source), &frame, &oldSize);
    if (oldSize == 0) return {};
    const auto* bytes = reinterpret_cast<const uint8_t*>(&frame);
    upgraded.insert(upgraded.end(), bytes, bytes + sizeof frame);
    source += oldSize;
  }
  return converted ? upgraded : std::vector<uint8_t>();
}

}  // namespace

void MigrateOldFrameListRecords(FileHandle store, RecordType oldType, RecordType newType,
                                const DefaultsBlock& defaults) {
  const std::vector<StoredRecord> old = ReadAll(store, oldType);
  if (old.empty()) return;
  bool stored = true;
  int32_t id = kFirstFrameRecordId;
  for (const StoredRecord& record : old) {
    if (record.data.size() != kOldFrameRecordSize) continue;
    const FrameRecord frame = ConvertOld(record.data.data(), defaults);
    stored = Store(store, newType, id++, &frame, sizeof frame, record.name) && stored;
  }
  if (stored) RecordStoreDeleteRange(store, oldType, 0, 0);
}

void MigrateOldFrameSetRecords(FileHandle store, RecordType oldType, RecordType newType,
                               const DefaultsBlock& defaults) {
  const std::vector<StoredRecord> old = ReadAll(store, oldType);
  if (old.empty()) return;
  bool stored = true;
  for (const StoredRecord& record : old) {
    const uint16_t count = CountOf(record.data);
    if (record.data.size() != kFrameSetCountSize + count * kOldFrameRecordSize) continue;
    std::vector<uint8_t> set(kFrameSetCountSize + count * kFrameRecordSize);
    std::memcpy(set.data(), &count, sizeof count);
    for (uint16_t n = 0; n < count; ++n) {
      const FrameRecord frame = ConvertOld(record.data.data() + kFrameSetCountSize + n * kOldFrameRecordSize, defaults);
      std::memcpy(set.data() + kFrameSetCountSize + n * kFrameRecordSize, &frame, sizeof frame);
    }
    stored = Store(store, newType, RecordStoreUniqueId(store, newType), set.data(), set.size(), record.name) && stored;
  }
  if (stored) RecordStoreDeleteRange(store, oldType, 0, 0);
}

void UpgradeFrameListRecords(FileHandle store, RecordType type) {
  for (const StoredRecord& record : ReadAll(store, type)) {
    FrameRecord frame;
    std::memset(&frame, 0, sizeof frame);
    if (UpgradeFrameRecord(record.data.data(), static_cast<uint32_t>(record.data.size()), &frame, nullptr))
      Store(store, type, record.id, &frame, sizeof frame, record.name);
  }
}

void UpgradeFrameSetRecords(FileHandle store, RecordType type) {
  for (const StoredRecord& record : ReadAll(store, type)) {
    const std::vector<uint8_t> upgraded = UpgradedSet(record.data);
    if (!upgraded.empty()) Store(store, type, record.id, upgraded.data(), upgraded.size(), record.name);
  }
}

void MigrateFrameListTypes() {
  for (const OriginalKind& kind : AllKinds())
    MigrateOldFrameListRecords(gDeviceStore, OldFrameSetRecordType(false, kind), FrameSetRecordType(false, kind),
                               gDefaults);
}

void MigrateFrameSetTypes() {
  for (const OriginalKind& kind : AllKinds())
    MigrateOldFrameSetRecords(gAppStore, OldFrameSetRecordType(true, kind), FrameSetRecordType(true, kind),
                              gDefaults);
}

void UpgradeAllFrameListRecords() {
  for (const OriginalKind& kind : AllKinds()) UpgradeFrameListRecords(gDeviceStore, FrameSetRecordType(false, kind));
}

void UpgradeAllFrameSetRecords() {
  for (const OriginalKind& kind : AllKinds()) UpgradeFrameSetRecords(gAppStore, FrameSetRecordType(true, kind));
}
