// The TIFF reader on its fixtures and damaged files, the header information,
// and the writer's files (their tags are checked by check_written_tags.py).
#include <set>

#include "codec_cases.h"
#include "imagelib/io_state.h"

using namespace codec_tests;

namespace {

struct TiffRead {
  Bytes pixels;
  int width = 0, height = 0, error = 0;
  bool ok = false;
};

TiffRead ReadTiff(const std::string& path, int bits, int directory) {
  TiffRead r;
  ImageStream stream = OpenFileSource(path.c_str());
  if (!stream) {
    ADD_FAILURE() << "cannot open " << path;
    return r;
  }
  void* pixels = ReadTiffFile(stream, &r.width, &r.height, bits, 0, directory);
  r.error = GetLastImageError();
  CloseFileSource(stream);
  if (pixels) {
    const auto* p = static_cast<const uint8_t*>(pixels);
    r.pixels.assign(p, p + static_cast<size_t>(r.width) * r.height * (bits / 8));
    imagelib::GlobalBlockFree(pixels);
    r.ok = true;
  }
  return r;
}

// "20,36": any of the codes.
std::set<int> Codes(const std::string& list) {
  std::set<int> codes;
  std::istringstream in(list);
  for (std::string code; std::getline(in, code, ',');) codes.insert(std::stoi(code));
  return codes;
}

TEST(TiffReader, FixturesReadAsLibtiffToolsConvertThem) {
  std::ifstream list("tiff_cases.txt");
  ASSERT_TRUE(list) << "no case list: the fixture step did not run";
  int cases = 0;
  for (std::string line; std::getline(list, line);) {
    if (line.empty()) continue;
    ++cases;
    SCOPED_TRACE(line);
    std::istringstream fields(line);
    std::string file, width;
    int bits = 0, directory = 0;
    fields >> file >> bits >> directory >> width;
    const TiffRead r = ReadTiff(file, bits, directory);
    if (width == "error") {
      std::string codes;
      fields >> codes;
      EXPECT_FALSE(r.ok);
      EXPECT_EQ(Codes(codes).count(r.error), 1u) << "error " << r.error;
      continue;
    }
    int height = 0;
    std::string expected;
    fields >> height >> expected;
    if (!r.ok) {
      ADD_FAILURE() << "error " << r.error;
      continue;
    }
    EXPECT_EQ(r.width, std::stoi(width));
    EXPECT_EQ(r.height, height);
    ExpectSamePixels(r.pixels, FileBytes(expected));
  }
  EXPECT_GT(cases, 0);
}

struct InfoCase {
  const char* file;
  int bits_per_pixel;
  ImageResolution resolution;
};

TEST(TiffInfo, GivesSizeBitsPerPixelAndResolution) {
  for (const InfoCase& c : {InfoCase{"im_resolution.tif", 24, {300, 300, 2}},
                            InfoCase{"im_no_resolution.tif", 24, {0, 0, 2}},
                            InfoCase{"im_rgb16.tif", 48, {0, 0, 0}},
                            InfoCase{"im_palette.tif", 8, {0, 0, 0}},
                            InfoCase{"im_rgba.tif", 32, {0, 0, 0}}}) {
    SCOPED_TRACE(c.file);
    ImageStream stream = OpenFileSource(c.file);
    ASSERT_NE(stream, nullptr);
    int width = 0, height = 0, bits = 0;
    ImageResolution resolution = {-1, -1, -1};
    ASSERT_EQ(GetTiffFileInfo(stream, &width, &height, &bits, &resolution), 1) << GetLastImageError();
    CloseFileSource(stream);
    EXPECT_EQ(width, 33);
    EXPECT_EQ(height, 17);
    EXPECT_EQ(bits, c.bits_per_pixel);
    if (c.resolution.unit != 0) {
      EXPECT_EQ(resolution.x_density, c.resolution.x_density);
      EXPECT_EQ(resolution.y_density, c.resolution.y_density);
      EXPECT_EQ(resolution.unit, c.resolution.unit);
    }
  }
}

TEST(TiffInfo, RefusesWhatIsNoTiffWith20) {
  ImageStream stream = OpenFileSource("bad_not_tiff.tif");
  int width = 0, height = 0, bits = 0;
  EXPECT_EQ(GetTiffFileInfo(stream, &width, &height, &bits, nullptr), 0);
  EXPECT_EQ(GetLastImageError(), 20);
  CloseFileSource(stream);
}

TEST(TiffReader, ReadsFromTheStartWhereverTheStreamStands) {
  ImageStream stream = OpenFileSource("im_rgb_lzw.tif");
  ASSERT_EQ(SeekStream(stream, 100, 0), 1);
  int width = 0, height = 0;
  void* pixels = ReadTiffFile(stream, &width, &height, 24, 0, 0);
  ASSERT_NE(pixels, nullptr) << GetLastImageError();
  EXPECT_EQ(Bytes(static_cast<uint8_t*>(pixels), static_cast<uint8_t*>(pixels) + 33 * 17 * 3),
            FileBytes("im_rgb_lzw.tif.24"));
  imagelib::GlobalBlockFree(pixels);
  CloseFileSource(stream);
}

// The bytes behind a memory stream, where a seek past the end fails (a file
// seeks there and reads nothing).
ImageStream MemorySource(Bytes& data) {
  ImageStream handle = imagelib::GlobalBlockAlloc(sizeof(imagelib::IoState));
  auto* state = static_cast<imagelib::IoState*>(handle);
  state->kind = imagelib::kIoMemory;
  state->memory_base = data.data();
  state->capacity = static_cast<uint32_t>(data.size());
  state->start_magic = imagelib::kIoStartMagic;
  state->end_magic = imagelib::kIoEndMagic;
  return handle;
}

TEST(TiffReader, ReadsMemoryStreamsAndRefusesDamagedOnesThere) {
  for (const char* file : {"im_rgb_lzw.tif", "bad_ifd_past_end.tif", "bad_strip_past_end.tif"}) {
    SCOPED_TRACE(file);
    Bytes data = FileBytes(file);
    ImageStream stream = MemorySource(data);
    int width = 0, height = 0;
    void* pixels = ReadTiffFile(stream, &width, &height, 24, 0, 0);
    if (file == std::string("im_rgb_lzw.tif")) {
      ASSERT_NE(pixels, nullptr) << GetLastImageError();
      EXPECT_EQ(Bytes(static_cast<uint8_t*>(pixels), static_cast<uint8_t*>(pixels) + 33 * 17 * 3),
                FileBytes("im_rgb_lzw.tif.24"));
    } else {
      EXPECT_EQ(pixels, nullptr);
      EXPECT_TRUE(GetLastImageError() == 20 || GetLastImageError() == 36) << GetLastImageError();
    }
    imagelib::GlobalBlockFree(pixels);
    imagelib::GlobalBlockFree(stream);
  }
}

TEST(TiffReader, AStopFreesTheBufferAndReports14) {
  WithStopAtRow(5, [] {
    const TiffRead r = ReadTiff("im_rgb_none.tif", 24, 0);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, 14);
  });
}

