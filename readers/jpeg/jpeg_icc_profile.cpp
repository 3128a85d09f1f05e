#include "readers/jpeg/jpeg_icc_profile.h"

#include <cstring>
#include <new>

namespace {
// The identifier with its terminating zero, then chunk number and count.
constexpr char kIccIdentifier[12] = "ICC_PROFILE";
constexpr uint32_t kIccHeaderBytes = sizeof kIccIdentifier + 2;
}  // namespace

bool ParseIccMarker(const uint8_t* content, uint32_t size, IccMarkerChunk* chunk) {
  if (size <= kIccHeaderBytes || std::memcmp(content, kIccIdentifier, sizeof kIccIdentifier) != 0) return false;
  chunk->number = content[sizeof kIccIdentifier];
  chunk->count = content[sizeof kIccIdentifier + 1];
  chunk->data = content + kIccHeaderBytes;
  chunk->size = size - kIccHeaderBytes;
  return true;
}

void IccChunkAssembler::Reset() {
  expectedCount_ = 0;
  lastNumber_ = 0;
  profile_.clear();
  profile_.shrink_to_fit();
}

void IccChunkAssembler::AddChunk(const IccMarkerChunk& chunk) {
  if (expectedCount_ == 0) {
    Reset();
    expectedCount_ = chunk.count;
  }
  if (chunk.count != expectedCount_ || chunk.number != lastNumber_ + 1 || lastNumber_ == expectedCount_) {
    Reset();
    return;
  }
  try {
    profile_.insert(profile_.end(), chunk.data, chunk.data + chunk.size);
  } catch (const std::bad_alloc&) {
    Reset();
    return;
  }
  lastNumber_ = chunk.number;
}
