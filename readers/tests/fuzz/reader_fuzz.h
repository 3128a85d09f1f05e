// The body of the reader fuzz targets: the fuzzed bytes as an image file of
// the given name, driven through everything the data source asks of a reader.
#pragma once

#include <algorithm>
#include <memory>
#include <vector>

#include "readers/reader_errors.h"
#include "readers/reader_factory.h"
#include "tools/fuzz/fuzz_target.h"

// The first and last lines: enough to reach every strip, tile and band rule
// without decoding a huge claimed image line by line.
inline void ReadSomeLines(ImageFileReader* reader, const ImageFileInfo& info) {
  std::vector<uint16_t> line(std::min<uint32_t>(info.width, 4096));
  auto read = [&](uint32_t y) {
    for (int channel = 0; channel < info.samplesPerPixel; ++channel) {
      int32_t count = static_cast<int32_t>(line.size());
      reader->ReadLineSamples(y, 0, channel, line.data(), &count);
    }
  };
  for (uint32_t y = 1; y <= std::min<uint32_t>(info.height, 16); ++y) read(y);
  for (uint32_t y = std::max<uint32_t>(info.height - 15, 17); y <= info.height && y > 16; ++y) read(y);
}

inline void FuzzImageReader(const uint8_t* data, size_t size, const char* name) {
  const std::string path = WriteFuzzFile(name, data, size);
  if (path.empty()) return;
  for (bool reduced : {false, true}) {
    std::unique_ptr<ImageFileReader> reader = CreateImageFileReader(path.c_str(), 0, reduced);
    if (!reader || !reader->ImageReaderIsOpen()) return;
    ImageFileInfo info = {};
    if (reader->ReadHeader(&info) != kReaderOk) continue;
    std::vector<uint8_t> bits(8 * 8 * 3);
    reader->ReadThumbnailLines(nullptr, bits.data(), 8, 8, 24, 3);
    uint8_t resourceName[256];
    reader->ReadImageResource(1036, resourceName);
    if (reader->StartReading(65536) == kReaderOk) {
      ReadSomeLines(reader.get(), info);
      reader->ReadPreviewLines(nullptr, bits.data(), 8, 8, 24, 3);
    }
    reader->FinishReading();
  }
}
