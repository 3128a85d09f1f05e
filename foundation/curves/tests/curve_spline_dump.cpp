// Evaluates the splines for the numpy comparison: reads cases from a file,
// one per line ("kind n m x... y...", kind 8, 16 or wide), and writes each
// table as one line of numbers.
#include <cstdio>
#include <cstring>
#include <vector>

#include "foundation/curves/curve_spline.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: curve_spline_dump <cases> <tables>\n");
    return 2;
  }
  FILE* in = std::fopen(argv[1], "r");
  FILE* out = std::fopen(argv[2], "w");
  if (!in || !out) return 2;
  char kind[8];
  int n = 0, m = 0;
  while (std::fscanf(in, "%7s %d %d", kind, &n, &m) == 3) {
    if (n < 1 || m < 0) return 2;
    std::vector<long> x(n), y(n);
    for (long& v : x) if (std::fscanf(in, "%ld", &v) != 1) return 2;
    for (long& v : y) if (std::fscanf(in, "%ld", &v) != 1) return 2;
    std::vector<unsigned> table(m + 1);
    if (std::strcmp(kind, "wide") == 0) {
      std::vector<int32_t> xi(x.begin(), x.end()), yi(y.begin(), y.end());
      std::vector<uint16_t> t(m + 1);
      CurveSplineWide(xi.data(), yi.data(), n, m, t.data());
      table.assign(t.begin(), t.end());
    } else {
      std::vector<uint16_t> xi(x.begin(), x.end()), yi(y.begin(), y.end());
      if (std::strcmp(kind, "8") == 0) {
        std::vector<uint8_t> t(m + 1);
        CurveSpline(xi.data(), yi.data(), n, m, t.data());
        table.assign(t.begin(), t.end());
      } else {
        std::vector<uint16_t> t(m + 1);
        CurveSpline16(xi.data(), yi.data(), n, m, t.data());
        table.assign(t.begin(), t.end());
      }
    }
    for (int k = 0; k <= m; ++k) std::fprintf(out, k ? " %u" : "%u", table[k]);
    std::fprintf(out, "\n");
  }
  std::fclose(in);
  return std::fclose(out) == 0 ? 0 : 1;
}
