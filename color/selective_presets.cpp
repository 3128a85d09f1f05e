#include "color/selective_presets.h"

#include <cstdio>

#include "color/selective_color.h"
#include "foundation/memory.h"
#include "foundation/record_store.h"
#include "records/frame_record.h"
#include "state/data_source_state.h"

namespace {

OwnerPresetInstaller gOwnerInstaller = nullptr;

RecordType PartType(int colour) { return SelectivePresetType(colour); }

int16_t* CurrentMatrix() { return gCurrentFrame ? gCurrentFrame->selectiveColorMatrix : nullptr; }

// The legacy types, in the order they are moved.
const char* const kLegacyTypes[] = {"FRSO", "FRSP", "FRSQ", "FRSR", "FRSS", "FRST", "FRSU",
                                    "FRSV", "FRSW", "FRSX", "FRSD", "FRSA", "GRAD"};

// Each record is copied under a fresh id and leaves the device store only
// once its copy is stored, so a start never copies it twice and a full
// application store keeps the rest where they were.
void MoveType(FileHandle from, FileHandle to, RecordType type) {
  int index = 1;
  while (index <= RecordStoreCount(from, type)) {
    uint32_t size = 0;
    char name[kRecordNameSize];
    void* data = RecordStoreSizeByIndex(from, type, index, &size) ? AllocBlock(size) : nullptr;
    const bool moved = data && RecordStoreReadIndexed(from, type, index, data, size) &&
                       RecordStoreNameByIndex(from, type, index, name) &&
                       RecordStoreAdd(to, type, RecordStoreUniqueId(to, type), data, size, name) &&
                       RecordStoreDeleteIndexed(from, type, index);
    FreeBlock(data);
    if (!moved) ++index;
  }
}

}  // namespace

const MatrixPresetFamily kSelectivePresets = {TagFromString("P0CM"), kSelectiveColors, kSelectiveCells, PartType,
                                              kColourStemString, CurrentMatrix};

// Rows 28 and 29 take the names 20029 and 20028 in that order.
const FactoryPreset kSelectiveFactoryPresets[kSelectiveFactoryCount] = {
    {0, 20000, {15, 0, 0, 0, 0, 0}},    {0, 20001, {-15, 0, 0, 0, 0, 0}},  {0, 20002, {-15, 0, 0, 0, 15, 0}},
    {0, 20003, {-15, 0, 0, 0, -15, 0}}, {0, 20004, {0, 0, 0, 0, -15, 0}},  {0, 20005, {0, 0, 0, 0, 0, 15}},
    {0, 20006, {0, 0, 0, 0, 15, 0}},    {0, 20007, {0, 0, 0, 15, 0, 0}},   {1, 20008, {0, 35, 0, 0, 0, 0}},
    {1, 20009, {0, 25, 0, 0, -35, 15}}, {1, 20010, {0, -25, 0, 0, 0, 0}},  {1, 20011, {0, 0, 0, 0, -35, 0}},
    {1, 20012, {0, 0, 0, 25, 0, -15}},  {1, 20013, {0, 0, 0, 0, 25, 0}},   {1, 20014, {0, 0, 0, -15, 0, 25}},
    {2, 20015, {0, 0, 25, 0, 0, 0}},    {2, 20016, {0, 0, 25, 0, 0, -35}}, {2, 20017, {0, 0, -25, 0, 0, 0}},
    {2, 20018, {0, 0, 0, 0, 25, 0}},    {2, 20019, {0, 0, 0, 0, 0, -35}},  {2, 20020, {0, 0, 0, 0, -25, -25}},
    {3, 20021, {0, 0, 0, 25, 0, 0}},    {3, 20022, {0, 0, 0, 25, 0, -15}}, {3, 20023, {0, 0, 0, -15, 0, 0}},
    {3, 20024, {0, 0, 0, 0, -15, -10}}, {3, 20025, {0, 0, 0, 0, 0, 15}},   {4, 20026, {0, 0, 0, 0, 25, 0}},
    {4, 20027, {0, 0, 0, -15, 25, 0}},  {4, 20029, {0, 0, 0, 0, -15, 0}},  {4, 20028, {0, 0, 0, -15, 25, -15}},
    {4, 20030, {0, 0, 0, 0, 0, 15}},    {4, 20031, {0, 0, 0, 15, 0, 0}},   {5, 20032, {0, 0, 0, 0, 0, 25}},
    {5, 20033, {0, 0, 0, -5, -15, 25}}, {5, 20034, {0, 0, 0, 0, 0, -15}},  {5, 20035, {0, 0, 0, -15, -15, 25}},
    {5, 20036, {0, 0, 0, 0, 15, 25}},   {5, 20037, {0, 0, 0, 15, 0, 25}},
};

RecordType SelectivePresetType(int colour) {
  char text[16];
  std::snprintf(text, sizeof text, "P%dCM", colour + 1);
  return TagFromString(text);
}

void InstallOwnerPresetInstaller(OwnerPresetInstaller installer) { gOwnerInstaller = installer; }

void InstallSelectiveColorPresets() {
  InstallFactoryPresets(kSelectivePresets, kSelectiveFactoryPresets, kSelectiveFactoryCount);
  if (gOwnerInstaller) gOwnerInstaller();
  if (!gAppStore || !gDeviceStore) return;
  for (const char* type : kLegacyTypes) MoveType(gDeviceStore, gAppStore, TagFromString(type));
}
