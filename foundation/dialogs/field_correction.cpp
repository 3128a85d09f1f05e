#include "foundation/dialogs/field_correction.h"

void ArmCorrection(FieldCorrection* correction, uint16_t item, uint32_t now) {
  correction->pendingItem = item;
  correction->dueTick = static_cast<int32_t>(now + kCorrectionDelayMs);
}

void ClearCorrection(FieldCorrection* correction, uint16_t item) {
  if (item != kNoPendingItem && correction->pendingItem != item) return;
  correction->pendingItem = kNoPendingItem;
  correction->dueTick = kNoCorrectionDue;
}

bool CorrectionDue(const FieldCorrection& correction, uint32_t now) {
  if (correction.pendingItem == kNoPendingItem) return false;
  return static_cast<int32_t>(now - static_cast<uint32_t>(correction.dueTick)) >= 0;
}
