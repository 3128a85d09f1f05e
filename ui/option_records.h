// Option records of the user interface: the option unit's slot ("OPTI") and
// the light source ("LGHT") in the device store, the screen geometry of the
// last run ("GEOM") in the application store, and version records ("vNum").
#pragma once

#include <cstdint>

#include "foundation/file_io.h"
#include "foundation/record_type.h"

constexpr RecordType kOptionRecordType = TagFromString("OPTI");
constexpr RecordType kLightSourceRecordType = TagFromString("LGHT");
constexpr RecordType kScreenGeometryRecordType = TagFromString("GEOM");
constexpr RecordType kVersionRecordType = TagFromString("vNum");
constexpr int32_t kOptionRecordId = 16000;
constexpr int32_t kLightSourceRecordId = 16000;
constexpr int32_t kScreenGeometryRecordId = 16000;
constexpr int32_t kVersionRecordId = 128;

// Whether the option unit is in use; its slot (0 to the device's highest)
// goes to gOptionSlot. A device without an option unit forgets the choice.
bool LoadOptionSelection();
// Forgets the choice, then keeps gOptionSlot when on.
void StoreOptionSelection(bool on);
// The light source; true for transparencies. A device with a single light
// source stores that one.
bool LoadLightSource();
void StoreLightSource(bool transparency);

// Compares the stored screen with the current one and stores the current
// one when they differ; with dropSizes, a screen that shrank (or was never
// stored) drops the stored main-window size of the current mode.
void CheckScreenGeometry(bool dropSizes);

void WriteVersionRecord(FileHandle store, uint32_t version);
// 0 when the store holds none.
uint32_t ReadVersionRecord(FileHandle store);
