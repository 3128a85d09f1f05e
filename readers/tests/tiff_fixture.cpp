#include "readers/tests/tiff_fixture.h"

#include <algorithm>
#include <cstdio>

ExpectedImage LoadExpected(const std::string& name) {
  ExpectedImage image;
  FILE* file = std::fopen((name + ".expect").c_str(), "rb");
  if (!file) return image;
  uint32_t head[4];
  if (std::fread(head, sizeof head, 1, file) == 1) {
    image.width = head[0];
    image.height = head[1];
    image.samplesPerPixel = head[2];
    image.bitsPerSample = head[3];
    image.samples.resize(size_t{head[0]} * head[1] * head[2]);
    if (std::fread(image.samples.data(), 2, image.samples.size(), file) != image.samples.size()) image = {};
  }
  std::fclose(file);
  return image;
}

std::unique_ptr<TiffReader> OpenTiff(const std::string& name, bool reducedMode) {
  return std::make_unique<TiffReader>((name + ".tif").c_str(), reducedMode);
}

std::vector<uint16_t> ReadLine(TiffReader* reader, uint32_t line, int channel, uint16_t outputDepth,
                               uint32_t firstColumn, int32_t count) {
  std::vector<uint16_t> words(1 << 12);
  std::vector<uint8_t> bytes(1 << 12);
  int32_t n = std::min<int32_t>(count, static_cast<int32_t>(words.size()));
  void* buffer = outputDepth == 16 ? static_cast<void*>(words.data()) : static_cast<void*>(bytes.data());
  if (reader->ReadLineSamples(line, firstColumn, channel, buffer, &n) != 0) return {};
  if (outputDepth == 16) return std::vector<uint16_t>(words.begin(), words.begin() + n);
  return std::vector<uint16_t>(bytes.begin(), bytes.begin() + n);
}
