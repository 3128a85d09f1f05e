// The PNG reader on its fixtures and damaged files, the header information
// and kept texts, and the writer's files (their chunks are checked by
// check_written_tags.py, their pixels by ImageMagick).
#include <cstdlib>

#include "codec_cases.h"

using namespace codec_tests;

namespace {

struct PngRead {
  Bytes pixels;
  PaletteEntry palette[256];
  int width = 0, height = 0, error = 0;
  bool ok = false;
};

PngRead ReadPng(const std::string& path, int bits) {
  PngRead r;
  for (PaletteEntry& e : r.palette) e = PaletteEntry{0xEE, 0xEE, 0xEE, 0};
  ImageStream stream = OpenFileSource(path.c_str());
  if (!stream) {
    ADD_FAILURE() << "cannot open " << path;
    return r;
  }
  void* pixels = ReadPngFile(stream, &r.width, &r.height, bits, r.palette);
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

Bytes ThroughPalette(const PngRead& r) {
  Bytes rgb;
  for (uint8_t index : r.pixels) rgb.insert(rgb.end(), {r.palette[index].red, r.palette[index].green, r.palette[index].blue});
  return rgb;
}

void ExpectNearPixels(const Bytes& found, const Bytes& expected, int tolerance) {
  ASSERT_EQ(found.size(), expected.size());
  for (size_t i = 0; i < found.size(); ++i)
    if (std::abs(found[i] - expected[i]) > tolerance) {
      ADD_FAILURE() << "first difference at byte " << i << ": " << int(found[i]) << " instead of "
                    << int(expected[i]);
      return;
    }
}

TEST(PngReader, FixturesReadAsImageMagickDecodesThem) {
  std::ifstream list("png_cases.txt");
  ASSERT_TRUE(list) << "no case list: the fixture step did not run";
  int cases = 0;
  for (std::string line; std::getline(list, line);) {
    if (line.empty()) continue;
    ++cases;
    SCOPED_TRACE(line);
    std::istringstream fields(line);
    std::string file, width;
    int bits = 0;
    fields >> file >> bits >> width;
    const PngRead r = ReadPng(file, bits);
    if (width == "error") {
      int code = 0;
      fields >> code;
      EXPECT_FALSE(r.ok);
      EXPECT_EQ(r.error, code);
      continue;
    }
    int height = 0, tolerance = 0;
    std::string expected;
    fields >> height >> expected >> tolerance;
    if (!r.ok) {
      ADD_FAILURE() << "error " << r.error;
      continue;
    }
    EXPECT_EQ(r.width, std::stoi(width));
    EXPECT_EQ(r.height, height);
    ExpectNearPixels(bits == 8 ? ThroughPalette(r) : r.pixels, FileBytes(expected), tolerance);
  }
  EXPECT_GT(cases, 0);
}

TEST(PngReader, SpoiledHeadersAreReadOrRefusedSafely) { SweepHeaderBytes("im_palette.png", 64, ReadPngFile); }

TEST(PngReader, FourBitGreyGivesIndexesAndASixteenEntryRamp) {
  const PngRead r = ReadPng("im_grey4.png", 8);
  ASSERT_TRUE(r.ok) << r.error;
  for (uint8_t index : r.pixels) ASSERT_LT(index, 16);
  for (int i = 0; i < 256; ++i) {
    const int grey = i < 16 ? i * 17 : 0;
    EXPECT_TRUE(r.palette[i].red == grey && r.palette[i].green == grey && r.palette[i].blue == grey) << i;
  }
}

TEST(PngReader, AStopFreesTheBufferAndReports14) {
  for (const char* file : {"im_rgb8.png", "im_adam7.png"})
    WithStopAtRow(5, [&] {
      const PngRead r = ReadPng(file, 24);
      EXPECT_FALSE(r.ok);
      EXPECT_EQ(r.error, 14) << file;
    });
}

TEST(PngInfo, GivesTheHeaderAndTheResolution) {
  struct Case {
    const char* file;
    int bit_depth, color_type, interlace;
    ImageResolution resolution;
  };
  for (const Case& c : {Case{"im_grey4.png", 4, 0, 0, {0, 0, 0}}, Case{"im_adam7.png", 8, 2, 1, {0, 0, 0}},
                        Case{"im_phys.png", 8, 2, 0, {4000, 4000, 1}}, Case{"im_rgba.png", 8, 6, 0, {0, 0, 0}}}) {
    SCOPED_TRACE(c.file);
    ImageStream stream = OpenFileSource(c.file);
    int width = 0, height = 0, depth = 0, type = 0, interlace = 0;
    ImageResolution resolution = {-1, -1, -1};
    ASSERT_EQ(GetPngFileInfo(stream, &width, &height, &depth, &type, &interlace, &resolution), 1)
        << GetLastImageError();
    CloseFileSource(stream);
    EXPECT_EQ(width, 33);
    EXPECT_EQ(height, 17);
    EXPECT_EQ(depth, c.bit_depth);
    EXPECT_EQ(type, c.color_type);
    EXPECT_EQ(interlace, c.interlace);
    EXPECT_EQ(resolution.x_density, c.resolution.x_density);
    EXPECT_EQ(resolution.y_density, c.resolution.y_density);
    EXPECT_EQ(resolution.unit, c.resolution.unit);
  }
}

struct Text {
  std::string keyword, text;
  int compressed;
};

std::vector<Text> KeptTexts() {
  std::vector<Text> texts;
  for (int i = 0; i < CountPngTexts(); ++i) {
    char* keyword = nullptr;
    char* text = nullptr;
    int compressed = -1;
    EXPECT_EQ(GetPngText(i, &keyword, &text, &compressed), 1);
    texts.push_back({keyword, text, compressed});
    imagelib::GlobalBlockFree(keyword);
    imagelib::GlobalBlockFree(text);
  }
  return texts;
}

TEST(PngTexts, TheHeaderKeepsTheTextsBeforeTheImage) {
  ImageStream stream = OpenFileSource("gen_texts_front.png");
  int width, height, depth, type, interlace;
  ASSERT_EQ(GetPngFileInfo(stream, &width, &height, &depth, &type, &interlace, nullptr), 1);
  CloseFileSource(stream);
  const std::vector<Text> texts = KeptTexts();
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(texts[0].keyword, "Title");
  EXPECT_EQ(texts[0].text, "First text");
  EXPECT_EQ(texts[0].compressed, 0);
  EXPECT_EQ(texts[1].keyword, "Author");
  EXPECT_EQ(texts[2].keyword, "Comment");
  EXPECT_EQ(texts[2].compressed, 1);
  EXPECT_EQ(texts[2].text.substr(0, 12), "Packed text ");
}

TEST(PngTexts, AFullReadKeepsTheTextsAfterTheImageToo) {
  ASSERT_TRUE(ReadPng("im_texts.png", 24).ok);
  const std::vector<Text> texts = KeptTexts();
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].keyword, "comment");
  EXPECT_EQ(texts[0].text, "A comment");
  EXPECT_EQ(texts[1].keyword, "label");
  // A file without texts leaves none kept.
  ASSERT_TRUE(ReadPng("im_rgb8.png", 24).ok);
  EXPECT_EQ(CountPngTexts(), 0);
}

