// A row of the device table (session/device_table.h).
#pragma once

#include <cstddef>
#include <cstdint>

// One source; a stored format (written whole as the `SCAN` record).
struct DeviceEntry {
  uint16_t kind;        // 0 for every entry of an image-file source
  uint16_t index;       // the entry's row in the table
  uint32_t value;       // 1
  uint8_t flag;         // 0
  uint8_t vendor[64];   // length-prefixed "ZIR     "
  uint8_t name[64];     // length-prefixed
  uint8_t rest[3];
};
static_assert(sizeof(DeviceEntry) == 140, "stored size");
static_assert(offsetof(DeviceEntry, index) == 2 && offsetof(DeviceEntry, value) == 4 &&
                  offsetof(DeviceEntry, flag) == 8 && offsetof(DeviceEntry, vendor) == 9 &&
                  offsetof(DeviceEntry, name) == 73 && offsetof(DeviceEntry, rest) == 137,
              "stored layout");