// Writes through a file sink; answers the writer's result and code.
int WriteTiff(const std::string& path, const Bytes& pixels, int width, int height, int bits,
              const PaletteEntry* palette, int compression, const ImageResolution* resolution, int* error) {
  ImageStream sink = OpenFileSink(path.c_str());
  EXPECT_NE(sink, nullptr);
  const int result = WriteTiffFile(sink, pixels.data(), width, height, bits, palette, compression, resolution);
  *error = GetLastImageError();
  CloseFileSink(sink);
  return result;
}

TEST(TiffWriter, RgbFilesCarryTheCallersCompression) {
  const int width = 33, height = 120;  // more rows than one strip holds
  const Bytes rgb = TestRgb(width, height);
  for (int compression : {1, 5, 8, 32773}) {
    SCOPED_TRACE(compression);
    const std::string path = "written_rgb_c" + std::to_string(compression) + ".tif";
    int error = -1;
    ASSERT_NE(WriteTiff(path, rgb, width, height, 24, nullptr, compression, nullptr, &error), 0) << error;
    EXPECT_EQ(error, 0);
    NoteWritten(path, rgb, width, height,
                "259=" + std::to_string(compression) + " 262=2 277=3 258=8,8,8 284=1 296=1 282=1 283=1");
    const TiffRead back = ReadTiff(path, 24, 0);
    ASSERT_TRUE(back.ok) << back.error;
    EXPECT_EQ(back.pixels, rgb);
  }
}

