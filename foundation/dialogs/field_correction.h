// A typed value that the field cannot take (not a number, out of range) is
// put right a while after the last keystroke: the field waits as "pending"
// until its due time, then a polling timer rewrites it.
#pragma once

#include <cstdint>

constexpr uint16_t kNoPendingItem = 0x8300;
constexpr int32_t kNoCorrectionDue = -32000;
constexpr uint32_t kCorrectionDelayMs = 2000;

struct FieldCorrection {
  uint16_t pendingItem = kNoPendingItem;
  int32_t dueTick = kNoCorrectionDue;
};

// The item's text is to be corrected kCorrectionDelayMs after now (a tick count in ms).
void ArmCorrection(FieldCorrection* correction, uint16_t item, uint32_t now);
// Clears the pending correction when it is the item's (kNoPendingItem clears any).
void ClearCorrection(FieldCorrection* correction, uint16_t item);
// Whether a correction is pending and its time has come (tick counts may wrap).
bool CorrectionDue(const FieldCorrection& correction, uint32_t now);
