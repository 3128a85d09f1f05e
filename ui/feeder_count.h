// The maximum count of feeder scans (0..9999) that dialog 306 edits.
#pragma once

#include <cstdint>

constexpr int32_t kFeederCountMax = 9999;

extern uint16_t gFeederMaxCount;

// The field's number (the current count when it holds none) limited to
// 0..9999; inRange tells whether the typed number was inside already.
uint16_t LimitFeederCount(const char* text, uint16_t current, bool* inRange);
