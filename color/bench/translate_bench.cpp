// The output translation of whole images in bands, as the band producer runs
// it: each row of an interleaved 8-bit RGB file to planes, through
// TranslateOutputLine (RGB planes in place, or into four CMYK planes), and out
// to a file.
//   color_translate_bench <raw RGB file> <width> <height> <internal profile> <output profile> rgb|cmyk <out file>
// prints "seconds peak-MB" (the band loop; set-up excluded). translate_bench.py
// runs it under Wine against tificc on the same image.
#include <windows.h>
#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "color/color_management.h"
#include "color/color_profile_set.h"
#include "color/pixel_layout.h"
#include "records/defaults_block.h"
#include "state/data_source_state.h"

namespace {

constexpr int kBandRows = 64;

double PeakMegabytes() {
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return counters.PeakWorkingSetSize / 1048576.0;
}

void SetPath(DefaultsArea area, const std::string& path) {
  std::memset(DefaultsBytes(gDefaults, area), 0, area.size);
  std::memcpy(DefaultsBytes(gDefaults, area), path.data(), path.size());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 8) {
    std::printf("usage: color_translate_bench RAW WIDTH HEIGHT INTERNAL OUTPUT rgb|cmyk OUT\n");
    return 2;
  }
  const int width = std::atoi(argv[2]), height = std::atoi(argv[3]);
  const bool cmyk = std::strcmp(argv[6], "cmyk") == 0;
  FILE* in = std::fopen(argv[1], "rb");
  FILE* out = std::fopen(argv[7], "wb");
  if (!in || !out || !ColorSystemLoad()) return 1;
  gIcmEnabled = 1;
  SetPath(kDefaultInternalProfile, argv[4]);
  SetPath(kDefaultOutputProfile, argv[5]);
  if (RebuildColorTransforms() != 0 || !IsOutputTransformReady()) return 1;

  const size_t inRow = static_cast<size_t>(width) * 3, outRow = static_cast<size_t>(width) * (cmyk ? 4 : 3);
  std::vector<uint8_t> pixels(inRow * kBandRows), band(outRow * kBandRows);
  const auto start = std::chrono::steady_clock::now();
  for (int top = 0; top < height; top += kBandRows) {
    const int rows = height - top < kBandRows ? height - top : kBandRows;
    if (std::fread(pixels.data(), inRow, rows, in) != static_cast<size_t>(rows)) return 1;
    for (int y = 0; y < rows; ++y) {
      uint8_t* row = band.data() + y * outRow;
      InterleavedToPlanar3x8(pixels.data() + y * inRow, row, 1, width);
      TranslateOutputLine(row, row, width, 0, cmyk, 0);
    }
    std::fwrite(band.data(), outRow, rows, out);
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("%.3f %.1f\n", seconds, PeakMegabytes());
  DeleteColorTransforms();
  FreeOutputLineBuffer();
  ColorSystemUnload();
  std::fclose(in);
  std::fclose(out);
  return 0;
}
