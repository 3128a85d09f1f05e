// The tone block upgrade on fuzzed old blocks.
#include <algorithm>
#include <cstring>

#include "records/tone_block.h"
#include "tools/fuzz/fuzz_target.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  OldToneBlock old;
  std::memset(&old, 0, sizeof old);
  std::memcpy(&old, data, std::min(size, sizeof old));
  ToneBlock block;
  UpgradeToneBlock(&old, &block);
  return 0;
}
