// The BMP writer: headers and layouts of the files it writes, files our
// reader reads back with the same pixels, and its refusals. Each written
// file is left as written_<name>.bmp beside written_<name>.ppm, its pixels,
// for check_written_bmp.py to compare with ImageMagick's reading.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bmp_test_files.h"
#include "imagelib/library_context.h"

using namespace bmp_test;

namespace {

uint32_t Le32(const Bytes& b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

struct WriteCase {
  std::string name;
  int width;
  int height;
  int bits;
  int colors;
  int rle;
  Bytes pixels;  // packed rows at 1 and 4 bits
  std::vector<PaletteEntry> palette;

  int RowBytes() const { return bits == 24 ? 3 * width : bits == 8 ? width : (width * bits + 7) / 8; }
  int IndexAt(int x, int y) const {
    const uint8_t* row = pixels.data() + y * RowBytes();
    if (bits == 8) return row[x];
    if (bits == 4) return x % 2 ? row[x / 2] & 15 : row[x / 2] >> 4;
    return (row[x / 8] >> (7 - x % 8)) & 1;
  }
  Bytes Rgb() const {
    if (bits == 24) return pixels;
    Bytes rgb;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) {
        const PaletteEntry& e = palette[IndexAt(x, y)];
        rgb.insert(rgb.end(), {e.red, e.green, e.blue});
      }
    return rgb;
  }
};

std::vector<PaletteEntry> Palette(int colors) {
  std::vector<PaletteEntry> palette;
  for (int i = 0; i < colors; ++i)
    palette.push_back({uint8_t(i * 37), uint8_t(255 - i), uint8_t(i * 91 % 256), 0xCC});
  return palette;
}

WriteCase Make(std::string name, int width, int height, int bits, int colors, int rle, int (*value)(int x, int y)) {
  WriteCase c{std::move(name), width, height, bits, colors, rle, {}, Palette(colors)};
  int per_byte = bits < 8 ? 8 / bits : 1;
  c.pixels.assign(static_cast<size_t>(c.RowBytes() * height), 0);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < (bits == 24 ? 3 * width : width); ++x) {
      int v = value(x, y);
      if (bits >= 8)
        c.pixels[y * c.RowBytes() + x] = static_cast<uint8_t>(v);
      else
        c.pixels[y * c.RowBytes() + x / per_byte] |= static_cast<uint8_t>(v << (8 - bits * (x % per_byte + 1)));
    }
  return c;
}

std::vector<WriteCase> WriteCases() {
  std::vector<WriteCase> cases;
  for (int width = 1; width <= 5; ++width)
    cases.push_back(Make("rgb24_w" + std::to_string(width), width, 3, 24, 0, 0,
                         [](int x, int y) { return (x * 41 + y * 97) % 256; }));
  cases.push_back(Make("pal8", 9, 4, 8, 200, 0, [](int x, int y) { return (x * 23 + y * 51) % 200; }));
  cases.push_back(Make("pal4", 7, 3, 4, 11, 0, [](int x, int y) { return (x + 2 * y) % 11; }));
  cases.push_back(Make("pal1", 13, 3, 1, 2, 0, [](int x, int y) { return (x / 2 + y) % 2; }));
  cases.push_back(Make("rle_runs", 20, 3, 8, 8, 1, [](int x, int y) { return (x / 5 + y) % 8; }));
  cases.push_back(Make("rle_absolute", 16, 3, 8, 16, 1, [](int x, int y) { return (x * 3 + y) % 16; }));
  cases.push_back(Make("rle_mixed_odd", 17, 4, 8, 64, 1,
                       [](int x, int y) { return x < 6 ? 9 : x < 12 ? (x * 7 + y) % 64 : x % 2 + y; }));
  cases.push_back(Make("rle_width1", 1, 3, 8, 4, 1, [](int, int y) { return y; }));
  cases.push_back(Make("rle_width2", 2, 2, 8, 4, 1, [](int x, int y) { return x + y; }));
  cases.push_back(Make("rle_long", 601, 2, 8, 256, 1, [](int x, int y) { return y == 0 ? x % 256 : x / 300; }));
  return cases;
}

