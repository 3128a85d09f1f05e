// Runs the selective colour engine over colours for the numpy check
// (selective_reference.py).
//   selective_tool <matrix: 36 i16> <colours: three 8-bit planes> <colours: three 16-bit planes> <out8> <out16>
// Each output holds the corrected colours in the planes' layout.
#include <cstdio>
#include <vector>

#include "color/selective_color.h"

namespace {

template <typename T>
std::vector<T> Read(const char* path) {
  std::vector<T> data;
  FILE* in = std::fopen(path, "rb");
  if (!in) return data;
  T value;
  while (std::fread(&value, sizeof value, 1, in) == 1) data.push_back(value);
  std::fclose(in);
  return data;
}

template <typename T>
bool Write(const char* path, const std::vector<T>& data) {
  FILE* out = std::fopen(path, "wb");
  if (!out) return false;
  std::fwrite(data.data(), sizeof(T), data.size(), out);
  return std::fclose(out) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 6) {
    std::fprintf(stderr, "usage: %s matrix rgb8 rgb16 out8 out16\n", argv[0]);
    return 2;
  }
  const std::vector<int16_t> matrix = Read<int16_t>(argv[1]);
  std::vector<uint8_t> rgb8 = Read<uint8_t>(argv[2]);
  std::vector<uint16_t> rgb16 = Read<uint16_t>(argv[3]);
  if (matrix.size() != 36) return 2;
  SelectiveColorLutSet set = {};
  if (BuildSelectiveColorLuts(matrix.data(), &set, nullptr, nullptr, 0) != 0) return 1;
  const SelectiveColorLut* entries = SelectiveColorEntries(set);
  // Lines of at most 1000 pixels, as the band producer hands them on.
  const size_t n8 = rgb8.size() / 3, n16 = rgb16.size() / 3;
  for (size_t first = 0; first < n8; first += 1000) {
    const uint16_t count = static_cast<uint16_t>(n8 - first < 1000 ? n8 - first : 1000);
    std::vector<uint8_t> line(3 * count);
    for (int c = 0; c < 3; ++c)
      for (uint16_t k = 0; k < count; ++k) line[c * count + k] = rgb8[c * n8 + first + k];
    ApplySelectiveColor8(line.data(), line.data(), entries, set.entryCount, count, 1, static_cast<int16_t>(count), 0,
                         0, nullptr);
    for (int c = 0; c < 3; ++c)
      for (uint16_t k = 0; k < count; ++k) rgb8[c * n8 + first + k] = line[c * count + k];
  }
  for (size_t first = 0; first < n16; first += 1000) {
    const uint16_t count = static_cast<uint16_t>(n16 - first < 1000 ? n16 - first : 1000);
    std::vector<uint16_t> line(3 * count);
    for (int c = 0; c < 3; ++c)
      for (uint16_t k = 0; k < count; ++k) line[c * count + k] = rgb16[c * n16 + first + k];
    ApplySelectiveColor16(line.data(), line.data(), entries, set.entryCount, count, 1, count, 0, 0, nullptr);
    for (int c = 0; c < 3; ++c)
      for (uint16_t k = 0; k < count; ++k) rgb16[c * n16 + first + k] = line[c * count + k];
  }
  DisposeMemHandle(set.entries);
  return Write(argv[4], rgb8) && Write(argv[5], rgb16) ? 0 : 1;
}
