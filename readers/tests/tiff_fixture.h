// The generator's own record of a fixture's samples (NAME.expect) and helpers to
// read a whole image through a reader.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "readers/tiff_reader.h"

struct ExpectedImage {
  uint32_t width = 0;
  uint32_t height = 0;
  uint32_t samplesPerPixel = 0;
  uint32_t bitsPerSample = 0;
  std::vector<uint16_t> samples;

  uint16_t At(uint32_t x, uint32_t y, uint32_t channel) const {
    return samples[(size_t{y} * width + x) * samplesPerPixel + channel];
  }
};

// Loads NAME.expect; an empty image (width 0) when it is missing.
ExpectedImage LoadExpected(const std::string& name);

std::unique_ptr<TiffReader> OpenTiff(const std::string& name, bool reducedMode = false);

// The samples of one line and channel as ReadLineSamples delivers them (bytes at
// output depth 8, words at 16), widened to u16; empty on a refusal.
std::vector<uint16_t> ReadLine(TiffReader* reader, uint32_t line, int channel, uint16_t outputDepth,
                               uint32_t firstColumn = 0, int32_t count = 1 << 30);
