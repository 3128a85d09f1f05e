// The JPEG tests' files: whole files, the PNM pixels of the references and
// sources, and the library's JPEG reader over a file.
#ifndef IMAGELIB_TESTS_JPEG_TEST_FILES_H
#define IMAGELIB_TESTS_JPEG_TEST_FILES_H

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "imagelib/imagelib.h"
#include "imagelib/platform.h"

inline std::vector<uint8_t> FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A binary PGM or PPM with 8-bit samples, as djpeg and our generator write them.
struct PnmImage {
  int width = 0;
  int height = 0;
  int channels = 0;
  std::vector<uint8_t> samples;
};

inline PnmImage ReadPnm(const std::string& path) {
  PnmImage image;
  std::ifstream in(path, std::ios::binary);
  std::string magic;
  int maxval = 0;
  in >> magic >> image.width >> image.height >> maxval;
  in.get();
  image.channels = magic == "P6" ? 3 : 1;
  image.samples.resize(static_cast<size_t>(image.width) * image.height * image.channels);
  in.read(reinterpret_cast<char*>(image.samples.data()), static_cast<std::streamsize>(image.samples.size()));
  if (!in || maxval != 255) image = PnmImage();
  return image;
}

// What ReadJpegFile answered for a file: its pixels copied out of the freed buffer.
struct JpegReadResult {
  bool buffer = false;
  int error = 0;
  int width = 0;
  int height = 0;
  std::vector<uint8_t> pixels;
};

inline JpegReadResult ReadJpeg(const std::string& path, int bits) {
  JpegReadResult decoded;
  ImageStream stream = OpenFileSource(path.c_str());
  if (!stream) return decoded;
  void* pixels = ReadJpegFile(stream, &decoded.width, &decoded.height, bits);
  decoded.error = GetLastImageError();
  CloseFileSource(stream);
  decoded.buffer = pixels != nullptr;
  if (pixels) {
    size_t bytes = static_cast<size_t>(decoded.width) * decoded.height * (bits == 24 ? 3 : 1);
    const auto* begin = static_cast<const uint8_t*>(pixels);
    decoded.pixels.assign(begin, begin + bytes);
    imagelib::GlobalBlockFree(pixels);
  }
  return decoded;
}

#endif