TEST(TiffWriter, PaletteFilesHaveAColorMapAndNoJpegCompression) {
  PaletteEntry palette[256];
  TestPalette(palette);
  const int width = 20, height = 9;
  const Bytes indexes = TestIndexes(width, height);
  int error = -1;
  const ImageResolution resolution = {300, 150, 3};
  ASSERT_NE(WriteTiff("written_palette.tif", indexes, width, height, 8, palette, 7, &resolution, &error), 0) << error;
  std::string red_map = "320=";
  for (int i = 0; i < 24; ++i) red_map += (i ? "," : "") + std::to_string(palette[i].red * 257);
  Bytes rgb;
  for (uint8_t index : indexes) rgb.insert(rgb.end(), {palette[index].red, palette[index].green, palette[index].blue});
  NoteWritten("written_palette.tif", rgb, width, height, "259=1 262=3 277=1 296=3 282=300 283=150 " + red_map);

  ImageStream stream = OpenFileSource("written_palette.tif");
  int w = 0, h = 0, bits = 0;
  ImageResolution found = {};
  ASSERT_EQ(GetTiffFileInfo(stream, &w, &h, &bits, &found), 1);
  CloseFileSource(stream);
  EXPECT_EQ(bits, 8);
  EXPECT_EQ(found.x_density, 300);
  EXPECT_EQ(found.y_density, 150);
  EXPECT_EQ(found.unit, 3);
  const TiffRead back = ReadTiff("written_palette.tif", 24, 0);
  ASSERT_TRUE(back.ok);
  EXPECT_EQ(back.pixels, rgb);
}

TEST(TiffWriter, RefusesWhatItCannotWriteAndReportsNoFile) {
  const Bytes rgb = TestRgb(4, 4);
  PaletteEntry palette[256];
  TestPalette(palette);
  struct Refused {
    int width, bits, compression;
    const PaletteEntry* palette;
  };
  // JPEG is not in our libtiff; 12345 is no compression at all.
  for (const Refused& r : {Refused{4, 24, 7, nullptr}, Refused{4, 24, 12345, nullptr}, Refused{0, 24, 1, nullptr},
                           Refused{4, 8, 1, nullptr}}) {
    SCOPED_TRACE(r.compression);
    int error = -1;
    EXPECT_EQ(WriteTiff("written_refused.tif", rgb, r.width, 4, r.bits, r.palette, r.compression, nullptr, &error),
              0);
    EXPECT_EQ(error, 5);
  }
  int error = -1;
  EXPECT_EQ(WriteTiff("written_refused.tif", rgb, 4, 4, 16, palette, 1, nullptr, &error), 0);
  EXPECT_EQ(error, 5);
}

TEST(TiffWriter, AFailedWriteIsNoSuccess) {
  // A source stream takes no writes.
  std::ofstream("written_readonly.tif") << "x";
  ImageStream source = OpenFileSource("written_readonly.tif");
  const Bytes rgb = TestRgb(4, 4);
  EXPECT_EQ(WriteTiffFile(source, rgb.data(), 4, 4, 24, nullptr, 1, nullptr), 0);
  EXPECT_NE(GetLastImageError(), 0);
  CloseFileSource(source);
}

TEST(TiffWriter, AStopEndsTheFileWith14) {
  const Bytes rgb = TestRgb(8, 40);
  WithStopAtRow(5, [&] {
    int error = -1;
    EXPECT_EQ(WriteTiff("written_stopped.tif", rgb, 8, 40, 24, nullptr, 1, nullptr, &error), 0);
    EXPECT_EQ(error, 14);
  });
}

}  // namespace
