// The photo library's readers on fuzzed files through its entry points: the
// first byte picks the format (its low bits), the depth asked for (bit 7) and
// a header read instead of the image (bit 6); the rest is the file.
#include <cstdint>
#include <string>

#include "imagelib/imagelib.h"
#include "imagelib/platform.h"
#include "tools/fuzz/fuzz_target.h"

namespace {

void* ReadAs(int format, ImageStream stream, int bits, int* width, int* height, PaletteEntry* palette) {
  switch (format) {
    case 0: return ReadBmpFile(stream, width, height, bits, palette);
    case 1: return ReadPcxFile(stream, width, height, bits, palette);
    case 2: return ReadTgaFile(stream, width, height, bits, palette);
    case 3: return ReadPsdFile(stream, width, height, bits, palette);
    case 4: return ReadTiffFile(stream, width, height, bits, 0, 0);
    case 5: return ReadPngFile(stream, width, height, bits, palette);
    default: return ReadJpegFile(stream, width, height, bits);
  }
}

void ReadInfo(int format, ImageStream stream) {
  int width = 0, height = 0, bits = 0, colorType = 0, interlace = 0;
  ImageResolution resolution = {};
  if (format == 4) GetTiffFileInfo(stream, &width, &height, &bits, &resolution);
  if (format == 5) GetPngFileInfo(stream, &width, &height, &bits, &colorType, &interlace, &resolution);
  if (format == 6) GetJpegFileInfo(stream, &width, &height, &bits, &resolution);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const std::string path = WriteFuzzFile("zir_fuzz_image.bin", data + 1, size - 1);
  if (path.empty()) return 0;
  ImageStream stream = OpenFileSource(path.c_str());
  if (!stream) return 0;
  const int format = (data[0] & 0x3F) % 7;
  if (data[0] & 0x40) {
    ReadInfo(format, stream);
  } else {
    int width = 0, height = 0;
    PaletteEntry palette[kPaletteEntries] = {};
    void* pixels = ReadAs(format, stream, data[0] & 0x80 ? 24 : 8, &width, &height, palette);
    if (pixels) imagelib::GlobalBlockFree(pixels);
  }
  CloseFileSource(stream);
  return 0;
}
