// Times the separation kernels over a raw 8-bit RGB image:
// SeparateLinePlanar8 through a separation table, and SeparateLine16To8
// through a forward CMYK table on the image's 16-bit L*a*b* rows (converted
// before the clock starts). Both tables hold smooth generated nodes.
//   color_separation_bench <image.rgb> <width> <height>
// Prints the two times in seconds. separation_bench.py runs it beside tificc.
// Build it without sanitizers (a Release configuration) for meaningful figures.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "color/cmyk_tables.h"
#include "color/lab_rows.h"
#include "color/separation_tables.h"

namespace {

using Clock = std::chrono::steady_clock;
double SecondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

void FillTables() {
  AllocSeparationTables();
  for (uint32_t i = 0; i < kSeparationTableBytes; ++i) gSeparationTables.table[i] = static_cast<uint8_t>(i * 7 / 13);
  gCmykConversionTables.forward = NewMemHandle(kCmykForwardBytes);
  for (uint32_t i = 0; i < kCmykForwardBytes; ++i)
    gCmykConversionTables.forward->data[i] = static_cast<uint8_t>((i / 4) % 33 * 7 + i % 4);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s image.rgb width height\n", argv[0]);
    return 2;
  }
  const int32_t width = std::atoi(argv[2]), height = std::atoi(argv[3]);
  const size_t row = static_cast<size_t>(width) * 3;
  std::vector<uint8_t> image(row * height);
  FILE* in = std::fopen(argv[1], "rb");
  if (!in || std::fread(image.data(), 1, image.size(), in) != image.size()) return 2;
  std::fclose(in);
  FillTables();

  // Planar rows, as the band producer hands them on.
  std::vector<uint8_t> planar(image.size()), cmyk(static_cast<size_t>(width) * 4);
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x)
      for (int32_t c = 0; c < 3; ++c) planar[y * row + c * width + x] = image[y * row + x * 3 + c];
  std::vector<uint16_t> lab(image.size());
  BuildLabTables(1.8);
  for (int32_t y = 0; y < height; ++y)
    ConvertRgb8ToLab16(&planar[y * row], &lab[y * row], width, 1, width, 1, width);
  FreeLabTables();

  Clock::time_point start = Clock::now();
  for (int32_t y = 0; y < height; ++y) {
    const uint8_t* r = &planar[y * row];
    SeparateLinePlanar8(r, r + width, r + 2 * width, &cmyk[0], &cmyk[width], &cmyk[2 * width], &cmyk[3 * width],
                        width);
  }
  const double planarSeconds = SecondsSince(start);
  start = Clock::now();
  for (int32_t y = 0; y < height; ++y) SeparateLine16To8(&lab[y * row], cmyk.data(), width, 1, width, 1, width);
  const double labSeconds = SecondsSince(start);
  // The last row's first ink is printed too, so that the loops' results are used.
  std::printf("%.4f %.4f %u\n", planarSeconds, labSeconds, static_cast<unsigned>(cmyk[0]));
  FreeSeparationTables();
  FreeCmykConversionTables();
  return 0;
}
