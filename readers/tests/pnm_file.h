// Reads the binary PNM files that djpeg writes, as reference samples.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

struct PnmImage {
  int width = 0;
  int height = 0;
  int channels = 0;
  int maxval = 0;
  std::vector<int> samples;  // rows of interleaved samples
};

inline bool ReadPnm(const std::string& path, PnmImage* image) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  char magic[3] = {};
  bool ok = std::fscanf(f, "%2s %d %d %d", magic, &image->width, &image->height, &image->maxval) == 4 &&
            std::fgetc(f) != EOF;
  image->channels = std::string(magic) == "P6" ? 3 : 1;
  size_t count = static_cast<size_t>(image->width) * image->height * image->channels;
  image->samples.resize(count);
  for (size_t i = 0; ok && i < count; ++i) {
    int v = std::fgetc(f);
    if (image->maxval > 255) v = (v << 8) | std::fgetc(f);
    image->samples[i] = v;
    ok = !std::feof(f);
  }
  std::fclose(f);
  return ok;
}