int WriteFile(const std::string& path, const WriteCase& c) {
  ImageStream sink = OpenFileSink(path.c_str());
  int result = WriteBmpFile(sink, c.pixels.data(), c.width, c.height, c.bits, c.colors,
                            c.palette.empty() ? nullptr : c.palette.data(), c.rle);
  CloseFileSink(sink);
  return result;
}

void WritePpm(const std::string& path, int width, int height, const Bytes& rgb) {
  std::string head = "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
  Bytes file(head.begin(), head.end());
  file.insert(file.end(), rgb.begin(), rgb.end());
  PutFile(path, file);
}

TEST(BmpWriter, WritesFilesThatReadBackTheSame) {
  for (const WriteCase& c : WriteCases()) {
    SCOPED_TRACE(c.name);
    std::string base = "written_" + c.name;
    ASSERT_EQ(WriteFile(base + ".bmp", c), 1);
    EXPECT_EQ(GetLastImageError(), kImageOk);
    WritePpm(base + ".ppm", c.width, c.height, c.Rgb());

    Bytes file = FileBytes(base + ".bmp");
    ASSERT_GT(file.size(), 54u);
    uint32_t offset = 54 + 4 * c.colors;
    EXPECT_EQ(Le32(file, 2), file.size());
    EXPECT_EQ(Le32(file, 10), offset);
    EXPECT_EQ(Le32(file, 46), static_cast<uint32_t>(c.colors));
    EXPECT_EQ(Le32(file, 50), static_cast<uint32_t>(c.colors));
    for (int i = 0; i < c.colors; ++i) {
      const PaletteEntry& e = c.palette[i];
      EXPECT_EQ(Bytes(file.begin() + 54 + 4 * i, file.begin() + 58 + 4 * i), (Bytes{e.blue, e.green, e.red, 0}));
    }
    if (c.rle) {
      EXPECT_EQ(Le32(file, 30), 1u);
      EXPECT_EQ(Le32(file, 34), file.size() - offset);
      EXPECT_EQ(Bytes(file.end() - 4, file.end()), (Bytes{0, 0, 0, 1}));
    } else {
      uint32_t stride = ((c.width * c.bits + 31) / 32) * 4;
      EXPECT_EQ(Le32(file, 34), stride * c.height);
      EXPECT_EQ(file.size(), offset + stride * c.height);
    }
    BmpRead read = ReadBmp(base + ".bmp", 24);
    EXPECT_EQ(read.error, kImageOk);
    EXPECT_EQ(read.pixels, c.Rgb());
  }
}

TEST(BmpWriter, GoldenFiles) {
  WriteCase rgb = Make("golden24", 1, 2, 24, 0, 0, [](int x, int y) { return 10 * y + x + 1; });
  ASSERT_EQ(WriteFile("golden24.bmp", rgb), 1);
  const Bytes golden24 = {'B', 'M', 62, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,  // file header
                          40, 0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0, 1, 0, 24, 0, 0, 0, 0, 0, 8, 0, 0, 0,
                          0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                          13, 12, 11, 0, 3, 2, 1, 0};  // the last row first, blue first, padded
  EXPECT_EQ(FileBytes("golden24.bmp"), golden24);

  WriteCase rle = Make("golden_rle", 3, 1, 8, 2, 1, [](int, int) { return 1; });
  rle.palette = {{1, 2, 3, 0xCC}, {4, 5, 6, 0xCC}};
  ASSERT_EQ(WriteFile("golden_rle.bmp", rle), 1);
  const Bytes golden_rle = {'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 62, 0, 0, 0,
                            40, 0, 0, 0, 3, 0, 0, 0, 1, 0, 0, 0, 1, 0, 8, 0, 1, 0, 0, 0, 8, 0, 0, 0,
                            0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0,
                            1, 2, 3, 0, 4, 5, 6, 0,  // the table
                            3, 1, 1, 0, 0, 0,        // three pixels, the odd width's pad byte, the row's end
                            0, 1};
  EXPECT_EQ(FileBytes("golden_rle.bmp"), golden_rle);
}

