// An ICC profile carried in APP2 "ICC_PROFILE" markers, possibly split into
// numbered chunks.
#pragma once

#include <cstdint>
#include <vector>

// One chunk as the marker carries it.
struct IccMarkerChunk {
  uint8_t number;
  uint8_t count;
  const uint8_t* data;
  uint32_t size;
};

// Reads an APP2 marker's content (the bytes after the length); false when it
// is no ICC chunk or carries no profile bytes.
bool ParseIccMarker(const uint8_t* content, uint32_t size, IccMarkerChunk* chunk);

// Collects the chunks in order. Only an unbroken run 1, 2, ... of one count
// is kept; any other chunk throws away what was collected.
class IccChunkAssembler {
 public:
  void AddChunk(const IccMarkerChunk& chunk);
  void Reset();
  // Every chunk of the count has arrived.
  bool Complete() const { return expectedCount_ != 0 && lastNumber_ == expectedCount_; }
  const std::vector<uint8_t>& Profile() const { return profile_; }

 private:
  uint8_t expectedCount_ = 0;
  uint8_t lastNumber_ = 0;
  std::vector<uint8_t> profile_;
};
