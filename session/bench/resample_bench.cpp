// Throughput of the resampling engine: a set of 10000-pixel 16-bit RGB lines
// brought to several widths (the rows in proportion), in the fast and the
// filtered mode. Prints megasamples per second read and written.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "session/resample.h"
#include "session/tests/resample_driver.h"

namespace {

const uint32_t kSourceWidth = 10000;
const uint32_t kSourceRows = 120;

double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void Measure(uint16_t filtered, uint32_t outputWidth, const std::vector<uint16_t>& source) {
  gFilteredResampling = filtered;
  const uint32_t outputRows = static_cast<uint32_t>(static_cast<uint64_t>(kSourceRows) * outputWidth / kSourceWidth);
  const double scale = (kSourceRows - 1.0) / (outputRows - 1.0);
  double seconds = 0.0;
  uint64_t samplesIn = 0;
  uint64_t samplesOut = 0;
  const auto start = std::chrono::steady_clock::now();
  while ((seconds = SecondsSince(start)) < 1.0) {
    ResampleSetup(kSourceWidth, outputWidth, kSourceRows, scale, 0, 0, 0, 0, 0, 64);
    const ResampleRead read = {kSourceWidth, kSourceRows, outputWidth, scale, 3, 3 * outputWidth, 30, 60, outputRows};
    const std::vector<uint16_t> out = RunResampleRead<uint16_t>(ResampleRgb16, read, source);
    ResampleTeardown();
    samplesIn += source.size();
    samplesOut += out.size();
  }
  std::printf("%-8s %6u -> %6u  %8.1f Msamples/s in  %8.1f Msamples/s out\n", filtered ? "filtered" : "fast",
              kSourceWidth, outputWidth, samplesIn / seconds / 1e6, samplesOut / seconds / 1e6);
}

}  // namespace

int main() {
  std::vector<uint16_t> source(static_cast<size_t>(kSourceRows) * 3 * kSourceWidth);
  uint32_t seed = 1;
  for (uint16_t& v : source) {
    seed = seed * 1103515245u + 12345u;
    v = static_cast<uint16_t>(seed >> 16);
  }
  std::printf("RGB 16-bit, %u lines of %u pixels (rows scaled like the width)\n", kSourceRows, kSourceWidth);
  const uint32_t widths[] = {1000, 2500, 5000, 10000, 15000, 20000};
  for (uint16_t filtered = 0; filtered <= 1; ++filtered) {
    for (uint32_t width : widths) Measure(filtered, width, source);
  }
  return 0;
}
