// What the TGA, PCX and PSD tests share: the fixture cases that
// make_codec_fixtures.py lists per format, run through the format's reader;
// a sweep that spoils each header byte of a fixture; reading and writing
// through file streams; and the lists of written files that ImageMagick
// checks afterwards (check_written_files.py).
#ifndef IMAGELIB_TESTS_CODEC_CASES_H
#define IMAGELIB_TESTS_CODEC_CASES_H

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "imagelib/imagelib.h"
#include "imagelib/library_context.h"
#include "imagelib/platform.h"

namespace codec_tests {

using Reader = void* (*)(ImageStream, int*, int*, int, PaletteEntry*);
using Writer = int (*)(ImageStream, const void*, int, int, int, const PaletteEntry*);
using Bytes = std::vector<uint8_t>;

inline Bytes FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void PutFile(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A decoded image: its pixels (RGB, or indexes at 8 bits) and palette; null
// pixels with the error code when the reader refused the file.
struct Decoded {
  Bytes pixels;
  PaletteEntry palette[256];
  int width = 0, height = 0, error = 0;
  bool ok = false;
};

inline Decoded ReadFile(Reader read, const std::string& path, int bits) {
  Decoded d;
  for (PaletteEntry& e : d.palette) e = PaletteEntry{0xEE, 0xEE, 0xEE, 0};
  ImageStream stream = OpenFileSource(path.c_str());
  if (!stream) {
    ADD_FAILURE() << "cannot open " << path;
    return d;
  }
  void* pixels = read(stream, &d.width, &d.height, bits, d.palette);
  d.error = GetLastImageError();
  CloseFileSource(stream);
  if (pixels) {
    const auto* p = static_cast<const uint8_t*>(pixels);
    d.pixels.assign(p, p + static_cast<size_t>(d.width) * d.height * (bits == 24 ? 3 : 1));
    imagelib::GlobalBlockFree(pixels);
    d.ok = true;
  }
  return d;
}

// The 8-bit result seen through its palette.
inline Bytes ThroughPalette(const Decoded& d) {
  Bytes rgb;
  for (uint8_t index : d.pixels) {
    rgb.push_back(d.palette[index].red);
    rgb.push_back(d.palette[index].green);
    rgb.push_back(d.palette[index].blue);
  }
  return rgb;
}

inline void ExpectSamePixels(const Bytes& found, const Bytes& expected) {
  ASSERT_EQ(found.size(), expected.size());
  for (size_t i = 0; i < found.size(); ++i)
    if (found[i] != expected[i]) {
      ADD_FAILURE() << "first difference at byte " << i << " (pixel " << i / 3 << "): " << int(found[i])
                    << " instead of " << int(expected[i]);
      return;
    }
}

// Every case of <format>_cases.txt in the working folder.
inline void RunFixtureCases(const char* format, Reader read) {
  std::ifstream list(std::string(format) + "_cases.txt");
  ASSERT_TRUE(list) << "no case list: the fixture step did not run";
  std::string line;
  int cases = 0;
  while (std::getline(list, line)) {
    if (line.empty()) continue;
    ++cases;
    std::istringstream fields(line);
    std::string file, width;
    int bits = 0;
    fields >> file >> bits >> width;
    SCOPED_TRACE(line);
    const Decoded d = ReadFile(read, file, bits);
    if (width == "error") {
      int code = 0;
      fields >> code;
      EXPECT_FALSE(d.ok);
      EXPECT_EQ(d.error, code);
      continue;
    }
    int height = 0;
    std::string expected;
    fields >> height >> expected;
    ASSERT_TRUE(d.ok) << "error " << d.error;
    EXPECT_EQ(d.error, 0);
    EXPECT_EQ(d.width, std::stoi(width));
    EXPECT_EQ(d.height, height);
    ExpectSamePixels(bits == 24 ? d.pixels : ThroughPalette(d), FileBytes(expected));
  }
  EXPECT_GT(cases, 0);
}

// Each of the first `count` bytes of the fixture set to 0x00, 0x7F and 0xFF
// in turn, read at 24 and 8 bits: a result or a refusal, never a fault.
inline void SweepHeaderBytes(const std::string& fixture, size_t count, Reader read) {
  const Bytes original = FileBytes(fixture);
  ASSERT_GE(original.size(), count);
  const std::string spoiled = "spoiled_" + fixture;
  for (size_t i = 0; i < count; ++i)
    for (uint8_t value : {0x00, 0x7F, 0xFF}) {
      Bytes bytes = original;
      bytes[i] = value;
      PutFile(spoiled, bytes);
      for (int bits : {24, 8}) {
        const Decoded d = ReadFile(read, spoiled, bits);
        EXPECT_TRUE(d.ok || d.error != 0) << "byte " << i << " = " << int(value);
      }
    }
}

// Notes a written file in written_<extension>.txt, with the RGB that
// ImageMagick must read from it beside it, and what else the list's checks
// want to see (written after the size).
inline void NoteWritten(const std::string& path, const Bytes& rgb, int width, int height,
                        const std::string& checks = "") {
  PutFile(path + ".rgb", rgb);
  const std::string extension = path.substr(path.rfind('.') + 1);
  std::ofstream("written_" + extension + ".txt", std::ios::app)
      << path << ' ' << width << ' ' << height << (checks.empty() ? "" : " " + checks) << '\n';
}

// Writes the pixels and notes the file.
inline void WriteFile(Writer write, const std::string& path, const Bytes& pixels, int width, int height, int bits,
                      const PaletteEntry* palette) {
  ImageStream sink = OpenFileSink(path.c_str());
  ASSERT_NE(sink, nullptr);
  EXPECT_NE(write(sink, pixels.data(), width, height, bits, palette), 0) << GetLastImageError();
  CloseFileSink(sink);
  Bytes rgb;
  if (bits == 24) {
    rgb = pixels;
  } else {
    for (uint8_t index : pixels) {
      rgb.push_back(palette[index].red);
      rgb.push_back(palette[index].green);
      rgb.push_back(palette[index].blue);
    }
  }
  NoteWritten(path, rgb, width, height);
}

// A test image with many colours, and an 8-bit one with its palette.
inline Bytes TestRgb(int width, int height) {
  Bytes rgb;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      rgb.push_back(uint8_t(x * 9 + y));
      rgb.push_back(uint8_t(y * 13 + 5));
      rgb.push_back(uint8_t(x * y + 200));
    }
  return rgb;
}

inline Bytes TestIndexes(int width, int height) {
  Bytes indexes;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) indexes.push_back(uint8_t((x * 5 + y * 3) % 256));
  return indexes;
}

inline void TestPalette(PaletteEntry (&palette)[256]) {
  for (int i = 0; i < 256; ++i) palette[i] = PaletteEntry{uint8_t(255 - i), uint8_t(i * 7), uint8_t(i), 0};
}

// A progress callback that stops at the row it is given.
inline int StopAtRow(int done, int, void* row) { return done < *static_cast<int*>(row); }

// Runs the call with that callback set on this thread's context.
template <typename Call>
void WithStopAtRow(int row, Call call) {
  imagelib::LibraryContext* context = imagelib::GetContext();
  context->progress = StopAtRow;
  context->progress_user_data = &row;
  call();
  context->progress = nullptr;
  context->progress_user_data = nullptr;
}

}  // namespace codec_tests

#endif