// Writes through a file sink; answers the writer's result and code.
int WritePng(const std::string& path, const Bytes& pixels, int width, int height, int row_bytes, int bit_depth,
             int colors, const PaletteEntry* palette, int color_type, double gamma, int interlace,
             const ImageResolution* resolution, int* error) {
  ImageStream sink = OpenFileSink(path.c_str());
  EXPECT_NE(sink, nullptr);
  const int result = WritePngFile(sink, pixels.data(), width, height, row_bytes, bit_depth, colors, palette,
                                  color_type, gamma, interlace, resolution);
  *error = GetLastImageError();
  CloseFileSink(sink);
  return result;
}

TEST(PngWriter, RgbFilesCarryGammaResolutionAndInterlaceAsAsked) {
  const int width = 21, height = 13;
  const Bytes rgb = TestRgb(width, height);
  const ImageResolution resolution = {3780, 3780, 1};
  struct Case {
    const char* file;
    double gamma;
    int interlace;
    const ImageResolution* resolution;
    const char* checks;
  };
  for (const Case& c : {Case{"written_rgb.png", 0, 0, nullptr, "gAMA=none pHYs=1,1,0"},
                        Case{"written_gamma.png", 0.345, 0, &resolution, "gAMA=34500 pHYs=3780,3780,1"},
                        Case{"written_adam7.png", 0.345, 1, nullptr, "gAMA=34500 pHYs=1,1,0"}}) {
    SCOPED_TRACE(c.file);
    int error = -1;
    ASSERT_NE(WritePng(c.file, rgb, width, height, width * 3, 8, 0, nullptr, 2, c.gamma, c.interlace, c.resolution,
                       &error), 0) << error;
    EXPECT_EQ(error, 0);
    NoteWritten(c.file, rgb, width, height, c.checks);
    // gAMA 0.345 against the screen gamma 2.9 makes no correction: the pixels come back.
    const PngRead back = ReadPng(c.file, 24);
    ASSERT_TRUE(back.ok) << back.error;
    EXPECT_EQ(back.pixels, rgb);
  }
}

