// Time to build a frame's tone tables (once per frame or band) and to apply
// them to a band (a lookup per sample). Prints figures; not a test.
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

#include "tone/curve_tables.h"
#include "tone/tests/tone_fixture.h"

namespace {

double Seconds(const std::function<void()>& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main() {
  ToneFixture fixture;
  SetDefault(fixture.defaults, kDefaultGammaReflective, 2.2);
  FrameRecord& frame = fixture.frame;
  frame.tone[1].contrast = 30;
  frame.tone[2].fixedPointValues[0] = ToneFixedPointValue{100, 140};

  constexpr int kRuns = 20;
  std::vector<uint16_t> wide(kToneWorkLevels);
  std::vector<uint8_t> narrow(256);
  const double build16 = Seconds([&] {
    for (int run = 0; run < kRuns; ++run) {
      for (int16_t c = 1; c <= 3; ++c) {
        BuildFrameToneTables(wide.data(), frame.tone[c], kToneWorkLevels, kToneWorkLevels, c, 1, &frame, 1.0);
      }
    }
  });
  const double build8 = Seconds([&] {
    for (int run = 0; run < kRuns; ++run) {
      for (int16_t c = 1; c <= 3; ++c) ComputeToneTables(narrow.data(), frame.tone[c], 256, c, 1, &frame, 1.0);
    }
  });
  std::printf("16-bit tables of an RGB frame  %8.2f ms\n", build16 * 1000 / kRuns);
  std::printf("8-bit tables of an RGB frame   %8.2f ms\n", build8 * 1000 / kRuns);

  // A planar band of 6000 x 64 samples per channel through the 8-bit table.
  constexpr size_t kSamples = 6000 * 64 * 3;
  std::vector<uint8_t> band(kSamples);
  for (size_t i = 0; i < kSamples; ++i) band[i] = static_cast<uint8_t>(i * 2654435761u >> 24);
  const double apply = Seconds([&] {
    for (int run = 0; run < kRuns; ++run) {
      for (uint8_t& sample : band) sample = narrow[sample];
    }
  });
  std::printf("applying to a band             %8.1f Msamples/s\n", kSamples * kRuns / apply / 1e6);
  return 0;
}
