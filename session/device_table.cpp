#include "session/device_table.h"

#include <cstdio>
#include <cstring>

#include "foundation/file_io.h"
#include "foundation/file_names.h"
#include "foundation/memory.h"
#include "foundation/pstring.h"
#include "foundation/record_store.h"
#include "foundation/settings_folders.h"
#include "foundation/system.h"
#include "state/data_source_state.h"

namespace {

const char kVendor[] = "ZIR     ";

void SetEntryText(uint8_t* field, const char* text) {
  size_t length = std::strlen(text);
  if (length > 63) length = 63;
  field[0] = static_cast<uint8_t>(length);
  std::memcpy(field + 1, text, length);
}

void AddEntry(DeviceTable* table, const char* name) {
  if (table->count >= kMaxDeviceEntries) return;
  DeviceEntry& entry = table->entries[table->count];
  entry = DeviceEntry{};
  entry.kind = 0;
  entry.index = table->count;
  entry.value = 1;
  SetEntryText(entry.vendor, kVendor);
  SetEntryText(entry.name, name);
  ++table->count;
}

void AddFixedEntry(DeviceTable* table, uint32_t stringId) {
  char text[256];
  LoadResourceString(GetModuleInstance(), stringId, text, sizeof text);
  char padded[64];
  std::snprintf(padded, sizeof padded, "%-16s", text);
  AddEntry(table, padded);
}

void DeleteDeviceStoreOf(const char* imageName) {
  DeviceEntry entry = {};
  SetEntryText(entry.vendor, kVendor);
  SetEntryText(entry.name, imageName);
  PString deviceName, fileName;
  MakeEntryDeviceName(entry, deviceName);
  MakeDevicePrefsFileNameOf(fileName, deviceName);
  char folder[512];
  if (!GetPrefsFolder(folder)) return;
  char path[512];
  char name[256];
  PStrToText(fileName, name);
  std::snprintf(path, sizeof path, "%s%s", folder, name);
  DeleteFileAt(path);
}

}  // namespace

void EntryNameText(const DeviceEntry& entry, char* text) {
  size_t length = entry.name[0] > 63 ? 63 : entry.name[0];
  std::memcpy(text, entry.name + 1, length);
  text[length] = '\0';
}

void MakeEntryDeviceName(const DeviceEntry& entry, unsigned char* deviceName) {
  char vendor[64], name[64];
  size_t length = entry.vendor[0] > 63 ? 63 : entry.vendor[0];
  std::memcpy(vendor, entry.vendor + 1, length);
  vendor[length] = '\0';
  EntryNameText(entry, name);
  MakeDeviceName(deviceName, vendor, name);
}

void DropRecentImage(RecordType type, int32_t id) {
  char name[kRecordNameSize] = {};
  bool named = RecordStoreNameById(gAppStore, type, id, name);
  if (!RecordStoreDelete(gAppStore, type, id)) return;
  int count = RecordStoreCount(gAppStore, type);
  for (int32_t later = id + 1; later <= count + 1; ++later) {
    char path[kRecentImagePathSize] = {};
    char laterName[kRecordNameSize] = {};
    if (!RecordStoreRead(gAppStore, type, later, path, sizeof path)) continue;
    RecordStoreNameById(gAppStore, type, later, laterName);
    RecordStoreDelete(gAppStore, type, later);
    RecordStoreAdd(gAppStore, type, later - 1, path, sizeof path, laterName);
  }
  if (named) DeleteDeviceStoreOf(name);
}

void TrimRecentImages(RecordType type, int maximum) {
  while (RecordStoreCount(gAppStore, type) > maximum) {
    int before = RecordStoreCount(gAppStore, type);
    DropRecentImage(type, 1);
    if (RecordStoreCount(gAppStore, type) >= before) return;  // a store that will not shrink
  }
}

int BuildDeviceTable(DeviceTable* table) {
  table->count = 0;
  AddFixedEntry(table, kOpenImageString);
  AddFixedEntry(table, kOverviewString);

  for (int32_t id = RecordStoreCount(gAppStore, kRecentImageType); id >= 1; --id) {
    char path[kRecentImagePathSize + 1] = {};
    if (RecordStoreRead(gAppStore, kRecentImageType, id, path, kRecentImagePathSize) && !FileExists(path))
      DropRecentImage(kRecentImageType, id);
  }
  TrimRecentImages(kRecentImageType, kMaxRecentImages);

  for (int32_t id = 1; id <= kMaxRecentImages; ++id) {
    char name[kRecordNameSize] = {};
    if (!RecordStoreNameById(gAppStore, kRecentImageType, id, name)) break;
    AddEntry(table, name);
  }
  return table->count;
}

uint16_t FindDeviceRowByName(const DeviceTable& table, const char* name) {
  if (table.count < 3) return 0;
  for (uint16_t row = kFirstRecentRow; row < table.count; ++row) {
    char text[64];
    EntryNameText(table.entries[row], text);
    if (std::strcmp(text, name) == 0) return row;
  }
  return 0;
}
