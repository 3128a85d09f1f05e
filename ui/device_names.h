// Device names as the user interface shows them, the module's table of
// display names, and a resolution's place in the device's list.
#pragma once

#include <cstdint>

#include "foundation/pstring.h"
#include "records/device_entry.h"

// Empty; withIds: "%ld:%ld: " of the entry's two ids; withVendor: the vendor
// and a blank; then the model. Trailing blanks of vendor and model dropped.
void FormatDeviceName(unsigned char* out, const DeviceEntry& entry, bool withIds, bool withVendor);
// The first row of resource "SNAM" 128 whose vendor and model equal the
// entry's (trailing blanks dropped) gives its display vendor and model.
void ApplyScannerNameTable(DeviceEntry* entry);
// The 1-based position of the first listed resolution >= r; n + 1 beyond the last.
int16_t ResolutionListIndex(int16_t resolution);
