#include "ui/device_names.h"

#include <cstdio>
#include <cstring>

#include "foundation/memory.h"
#include "foundation/system.h"
#include "state/data_source_state.h"

namespace {

constexpr uint32_t kNameTableId = 128;
constexpr uint32_t kNameTableHeader = 16;
constexpr uint32_t kNameTableRow = 60;

// A PString's characters without trailing blanks, at most capacity.
int TrimmedLength(const unsigned char* s, int capacity) {
  int length = s[0] < capacity ? s[0] : capacity;
  while (length > 0 && s[length] == ' ') --length;
  return length;
}

bool SameName(const unsigned char* a, int aCapacity, const unsigned char* b, int bCapacity) {
  const int length = TrimmedLength(a, aCapacity);
  return length == TrimmedLength(b, bCapacity) && std::memcmp(a + 1, b + 1, length) == 0;
}

void AppendTrimmed(unsigned char* out, const unsigned char* s, int capacity) {
  const int length = TrimmedLength(s, capacity);
  const int room = kPStringMaxLength - out[0];
  const int n = length < room ? length : room;
  std::memcpy(out + 1 + out[0], s + 1, n);
  out[0] = static_cast<unsigned char>(out[0] + n);
}

// A field of a table row into the entry's 64-byte PString.
void CopyField(uint8_t* target, const unsigned char* field, int capacity) {
  const int length = field[0] < capacity ? field[0] : capacity;
  target[0] = static_cast<uint8_t>(length);
  std::memcpy(target + 1, field + 1, length);
}

}  // namespace

void FormatDeviceName(unsigned char* out, const DeviceEntry& entry, bool withIds, bool withVendor) {
  out[0] = 0;
  if (withIds) {
    char ids[32];
    std::snprintf(ids, sizeof ids, "%ld:%ld: ", static_cast<long>(entry.kind), static_cast<long>(entry.index));
    PStrAppendC(out, ids);
  }
  if (withVendor) {
    AppendTrimmed(out, entry.vendor, sizeof entry.vendor - 1);
    PStrAppendC(out, " ");
  }
  AppendTrimmed(out, entry.name, sizeof entry.name - 1);
}

void ApplyScannerNameTable(DeviceEntry* entry) {
  uint32_t size = 0;
  const auto* table = static_cast<const unsigned char*>(
      LoadCustomResource(GetModuleInstance(), "SNAM", kNameTableId, &size));
  if (!table || size < kNameTableHeader) return;
  const uint32_t rows = (size - kNameTableHeader) / kNameTableRow;
  for (uint32_t i = 0; i < rows; ++i) {
    const unsigned char* row = table + kNameTableHeader + i * kNameTableRow;
    const unsigned char* vendor = row;           // 9 bytes
    const unsigned char* model = row + 9;        // 17 bytes
    const unsigned char* shownVendor = row + 26; // 17 bytes
    const unsigned char* shownModel = row + 43;  // 17 bytes
    if (SameName(entry->vendor, sizeof entry->vendor - 1, vendor, 8) &&
        SameName(entry->name, sizeof entry->name - 1, model, 16)) {
      CopyField(entry->vendor, shownVendor, 16);
      CopyField(entry->name, shownModel, 16);
      return;
    }
  }
}

int16_t ResolutionListIndex(int16_t resolution) {
  const int n = gResolutionList.count;
  for (int i = 0; i < n; ++i)
    if (gResolutionList.values[i] >= resolution) return static_cast<int16_t>(i + 1);
  return static_cast<int16_t>(n + 1);
}
