// The frame record, frame list and frame-set upgrades on fuzzed records: the
// bytes as one record of each stored kind, then every upgrade pass.
#include <cstring>
#include <string>

#include "foundation/record_store.h"
#include "frames/frame_migration.h"
#include "frames/frame_record_types.h"
#include "frames/frame_record_upgrade.h"
#include "tools/fuzz/fuzz_target.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FrameRecord frame;
  uint32_t oldSize = 0;
  UpgradeFrameRecord(data, static_cast<uint32_t>(size), &frame, &oldSize);

  const std::string path = WriteFuzzFile("zir_fuzz_frames.prf", nullptr, 0);
  FileHandle store = path.empty() ? nullptr : OpenExistingFile(path.c_str());
  if (!store) return 0;
  const OriginalKind kind = {false, 0, false};
  const RecordType listType = FrameSetRecordType(false, kind);
  const RecordType setType = FrameSetRecordType(true, kind);
  const RecordType oldListType = OldFrameSetRecordType(false, kind);
  const RecordType oldSetType = OldFrameSetRecordType(true, kind);
  for (RecordType type : {listType, setType, oldListType, oldSetType}) {
    RecordStoreAdd(store, type, 128, data, static_cast<uint32_t>(size), "Fuzz");
  }
  DefaultsBlock defaults;
  std::memset(&defaults, 0, sizeof defaults);
  MigrateOldFrameListRecords(store, oldListType, listType, defaults);
  MigrateOldFrameSetRecords(store, oldSetType, setType, defaults);
  UpgradeFrameListRecords(store, listType);
  UpgradeFrameSetRecords(store, setType);
  CloseFile(store);
  return 0;
}
