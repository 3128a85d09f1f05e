#include "readers/stored_word_tables.h"

#include <new>

bool StoredWordTables::Prepare(const Key& key, int channels, const uint16_t* const gammaMaps[4],
                               const uint8_t* const outputTables[4]) {
  if (made_ && key_ == key && channels_ == channels) return true;
  Clear();
  try {
    for (int channel = 0; channel < channels; ++channel) {
      std::vector<uint16_t>& words = words_[channel];
      words.resize(65536);
      const uint16_t* gamma = channel < key.mappedChannels ? gammaMaps[channel] : nullptr;
      for (uint32_t word = 0; word < 65536; ++word) {
        const uint16_t sample = key.swapBytes ? static_cast<uint16_t>(word >> 8 | word << 8) : static_cast<uint16_t>(word);
        words[word] = gamma ? gamma[sample] : sample;
      }
      if (const uint8_t* table = outputTables[channel]) {
        folded_[channel].resize(65536);
        for (uint32_t word = 0; word < 65536; ++word) folded_[channel][word] = table[words[word] >> 2];
      }
    }
  } catch (const std::bad_alloc&) {
    Clear();
    return false;
  }
  made_ = true;
  key_ = key;
  channels_ = channels;
  return true;
}

void StoredWordTables::Clear() {
  for (int channel = 0; channel < 4; ++channel) {
    std::vector<uint16_t>().swap(words_[channel]);
    std::vector<uint8_t>().swap(folded_[channel]);
  }
  made_ = false;
  channels_ = 0;
}
