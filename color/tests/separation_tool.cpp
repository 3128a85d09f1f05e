// Runs SeparateLinePlanar8 over colours for the numpy check
// (separation_reference.py).
//   separation_tool <table.ast> <colours: three 8-bit planes> <out: four 8-bit planes>
#include <cstdio>
#include <vector>

#include "color/separation_tables.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s table.ast colours out\n", argv[0]);
    return 2;
  }
  if (AllocSeparationTables() != 0 || LoadSeparationTables(argv[1]) != 0) {
    std::fprintf(stderr, "the table %s does not load\n", argv[1]);
    return 1;
  }
  FILE* in = std::fopen(argv[2], "rb");
  if (!in) return 2;
  std::vector<uint8_t> rgb;
  for (int c; (c = std::fgetc(in)) != EOF;) rgb.push_back(static_cast<uint8_t>(c));
  std::fclose(in);
  const int32_t n = static_cast<int32_t>(rgb.size() / 3);
  std::vector<uint8_t> cmyk(4 * static_cast<size_t>(n));
  SeparateLinePlanar8(&rgb[0], &rgb[n], &rgb[2 * n], &cmyk[0], &cmyk[n], &cmyk[2 * n], &cmyk[3 * n], n);
  FreeSeparationTables();
  FILE* out = std::fopen(argv[3], "wb");
  if (!out) return 2;
  std::fwrite(cmyk.data(), 1, cmyk.size(), out);
  return std::fclose(out) == 0 ? 0 : 1;
}