TEST(BmpWriter, A24BitFileCountsNoColours) {
  WriteCase c = Make("many", 2, 2, 24, 0, 0, [](int x, int) { return x; });
  ImageStream sink = OpenFileSink("written_many_colours.bmp");
  ASSERT_EQ(WriteBmpFile(sink, c.pixels.data(), 2, 2, 24, 16777216, nullptr, 0), 1);
  CloseFileSink(sink);
  Bytes file = FileBytes("written_many_colours.bmp");
  EXPECT_EQ(Le32(file, 10), 54u);
  EXPECT_EQ(Le32(file, 46), 0u);
  EXPECT_EQ(ReadBmp("written_many_colours.bmp", 24).pixels, c.Rgb());
  WritePpm("written_many_colours.ppm", 2, 2, c.Rgb());
}

struct Refusal {
  const char* name;
  int width, height, bits, colors;
  bool palette;
  int rle;
};

TEST(BmpWriter, RefusesWhatItCannotWriteWith5) {
  const Refusal refusals[] = {
      {"more colours than 8 bits hold", 4, 4, 8, 257, true, 0}, {"more colours than 1 bit holds", 4, 4, 1, 3, true, 0},
      {"more colours than 4 bits hold", 4, 4, 4, 17, true, 0},  {"no colours", 4, 4, 4, 0, true, 0},
      {"no palette", 4, 4, 8, 16, false, 0},                    {"16 bits", 4, 4, 16, 0, false, 0},
      {"32 bits", 4, 4, 32, 0, false, 0},                        {"RLE at 24 bits", 4, 4, 24, 0, false, 1},
      {"RLE at 4 bits", 4, 4, 4, 16, true, 1},                   {"RLE without palette", 4, 4, 8, 16, false, 1},
      {"width 0", 0, 4, 24, 0, false, 0},                        {"negative height", 4, -4, 24, 0, false, 0},
  };
  const Bytes pixels(64, 1);
  const std::vector<PaletteEntry> palette = Palette(256);
  for (const Refusal& r : refusals) {
    SCOPED_TRACE(r.name);
    ImageStream sink = OpenFileSink("written_refused.bin");
    EXPECT_EQ(WriteBmpFile(sink, pixels.data(), r.width, r.height, r.bits, r.colors,
                           r.palette ? palette.data() : nullptr, r.rle), 0);
    EXPECT_EQ(GetLastImageError(), kImageBadArgument);
    CloseFileSink(sink);
  }
  std::remove("written_refused.bin");
}

TEST(BmpWriter, AFailedWriteGives4) {
  PutFile("bmp_read_only.bin", Bytes(10, 0));
  ImageStream source = OpenFileSource("bmp_read_only.bin");
  const Bytes pixels(48, 7);
  for (int rle : {0, 1}) {
    EXPECT_EQ(WriteBmpFile(source, pixels.data(), 4, 4, 8, 2, Palette(2).data(), rle), 0);
    EXPECT_EQ(GetLastImageError(), kImageWriteFailed);
  }
  CloseFileSource(source);
}

int Stop(int done, int, void*) { return done < 2; }

TEST(BmpWriter, AStopGives14) {
  imagelib::GetContext()->progress = Stop;
  const Bytes pixels(48, 7);
  for (int rle : {0, 1}) {
    ImageStream sink = OpenFileSink("written_stopped.bin");
    EXPECT_EQ(WriteBmpFile(sink, pixels.data(), 4, 4, 8, 2, Palette(2).data(), rle), 0);
    EXPECT_EQ(GetLastImageError(), kImageStopped);
    CloseFileSink(sink);
  }
  imagelib::GetContext()->progress = nullptr;
  std::remove("written_stopped.bin");
}

}  // namespace
