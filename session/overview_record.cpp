#include "session/overview_record.h"

#include <cstring>

#include "foundation/record_store.h"
#include "state/data_source_state.h"

namespace {

constexpr uint32_t kPathSize = 256;

std::string TextAt(const std::vector<uint8_t>& data, size_t offset) {
  const char* start = reinterpret_cast<const char*>(data.data() + offset);
  return std::string(start, strnlen(start, kPathSize));
}

void PutText(std::vector<uint8_t>* data, size_t offset, const std::string& text) {
  std::memcpy(data->data() + offset, text.c_str(), text.size() < kPathSize ? text.size() : kPathSize - 1);
}

}  // namespace

bool LoadOverviewRecord(OverviewRecord* record) {
  uint32_t size = 0;
  if (!RecordStoreSize(gAppStore, kOverviewRecordType, kOverviewRecordId, &size) || size < 4) return false;
  std::vector<uint8_t> data(size);
  if (!RecordStoreRead(gAppStore, kOverviewRecordType, kOverviewRecordId, data.data(), size)) return false;
  uint32_t first;
  std::memcpy(&first, data.data(), 4);
  if (first != 1) return false;
  *record = OverviewRecord{};
  if (size < kOverviewRecordHeadSize) return true;
  record->folder = TextAt(data, offsetof(OverviewRecordHead, folder));
  record->current = TextAt(data, offsetof(OverviewRecordHead, current));
  uint16_t count;
  std::memcpy(&count, data.data() + offsetof(OverviewRecordHead, chosenCount), 2);
  // Records written two bytes longer than their paths still read; a count beyond the data is cut.
  uint32_t fitting = (size - kOverviewRecordHeadSize) / kPathSize;
  if (count > fitting) count = static_cast<uint16_t>(fitting);
  for (uint16_t i = 0; i < count; ++i) record->chosen.push_back(TextAt(data, kOverviewRecordHeadSize + i * kPathSize));
  return true;
}

bool SaveOverviewRecord(const char* folder, const char* current, const std::vector<std::string>& chosen) {
  std::vector<uint8_t> data(kOverviewRecordHeadSize + kPathSize * chosen.size());
  uint16_t version = 1;
  std::memcpy(data.data(), &version, 2);
  PutText(&data, offsetof(OverviewRecordHead, folder), folder);
  PutText(&data, offsetof(OverviewRecordHead, current), current);
  uint16_t count = static_cast<uint16_t>(chosen.size());
  std::memcpy(data.data() + offsetof(OverviewRecordHead, chosenCount), &count, 2);
  for (size_t i = 0; i < chosen.size(); ++i) PutText(&data, kOverviewRecordHeadSize + i * kPathSize, chosen[i]);
  RecordStoreDelete(gAppStore, kOverviewRecordType, kOverviewRecordId);
  return RecordStoreAdd(gAppStore, kOverviewRecordType, kOverviewRecordId, data.data(),
                        static_cast<uint32_t>(data.size()), "");
}
