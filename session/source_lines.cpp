#include "session/source_lines.h"

#include <new>

#include "records/defaults_block.h"
#include "session/reduction_tables.h"
#include "tone/curve_tables.h"
#include "tone/gamma_tables.h"
#include "tone/table_utils.h"
#include "tone/tone_engine_state.h"

SourceLineRead gSourceLineRead;

namespace {

const int32_t kHighBitEntries = 16384;  // 16-bit samples index the output tables by their top 14 bits
const uint32_t kHighBitTableBits = 14;
const double kSourceGamma8 = 1.8;       // the gamma 8-bit files are taken to carry

// Colour planes of an 8-bit line: red second, green first, blue third.
const uint32_t kPlaneOf8BitChannel[3] = {1, 0, 2};

// The gamma divisor of the defaults; an unset value counts as 1.
double GammaDivisor() {
  const double divisor = GetDefault(ToneDefaults(), kDefaultZirGamma);
  return divisor > 0.0 ? divisor : 1.0;
}

}  // namespace

bool ReadSourceLines(void* buffer, uint32_t lines, uint32_t width, uint32_t channels) {
  SourceLineRead& read = gSourceLineRead;
  if (!read.reader) return true;
  if (!buffer || (channels != 1 && channels != 3)) return false;
  if (channels == 1 && read.bitsPerSample < 8) return true;
  const size_t sampleBytes = read.bitsPerSample == 16 ? 2 : 1;
  const size_t planeBytes = width * sampleBytes;
  uint8_t* line = static_cast<uint8_t*>(buffer);
  for (uint32_t i = 0; i < lines; ++i, line += channels * planeBytes) {
    const uint32_t row = read.top + read.linesRead + i + 1;
    for (uint32_t c = 0; c < channels; ++c) {
      const uint32_t plane = channels == 1 || sampleBytes == 2 ? c : kPlaneOf8BitChannel[c];
      const int channel = channels == 1 ? read.greyChannel : static_cast<int>(c);
      int32_t count = static_cast<int32_t>(width);
      if (read.reader->ReadLineSamples(row, read.left, channel, line + plane * planeBytes, &count) != 0) {
        return false;
      }
    }
  }
  read.linesRead += lines;
  return true;
}

bool PrepareSourceLines(ImageFileReader* reader, FrameRecord* frame, const std::vector<uint16_t>* const gammaTables[4],
                        const uint32_t gammaBits[4]) {
  if (!reader || !frame) return false;
  if (frame->bitsPerChannel == 16) {
    // 16-bit samples keep their values; the intermediate stage applies the curves.
    for (int c = 0; c < 3; ++c) reader->SetOutputTable({}, c);
    return true;
  }
  const bool colour = frame->colorMode == kColorModeRgb;
  const int firstBlock = colour ? 1 : 0;
  const int lastBlock = colour ? 3 : 0;
  auto readerChannel = [&](int block) { return colour ? block - 1 : gSourceLineRead.greyChannel; };
  const bool highBit = reader->IsHighBitDepth();
  const int32_t n = highBit ? kHighBitEntries : 256;

  auto gammaTableOf = [&](int block) -> const std::vector<uint16_t>* {
    const int channel = gSourceLineRead.imagePlanes < 3 ? 0 : readerChannel(block);
    if (channel < 0 || channel > 3 || !gammaTables || !gammaBits) return nullptr;
    const std::vector<uint16_t>* table = gammaTables[channel];
    if (!table || gammaBits[channel] != kHighBitTableBits || table->size() < size_t(kHighBitEntries)) return nullptr;
    return table;
  };
  if (highBit) {
    for (int block = firstBlock; block <= lastBlock; ++block) {
      if (!gammaTableOf(block)) return false;
    }
  }

  std::vector<uint8_t> tables[4];
  try {
    std::vector<uint8_t> curve(n);
    std::vector<uint8_t> gamma18;
    std::vector<uint16_t> curve16;
    std::vector<uint16_t> composed16;
    if (highBit) {
      curve16.resize(n);
      composed16.resize(n);
    } else {
      gamma18.resize(256);
      BuildReducedGammaTable8(gamma18.data(), 256, kSourceGamma8);
    }
    for (int block = firstBlock; block <= lastBlock; ++block) {
      std::vector<uint8_t>& table = tables[block];
      table.resize(n);
      if (highBit) {
        // The curve read where the reader's gamma table reaches each 14-bit value.
        ComputeToneTablesWithGamma(curve.data(), frame->tone[block], static_cast<int16_t>(n),
                                   static_cast<int16_t>(block), 1, frame, CurrentGamma() / GammaDivisor());
        curve16.assign(curve.begin(), curve.end());
        ComposeWithInverse16(composed16.data(), curve16.data(), gammaTableOf(block)->data(), static_cast<int16_t>(n));
        for (int32_t i = 0; i < n; ++i) table[i] = static_cast<uint8_t>(composed16[i]);
      } else {
        ComputeToneTables(curve.data(), frame->tone[block], static_cast<int16_t>(n), static_cast<int16_t>(block), 1,
                          frame, 1.0);
        ComposeWithInverse8(table.data(), curve.data(), gamma18.data(), static_cast<int16_t>(n));
      }
    }
  } catch (const std::bad_alloc&) {
    return false;
  }
  for (int block = firstBlock; block <= lastBlock; ++block) {
    reader->SetOutputTable(std::move(tables[block]), readerChannel(block));
  }
  return true;
}
