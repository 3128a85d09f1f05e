#include "output/eps_state.h"

#include <cstdio>
#include <cstring>

#include "foundation/memory.h"

EpsState gEps;

namespace {

BufferedTarget& TargetOf(int32_t number) {
  return number == kEpsPreviewTarget ? gEps.preview : EpsTargetAt(number).target;
}

}  // namespace

void ResetEpsState() {
  static const char* const kNames[] = {"Master", "Cyan", "Magenta", "Yellow", "Black"};
  gEps = EpsState{};
  gEps.previewWanted = 1;
  gEps.previewStep = 1.0;
  for (int i = 0; i <= kEpsPlates; ++i) std::snprintf(gEps.targets[i].name, sizeof gEps.targets[i].name, "%s", kNames[i]);
}

void BeginBufferedTarget(int32_t number, FileHandle file, uint64_t base) {
  BufferedTarget& target = TargetOf(number);
  FreeBlock(target.buffer);
  target = BufferedTarget{file, nullptr, 0, 0, base, 0};
  for (uint32_t size = kEpsTargetBufferBytes; size >= kEpsTargetSmallestBuffer; size /= 2) {
    target.buffer = static_cast<uint8_t*>(AllocBlock(size));
    if (target.buffer) {
      target.capacity = size;
      break;
    }
  }
}

bool WriteAtPosition(int32_t number, const uint8_t* bytes, uint32_t n) {
  BufferedTarget& target = TargetOf(number);
  if (!target.file) return false;
  const bool written = WriteBytesAt(target.file, target.base + target.position, bytes, n);
  target.position += n;
  return written;
}

bool FlushBufferedTarget(int32_t number) {
  BufferedTarget& target = TargetOf(number);
  if (!target.buffer) return true;
  if (target.held == 0) return true;
  if (!WriteAtPosition(number, target.buffer, target.held)) return false;
  target.held = 0;
  return true;
}

bool BufferedWrite(int32_t number, const uint8_t* bytes, uint32_t n) {
  BufferedTarget& target = TargetOf(number);
  if (!target.buffer) return WriteAtPosition(number, bytes, n);
  if (uint64_t{target.held} + n > target.capacity && !FlushBufferedTarget(number)) return false;
  if (uint64_t{target.held} + n > target.capacity) return WriteAtPosition(number, bytes, n);
  std::memcpy(target.buffer + target.held, bytes, n);
  target.held += n;
  return true;
}

void EndBufferedTarget(int32_t number) {
  BufferedTarget& target = TargetOf(number);
  FlushBufferedTarget(number);
  FreeBlock(target.buffer);
  target.buffer = nullptr;
  target.capacity = 0;
  target.held = 0;
}
