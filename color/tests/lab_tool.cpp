// Runs the L*a*b* kernels and the double routines over a file of colours for
// the numerical check.
//   lab_tool gamma rx ry gx gy bx by wx wy in out
// in: n colours as three 8-bit planes. out, in order: Lab8 signed, Lab8 with
// offset, Lab16 from 8 bits (3 x n u16), Lab doubles (3 x n f64), RGB8 back
// from the offset Lab8, RGB doubles back from the offset Lab8 read as doubles.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "color/lab_rows.h"
#include "state/data_source_state.h"

namespace {

template <typename T>
void Put(FILE* file, const std::vector<T>& data) {
  std::fwrite(data.data(), sizeof(T), data.size(), file);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 12) {
    std::fprintf(stderr, "usage: %s gamma rx ry gx gy bx by wx wy in out\n", argv[0]);
    return 2;
  }
  float basis[8];
  for (int i = 0; i < 8; ++i) basis[i] = static_cast<float>(std::atof(argv[2 + i]));
  std::memcpy(DefaultsBytes(gDefaults, kDefaultPrimaries), basis, 24);
  std::memcpy(DefaultsBytes(gDefaults, kDefaultWhitePoint), basis + 6, 8);
  FILE* in = std::fopen(argv[10], "rb");
  if (!in) return 2;
  std::vector<uint8_t> rgb;
  for (int c; (c = std::fgetc(in)) != EOF;) rgb.push_back(static_cast<uint8_t>(c));
  std::fclose(in);
  const int32_t n = static_cast<int32_t>(rgb.size() / 3);

  BuildLabTables(std::atof(argv[1]));
  std::vector<uint8_t> signedLab(rgb), offsetLab(rgb);
  ConvertRgb8ToLab8(signedLab.data(), 1, n, true);
  ConvertRgb8ToLab8(offsetLab.data(), 1, n, false);
  std::vector<uint16_t> lab16(3 * n);
  ConvertRgb8ToLab16(rgb.data(), lab16.data(), n, 1, n, 1, n);
  std::vector<double> labDouble(3 * n), rgbBack(3 * n);
  for (int32_t i = 0; i < n; ++i) {
    const double c[3] = {rgb[i] / 255.0, rgb[n + i] / 255.0, rgb[2 * n + i] / 255.0};
    double lab[3];
    RgbToLab(c, lab);
    const double fromLab8[3] = {offsetLab[i] / 2.55, offsetLab[n + i] - 128.0, offsetLab[2 * n + i] - 128.0};
    double back[3];
    LabToRgb(fromLab8, back);
    for (int k = 0; k < 3; ++k) {
      labDouble[k * n + i] = lab[k];
      rgbBack[k * n + i] = back[k];
    }
  }
  std::vector<uint8_t> rgb8Back(offsetLab);
  ConvertLab8ToRgb8(rgb8Back.data(), 1, n, false);
  FreeLabTables();

  FILE* out = std::fopen(argv[11], "wb");
  if (!out) return 2;
  Put(out, signedLab);
  Put(out, offsetLab);
  Put(out, lab16);
  Put(out, labDouble);
  Put(out, rgb8Back);
  Put(out, rgbBack);
  return std::fclose(out) == 0 ? 0 : 1;
}
