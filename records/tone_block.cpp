#include "records/tone_block.h"

#include <cstring>

void UpgradeToneBlock(const OldToneBlock* old, ToneBlock* out) {
  std::memset(out, 0, sizeof(ToneBlock));
  std::memcpy(out, old->bytes, kOldToneBlockCarriedBytes);
  std::memcpy(&out->endLow, old->bytes + kOldToneBlockEndPair, 2 * sizeof(int16_t));
  out->version = 1;
}
