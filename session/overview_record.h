// The overview state kept as record `RTOV` id 1 in the application store:
// the folder, the current cell's path and the paths of the chosen cells.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "foundation/record_type.h"

constexpr RecordType kOverviewRecordType = TagFromString("RTOV");
constexpr int32_t kOverviewRecordId = 1;

// The fixed head of the record; n paths of 256 bytes follow at 518.
struct OverviewRecordHead {
  uint16_t version;  // 1
  uint16_t zero;
  char folder[256];
  char current[256];
  uint16_t chosenCount;
};
constexpr uint32_t kOverviewRecordHeadSize = 518;
static_assert(offsetof(OverviewRecordHead, folder) == 4 && offsetof(OverviewRecordHead, current) == 260 &&
                  offsetof(OverviewRecordHead, chosenCount) == 516,
              "stored layout");

struct OverviewRecord {
  std::string folder;
  std::string current;
  std::vector<std::string> chosen;
};

// False when there is no record, or it is shorter than 4 bytes or its first
// 32-bit word is not 1.
bool LoadOverviewRecord(OverviewRecord* record);
// Written as 518 + 256 x n bytes.
bool SaveOverviewRecord(const char* folder, const char* current, const std::vector<std::string>& chosen);
