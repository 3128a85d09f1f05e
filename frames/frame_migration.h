// Start-up passes over the stores, run once before the first frame list is
// loaded: records under the old type codes are converted to the current
// types, and records of older layouts are brought to the current one.
#pragma once

#include "foundation/file_io.h"
#include "foundation/record_type.h"
#include "records/defaults_block.h"

// The device store's frame lists and the application store's frame sets;
// the 5208-byte records take their colour matrix from the session's defaults.
void MigrateFrameListTypes();
void MigrateFrameSetTypes();
void UpgradeAllFrameListRecords();
void UpgradeAllFrameSetRecords();

// One pair of types: every old 5208-byte frame becomes a current frame
// under the new type (ids 16000, 16001, ... in the old records' order, their
// names kept); the old records are deleted once all conversions are stored.
void MigrateOldFrameListRecords(FileHandle store, RecordType oldType, RecordType newType,
                                const DefaultsBlock& defaults);
// The same for sets: [u16 n][n x 5208 bytes] becomes [u16 n][n x 2080 bytes]
// under a new id and the same name.
void MigrateOldFrameSetRecords(FileHandle store, RecordType oldType, RecordType newType,
                               const DefaultsBlock& defaults);
// Every record of the type that is an older layout is replaced, under its id
// and name, by the current layout.
void UpgradeFrameListRecords(FileHandle store, RecordType type);
// The same for every frame of every set of the type; a set holding a frame
// whose layout is unknown is left as it is.
void UpgradeFrameSetRecords(FileHandle store, RecordType type);
