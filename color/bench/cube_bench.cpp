// Times the colour cube and twelve-colour matrix kernels over a raw 8-bit RGB
// image: ApplyColorCube8 and ApplyColorMatrix8 on its rows, ApplyColorCube16
// and ApplyColorMatrix16 on the same rows widened to 16 bits (before the
// clock starts). The cube is a smooth transform away from the identity, the
// matrix corrects every sector. With a third argument it writes that cube as
// a 16-bit Hald image of level 6 (a PPM) for the peer and does nothing else.
//   color_cube_bench <image.rgb> <width> <height>
//   color_cube_bench --hald <out.ppm>
// Prints the four times in seconds. cube_bench.py runs it beside ImageMagick.
// Build it without sanitizers (a Release configuration) for meaningful figures.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "color/color_cubes.h"
#include "color/color_matrix.h"

namespace {

using Clock = std::chrono::steady_clock;
double SecondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// The 16-bit cube: red and green mixed, green lifted, blue compressed.
MemHandle MakeCube16() {
  MemHandle cube = NewCube16();
  uint16_t* v = reinterpret_cast<uint16_t*>(cube->data);
  for (int r = 0; r < kCubeNodes; ++r)
    for (int g = 0; g < kCubeNodes; ++g)
      for (int b = 0; b < kCubeNodes; ++b) {
        const double x[3] = {std::min(2048 * r, 65535) / 65535.0, std::min(2048 * g, 65535) / 65535.0,
                             std::min(2048 * b, 65535) / 65535.0};
        const double out[3] = {0.75 * x[0] + 0.2 * x[1], std::pow(x[1], 0.7), 1.0 - 0.6 * (1.0 - x[2]) - 0.05 * x[0]};
        for (int c = 0; c < 3; ++c) *v++ = static_cast<uint16_t>(std::clamp(out[c], 0.0, 1.0) * 65535 + 0.5);
      }
  return cube;
}

MemHandle Cube8Of(MemHandle cube16) {
  MemHandle cube = NewCube8();
  const uint16_t* v = reinterpret_cast<const uint16_t*>(cube16->data);
  for (int32_t i = 0; i < kCubeEntries * 3; ++i) cube->data[i] = static_cast<uint8_t>((v[i] * 255 + 32767) / 65535);
  return cube;
}

// Level 6: 36 nodes an axis, red fastest, as ImageMagick's -hald-clut reads it.
int WriteHald(const char* path) {
  MemHandle cube = MakeCube16();
  const int nodes = 36, side = 216;
  std::vector<uint16_t> pixels(static_cast<size_t>(nodes) * nodes * nodes * 3);
  size_t k = 0;
  for (int b = 0; b < nodes; ++b)
    for (int g = 0; g < nodes; ++g)
      for (int r = 0; r < nodes; ++r, k += 3) {
        const uint16_t in[3] = {static_cast<uint16_t>(r * 65535 / (nodes - 1)),
                                static_cast<uint16_t>(g * 65535 / (nodes - 1)),
                                static_cast<uint16_t>(b * 65535 / (nodes - 1))};
        ApplyColorCube16(in, &pixels[k], cube, 1, 3, 1, 3, 1);
      }
  FILE* out = std::fopen(path, "wb");
  if (!out) return 2;
  std::fprintf(out, "P6\n%d %d\n65535\n", side, side);
  for (uint16_t& v : pixels) v = static_cast<uint16_t>(v >> 8 | v << 8);  // PPM samples are big-endian
  std::fwrite(pixels.data(), 2, pixels.size(), out);
  std::fclose(out);
  DisposeMemHandle(cube);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--hald") == 0) return WriteHald(argv[2]);
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s image.rgb width height | --hald out.ppm\n", argv[0]);
    return 2;
  }
  const int32_t width = std::atoi(argv[2]), height = std::atoi(argv[3]);
  const size_t row = static_cast<size_t>(width) * 3;
  std::vector<uint8_t> image(row * height);
  FILE* in = std::fopen(argv[1], "rb");
  if (!in || std::fread(image.data(), 1, image.size(), in) != image.size()) return 2;
  std::fclose(in);
  std::vector<uint16_t> wide(image.size());
  for (size_t i = 0; i < image.size(); ++i) wide[i] = static_cast<uint16_t>(image[i] * 257);
  MemHandle cube16 = MakeCube16();
  MemHandle cube8 = Cube8Of(cube16);
  int16_t matrix[kMatrixCells];
  for (int i = 0; i < kMatrixCells; ++i) matrix[i] = static_cast<int16_t>((i * 37) % 41 - 20);
  ColorMatrixLutSet set{};
  BuildColorMatrixLuts(matrix, &set, nullptr, nullptr, 0);
  const auto* entries = reinterpret_cast<const ColorMatrixLut*>(set.entries->data);
  std::vector<uint8_t> out8(row);
  std::vector<uint16_t> out16(row);

  double seconds[4];
  Clock::time_point start = Clock::now();
  for (int32_t y = 0; y < height; ++y) ApplyColorCube8(&image[y * row], out8.data(), cube8, width, 3, 1, 3, 1, 0, 0, nullptr);
  seconds[0] = SecondsSince(start);
  start = Clock::now();
  for (int32_t y = 0; y < height; ++y) ApplyColorCube16(&wide[y * row], out16.data(), cube16, width, 3, 1, 3, 1);
  seconds[1] = SecondsSince(start);
  start = Clock::now();
  for (int32_t y = 0; y < height; ++y)
    ApplyColorMatrix8(&image[y * row], out8.data(), entries, 72, static_cast<uint16_t>(width), 3, 1, 0, 0, nullptr);
  seconds[2] = SecondsSince(start);
  start = Clock::now();
  for (int32_t y = 0; y < height; ++y)
    ApplyColorMatrix16(&wide[y * row], out16.data(), entries, 72, width, 3, 1, 0, 0, nullptr);
  seconds[3] = SecondsSince(start);
  // The last row's first samples are printed too, so that the loops' results are used.
  std::printf("%.4f %.4f %.4f %.4f %u %u\n", seconds[0], seconds[1], seconds[2], seconds[3],
              static_cast<unsigned>(out8[0]), static_cast<unsigned>(out16[0]));
  DisposeMemHandle(cube8);
  DisposeMemHandle(cube16);
  DisposeMemHandle(set.entries);
  return 0;
}
