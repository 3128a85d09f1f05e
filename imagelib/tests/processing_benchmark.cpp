// Megapixels per second of the processing functions on a 24-megapixel image
// (6000 x 4000, 24 bits). Prints one line per function; not a test.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "imagelib/imagelib.h"

namespace {

constexpr int kWidth = 6000;
constexpr int kHeight = 4000;
constexpr double kMegapixels = kWidth * static_cast<double>(kHeight) / 1e6;

void Measure(const char* name, const std::function<int()>& call, double megapixels = kMegapixels) {
  auto start = std::chrono::steady_clock::now();
  int ok = call();
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("%-24s %8.1f MP/s  (%.3f s)%s\n", name, megapixels / seconds, seconds,
              ok ? "" : "  FAILED");
}

}  // namespace

int main() {
  const size_t bytes = static_cast<size_t>(kWidth) * kHeight * 3;
  std::vector<uint8_t> image(bytes);
  std::vector<uint8_t> other(bytes);
  std::vector<uint8_t> grey(static_cast<size_t>(kWidth) * kHeight);
  unsigned seed = 12345;
  for (size_t i = 0; i < bytes; ++i) {
    seed = seed * 1103515245u + 12345u;
    image[i] = static_cast<uint8_t>((i / 3 % kWidth) / 24 + (seed >> 27));  // a ramp with noise
    other[i] = static_cast<uint8_t>(seed >> 24);
  }
  int histogram[256];
  std::printf("image %d x %d (%.0f megapixels)\n", kWidth, kHeight, kMegapixels);
  Measure("ConvertRgbToGrey", [&] { return ConvertRgbToGrey(image.data(), kWidth, kHeight, grey.data()); });
  Measure("ComputeLumaHistogram", [&] { return ComputeLumaHistogram(image.data(), kWidth, kHeight, histogram); });
  Measure("ComputeChannelHistogram",
          [&] { return ComputeChannelHistogram(image.data(), kWidth, kHeight, 2, histogram); });
  Measure("ApplyGamma", [&] { return ApplyGamma(other.data(), kWidth, kHeight, 1.4); });
  Measure("AdjustLevels stretch", [&] { return AdjustLevels(other.data(), kWidth, kHeight, 5, 250, 0); });
  Measure("AdjustLevels equalise", [&] { return AdjustLevels(other.data(), kWidth, kHeight, 5, 250, 1); });
  Measure("ReduceNoise", [&] { return ReduceNoise(other.data(), kWidth, kHeight); });
  Measure("SharpenImage", [&] { return SharpenImage(image.data(), kWidth, kHeight, other.data(), 10); });
  Measure("BlendImages", [&] { return BlendImages(other.data(), kWidth, kHeight, image.data(), kWidth, kHeight,
                                                  0, 0, 0.6, 0); });
  Measure("BlendImages table", [&] { return BlendImages(other.data(), kWidth, kHeight, image.data(), kWidth,
                                                        kHeight, 0, 0, 0.6, 1); });
  Measure("ResampleImage same size", [&] { return ResampleImage(image.data(), kWidth, kHeight, other.data(),
                                                                kWidth, kHeight, 3); });
  return EXIT_SUCCESS;
}
