// The device table: the sources offered to the user (open an image, the
// overview of a folder, the recent images), and the recent images kept as
// `RTI1` records in the application store.
#pragma once

#include <cstddef>
#include <cstdint>

#include "foundation/record_type.h"
#include "records/device_entry.h"

constexpr int kMaxDeviceEntries = 9;
constexpr int kMaxRecentImages = 6;
// Rows 0 and 1 are "open an image" and "overview"; recent images follow.
constexpr uint16_t kOpenImageRow = 0;
constexpr uint16_t kOverviewRow = 1;
constexpr uint16_t kFirstRecentRow = 2;
constexpr uint16_t kCurrentImageIndex = 0xFFFF;

struct DeviceTable {
  uint16_t count;
  DeviceEntry entries[kMaxDeviceEntries];
};

constexpr RecordType kRecentImageType = TagFromString("RTI1");
constexpr uint32_t kRecentImagePathSize = 256;

enum : uint32_t { kOpenImageString = 1007, kOverviewString = 1016 };

// Rebuilds the table from the recent images (missing files dropped, at most
// six kept); the number of rows.
int BuildDeviceTable(DeviceTable* table);
// The first row from 2 on whose name equals the text; 0 when none.
uint16_t FindDeviceRowByName(const DeviceTable& table, const char* name);
// Removes one recent image, moves the later ids down by one and deletes the
// device store of that image.
void DropRecentImage(RecordType type, int32_t id);
// Drops id 1 while more than maximum records exist.
void TrimRecentImages(RecordType type, int maximum);

// The device name of an entry (vendor and name, as the device store is named).
void MakeEntryDeviceName(const DeviceEntry& entry, unsigned char* deviceName);
// The entry's name as a zero-terminated text (64 bytes).
void EntryNameText(const DeviceEntry& entry, char* text);
