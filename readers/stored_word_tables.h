// Tables for 16-bit samples delivered straight from the words a file stores:
// per channel, the word map takes a stored word to the sample the band would
// hold after the byte swap and the gamma map, and the folded table takes it
// on to the channel's output byte, so that a line costs one lookup a sample.
#pragma once

#include <cstdint>
#include <vector>

class StoredWordTables {
 public:
  // What the tables are made of; they are rebuilt when it changes.
  struct Key {
    bool swapBytes = false;
    int mappedChannels = 0;   // leading channels that go through their gamma map
    uint32_t generation = 0;  // of the reader's tables
    bool operator==(const Key& other) const {
      return swapBytes == other.swapBytes && mappedChannels == other.mappedChannels &&
             generation == other.generation;
    }
  };

  // Makes the tables of channels 0 to channels - 1 for the key unless they
  // are made already. gammaMaps[c] (65536 entries) is used for c below
  // key.mappedChannels; outputTables[c] (16384 entries, indexed by the sample
  // >> 2) or null. False when memory runs out (the tables are left empty).
  bool Prepare(const Key& key, int channels, const uint16_t* const gammaMaps[4], const uint8_t* const outputTables[4]);
  void Clear();

  const uint16_t* WordMap(int channel) const { return words_[channel].data(); }
  // Null when the channel has no output table.
  const uint8_t* Folded(int channel) const { return folded_[channel].empty() ? nullptr : folded_[channel].data(); }

 private:
  bool made_ = false;
  Key key_;
  int channels_ = 0;
  std::vector<uint16_t> words_[4];
  std::vector<uint8_t> folded_[4];
};
