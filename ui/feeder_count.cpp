#include "ui/feeder_count.h"

#include <cstdlib>

uint16_t gFeederMaxCount = kFeederCountMax;

uint16_t LimitFeederCount(const char* text, uint16_t current, bool* inRange) {
  char* end = nullptr;
  long value = std::strtol(text, &end, 10);
  if (end == text) value = current;
  *inRange = value >= 0 && value <= kFeederCountMax;
  if (value < 0) value = 0;
  if (value > kFeederCountMax) value = kFeederCountMax;
  return static_cast<uint16_t>(value);
}