TEST(PngWriter, PaletteGreyAndAlphaFiles) {
  PaletteEntry palette[256];
  TestPalette(palette);
  const int width = 19, height = 7;
  const Bytes indexes = TestIndexes(width, height);
  int error = -1;
  ASSERT_NE(WritePng("written_palette.png", indexes, width, height, width, 8, 256, palette, 3, 0, 0, nullptr, &error),
            0) << error;
  Bytes rgb;
  for (uint8_t index : indexes) rgb.insert(rgb.end(), {palette[index].red, palette[index].green, palette[index].blue});
  NoteWritten("written_palette.png", rgb, width, height, "gAMA=none");
  const PngRead back = ReadPng("written_palette.png", 8);
  ASSERT_TRUE(back.ok) << back.error;
  EXPECT_EQ(back.pixels, indexes);
  EXPECT_EQ(ThroughPalette(back), rgb);

  // Grey from the index bytes; RGBA with half the pixels half transparent.
  ASSERT_NE(WritePng("written_grey.png", indexes, width, height, width, 8, 0, nullptr, 0, 0, 0, nullptr, &error), 0);
  Bytes grey;
  for (uint8_t v : indexes) grey.insert(grey.end(), {v, v, v});
  NoteWritten("written_grey.png", grey, width, height);
  Bytes rgba;
  const Bytes colours = TestRgb(width, height);
  for (size_t p = 0; p < indexes.size(); ++p)
    rgba.insert(rgba.end(), {colours[3 * p], colours[3 * p + 1], colours[3 * p + 2], uint8_t(p % 2 ? 128 : 255)});
  ASSERT_NE(WritePng("written_rgba.png", rgba, width, height, width * 4, 8, 0, nullptr, 6, 0, 0, nullptr, &error), 0);
  NoteWritten("written_rgba.png", colours, width, height);
  const PngRead kept = ReadPng("written_rgba.png", 32);
  ASSERT_TRUE(kept.ok);
  EXPECT_EQ(kept.pixels, rgba);
}

TEST(PngWriter, RefusesWhatItCannotWrite) {
  const Bytes rgb = TestRgb(4, 4);
  struct Case {
    int row_bytes, bit_depth, colors, color_type, code;
  };
  for (const Case& c : {Case{12, 8, 16, 3, 5},   // colours without a palette
                        Case{11, 8, 0, 2, 5},    // rows shorter than the header says
                        Case{12, 8, 0, 5, 16},   // no such colour type
                        Case{12, 3, 0, 2, 16}})  // no such depth
  {
    int error = -1;
    EXPECT_EQ(WritePng("written_refused.png", rgb, 4, 4, c.row_bytes, c.bit_depth, c.colors, nullptr, c.color_type,
                       0, 0, nullptr, &error), 0);
    EXPECT_EQ(error, c.code) << c.row_bytes << ' ' << c.color_type;
  }
}

TEST(PngWriter, AFailedWriteIsNoSuccess) {
  std::ofstream("written_readonly.png") << "x";
  ImageStream source = OpenFileSource("written_readonly.png");
  const Bytes rgb = TestRgb(4, 4);
  EXPECT_EQ(WritePngFile(source, rgb.data(), 4, 4, 12, 8, 0, nullptr, 2, 0, 0, nullptr), 0);
  EXPECT_EQ(GetLastImageError(), 16);
  CloseFileSource(source);
}

TEST(PngWriter, AStopEndsTheFileWith14) {
  const Bytes rgb = TestRgb(8, 40);
  WithStopAtRow(5, [&] {
    int error = -1;
    EXPECT_EQ(WritePng("written_stopped.png", rgb, 8, 40, 24, 8, 0, nullptr, 2, 0, 0, nullptr, &error), 0);
    EXPECT_EQ(error, 14);
  });
}

}  // namespace
