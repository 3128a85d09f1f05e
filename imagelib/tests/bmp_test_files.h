// Reads shared by the BMP tests (file bytes come from codec_cases.h): one
// read through the library's entry point with its result and code.
#ifndef IMAGELIB_TESTS_BMP_TEST_FILES_H
#define IMAGELIB_TESTS_BMP_TEST_FILES_H

#include <cstdint>
#include <string>
#include <vector>

#include "codec_cases.h"
#include "imagelib/imagelib.h"
#include "imagelib/platform.h"

namespace bmp_test {

using codec_tests::Bytes;
using codec_tests::FileBytes;
using codec_tests::PutFile;

// One ReadBmpFile call: the pixels it returned (copied out, the block freed).
struct BmpRead {
  bool returned = false;
  int error = -1;
  int width = 0;
  int height = 0;
  Bytes pixels;
  PaletteEntry palette[kPaletteEntries] = {};
};

inline BmpRead ReadBmp(const std::string& path, int bits) {
  BmpRead read;
  ImageStream stream = OpenFileSource(path.c_str());
  if (!stream) return read;
  void* pixels = ReadBmpFile(stream, &read.width, &read.height, bits, read.palette);
  read.error = GetLastImageError();
  CloseFileSource(stream);
  if (!pixels) return read;
  read.returned = true;
  const auto* p = static_cast<const uint8_t*>(pixels);
  size_t bytes = static_cast<size_t>(read.width) * static_cast<size_t>(read.height) * (bits == 24 ? 3 : 1);
  read.pixels.assign(p, p + bytes);
  imagelib::GlobalBlockFree(pixels);
  return read;
}

inline BmpRead ReadBmpBytes(const Bytes& file, int bits) {
  PutFile("bmp_case.bmp", file);
  return ReadBmp("bmp_case.bmp", bits);
}

}  // namespace bmp_test

#endif
