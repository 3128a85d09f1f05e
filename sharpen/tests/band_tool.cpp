// Runs whole images through the band filters and the resampler for the
// numerical check: each line of the job file is one run over a raw planar
// image (native byte order) written by the check, and names its output file.
//   sharpen <grey8|grey16|rgb8|rgb16> width rows kind threshold amount limit soft light dark matrix negative
//           bandRows release in out
//   scale <grey8|grey16|rgb8|rgb16> width rows outWidth outRows bandRows shortReads in out
#include <cstdio>
#include <cstring>
#include <string>

#include "sharpen/tests/band_harness.h"

namespace {

bool ReadImage(const char* path, PlanarImage* image) {
  image->data.resize(static_cast<size_t>(image->rows) * image->RowBytes());
  FILE* file = std::fopen(path, "rb");
  if (!file) return false;
  const size_t got = std::fread(image->data.data(), 1, image->data.size(), file);
  std::fclose(file);
  return got == image->data.size();
}

bool WriteImage(const char* path, const PlanarImage& image) {
  FILE* file = std::fopen(path, "wb");
  if (!file) return false;
  const size_t put = std::fwrite(image.data.data(), 1, image.data.size(), file);
  return std::fclose(file) == 0 && put == image.data.size();
}

PlanarImage Layout(const char* name, int width, int rows) {
  const bool rgb = std::strncmp(name, "rgb", 3) == 0;
  const bool wide = std::strstr(name, "16") != nullptr;
  return PlanarImage{width, rows, rgb ? 3 : 1, wide ? 16 : 8, {}};
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s jobfile\n", argv[0]);
    return 2;
  }
  FILE* jobs = std::fopen(argv[1], "r");
  if (!jobs) return 2;
  char kind[16], layout[16], in[256], out[256];
  int failures = 0;
  while (std::fscanf(jobs, "%15s %15s", kind, layout) == 2) {
    int width = 0, rows = 0;
    if (std::fscanf(jobs, "%d %d", &width, &rows) != 2) return 2;
    PlanarImage image = Layout(layout, width, rows);
    PlanarImage result;
    if (std::strcmp(kind, "sharpen") == 0) {
      int filter, threshold, amount, limit, soft, light, dark, matrix, negative, band, release;
      if (std::fscanf(jobs, "%d %d %d %d %d %d %d %d %d %d %d %255s %255s", &filter, &threshold, &amount, &limit,
                      &soft, &light, &dark, &matrix, &negative, &band, &release, in, out) != 13)
        return 2;
      if (!ReadImage(in, &image)) return 2;
      FrameRecord frame = {};
      frame.colorMode = image.planes == 3 ? 2 : 1;
      frame.bitsPerChannel = static_cast<uint8_t>(image.bits);
      frame.filterMode = static_cast<uint8_t>(filter);
      frame.sharpen941 = static_cast<uint8_t>(static_cast<int8_t>(threshold));
      frame.sharpen942 = static_cast<uint16_t>(amount);
      frame.sharpen944 = static_cast<uint16_t>(limit);
      frame.sharpen948 = static_cast<uint8_t>(soft);
      frame.sharpen1488 = static_cast<uint16_t>(light);
      frame.sharpen1490 = static_cast<uint16_t>(dark);
      frame.sharpenFlag = static_cast<uint8_t>(matrix);
      result = SharpenInBands(frame, negative != 0, image, band, release != 0);
    } else {
      int outWidth, outRows, band, shortReads;
      if (std::fscanf(jobs, "%d %d %d %d %255s %255s", &outWidth, &outRows, &band, &shortReads, in, out) != 6)
        return 2;
      if (!ReadImage(in, &image)) return 2;
      result = ScaleInBands(image, outWidth, outRows, band, shortReads);
    }
    if (!WriteImage(out, result)) ++failures;
  }
  std::fclose(jobs);
  return failures ? 1 : 0;
}
