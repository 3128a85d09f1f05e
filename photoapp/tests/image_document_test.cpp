// The image document: type codes, loading and saving by extension through
// every codec of the library, fitting and copying, the processing wrappers
// and the answers of an empty document. check_saved_files.py then looks into
// the files this test saved.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <string>

#include "imagelib/platform.h"
#include "photoapp/document/image_types.h"
#include "photoapp/tests/document_fixture.h"

namespace {

#ifdef _WIN32
constexpr bool kMetafilesRender = true;
const char* const kFullDevice = "Z:\\dev\\full";
#else
constexpr bool kMetafilesRender = false;
const char* const kFullDevice = "/dev/full";
#endif

bool FileExists(const std::string& path) { return std::ifstream(path).good(); }

void WritePpm(const ImageDocument& document, const std::string& path) {
  std::ofstream ppm(path, std::ios::binary);
  ppm << "P6\n" << document.GetWidth() << ' ' << document.GetHeight() << "\n255\n";
  const Bytes pixels = PixelsOf(document);
  ppm.write(reinterpret_cast<const char*>(pixels.data()), static_cast<std::streamsize>(pixels.size()));
}

TEST(ImageTypes, CodesFromExtensions) {
  const struct {
    const char* extension;
    int type;
  } cases[] = {{".jpg", 1},  {".JPEG", 1}, {".jpeg", 1}, {".Jpg", 1},  {".png", 3},  {".bmp", 6},
               {".pcx", 9},  {".tif", 12}, {".TIFF", 12}, {".tga", 16}, {".wmf", 19}, {".psd", 20},
               {".emf", 23}, {".gif", 0},  {"", 0},       {"jpg", 0},   {".jp", 0},   {".tiff2", 0}};
  for (const auto& c : cases) EXPECT_EQ(ImageTypeFromExtension(c.extension), c.type) << c.extension;
  EXPECT_EQ(ExtensionOf("C:\\photos\\Urlaub.2020\\bild.Jpeg"), ".Jpeg");
  EXPECT_EQ(ExtensionOf("bild"), "");
}

TEST(ImageDocument, EmptyDocumentAnswersFiveAndStaysEmpty) {
  ImageDocument empty, other;
  FillPattern(other, 4, 3);
  PaletteEntry table[kPaletteEntries];
  const std::pair<const char*, std::function<int()>> operations[] = {
      {"CopyFrom empty", [&] { return other.CopyFrom(empty); }},
      {"SaveFile", [&] { return empty.SaveFile("empty.bmp", kImageTypeBmp, 90, false); }},
      {"FitInto", [&] { return empty.FitInto(10, 10); }},
      {"ResampleFrom empty", [&] { return other.ResampleFrom(2, 2, empty); }},
      {"SharpenDocument", [&] { return empty.SharpenDocument(50); }},
      {"AdjustMidtones", [&] { return empty.AdjustMidtones(1.2); }},
      {"AutoLevels", [&] { return empty.AutoLevels(5, 5, 0); }},
      {"Denoise", [&] { return empty.Denoise(2); }},
      {"BlendFrom into empty", [&] { return empty.BlendFrom(other, 0, 0, 0.5); }},
      {"BlendFrom empty", [&] { return other.BlendFrom(empty, 0, 0, 0.5); }},
      {"ComputePalette", [&] { return empty.ComputePalette(table); }},
  };
  const Bytes before = PixelsOf(other);
  for (const auto& operation : operations) EXPECT_EQ(operation.second(), kImageBadArgument) << operation.first;
  EXPECT_FALSE(empty.HasPixels());
  EXPECT_FALSE(empty.HasPalette());
  EXPECT_EQ(PixelsOf(other), before);
  EXPECT_FALSE(FileExists("empty.bmp"));
  EXPECT_EQ(empty.GetPixelColor(0, 0), -1);
  EXPECT_EQ(empty.SetPixelColor(0, 0, 0x102030), 0);
}

TEST(ImageDocument, PixelColoursPackRedLowAndStayInsideTheImage) {
  ImageDocument document;
  ASSERT_EQ(document.AllocateImage(3, 2), kImageOk);
  EXPECT_EQ(PixelsOf(document), Bytes(18, 0));
  EXPECT_EQ(document.SetPixelColor(2, 1, 0x7F123456), 1);
  const Bytes pixels = PixelsOf(document);
  EXPECT_EQ(Bytes(pixels.end() - 3, pixels.end()), (Bytes{0x56, 0x34, 0x12}));
  EXPECT_EQ(document.GetPixelColor(2, 1), 0x123456);
  for (auto [x, y] : {std::pair{-1, 0}, {3, 0}, {0, 2}, {0, -1}}) {
    EXPECT_EQ(document.GetPixelColor(x, y), -1) << x << "," << y;
    EXPECT_EQ(document.SetPixelColor(x, y, 0xFFFFFF), 0) << x << "," << y;
  }
}

TEST(ImageDocument, AllocateRefusesSizesThatAreNotPositive) {
  ImageDocument document;
  FillPattern(document, 5, 4);
  const Bytes before = PixelsOf(document);
  for (auto [w, h] : {std::pair{0, 10}, {10, 0}, {-3, 4}}) EXPECT_EQ(document.AllocateImage(w, h), kImageBadArgument);
  EXPECT_EQ(PixelsOf(document), before);
}

TEST(ImageDocument, FitIntoKeepsTheAspectRatioAndEnlargesSmallImages) {
  const struct {
    int width, height, box_width, box_height, fitted_width, fitted_height;
  } cases[] = {{400, 300, 200, 200, 200, 150}, {100, 50, 200, 200, 200, 100}, {300, 400, 200, 200, 150, 200},
               {50, 50, 120, 80, 80, 80},     {640, 480, 320, 240, 320, 240}};
  for (const auto& c : cases) {
    ImageDocument document;
    FillPattern(document, c.width, c.height);
    EXPECT_EQ(document.FitInto(c.box_width, c.box_height), kImageOk);
    EXPECT_EQ(document.GetWidth(), c.fitted_width) << c.width << "x" << c.height;
    EXPECT_EQ(document.GetHeight(), c.fitted_height) << c.width << "x" << c.height;
    EXPECT_TRUE(document.DisplayPalette().HasPalette());
  }
}

TEST(ImageDocument, CopiesNeverSharePixels) {
  ImageDocument original, copy;
  FillPattern(original, 9, 7);
  ASSERT_EQ(copy.CopyFrom(original), kImageOk);
  EXPECT_NE(copy.GetPixels(), original.GetPixels());
  EXPECT_EQ(PixelsOf(copy), PixelsOf(original));
  // The palette analysis waits until the copy is shown.
  EXPECT_FALSE(copy.HasPalette());
  EXPECT_TRUE(copy.DisplayPalette().HasPalette());
  copy.SetPixelColor(0, 0, 0xFFFFFF);
  EXPECT_NE(original.GetPixelColor(0, 0), 0xFFFFFF);
}

// Each wrapper against the library function it passes its arguments to.
TEST(ImageDocument, ProcessingWrappersPassTheirArguments) {
  ImageDocument document, expected;
  FillPattern(document, 16, 12);
  expected.CopyFrom(document);
  auto* pixels = expected.GetPixels();

  EXPECT_EQ(document.AutoLevels(5, 10, 0), kImageOk);
  AdjustLevels(pixels, 16, 12, 12, 230, 1);
  EXPECT_EQ(PixelsOf(document), PixelsOf(expected)) << "AutoLevels flag 0";
  EXPECT_EQ(document.AutoLevels(20, 0, 1), kImageOk);
  AdjustLevels(pixels, 16, 12, 51, 255, 0);
  EXPECT_EQ(PixelsOf(document), PixelsOf(expected)) << "AutoLevels flag 1";

  EXPECT_EQ(document.AdjustMidtones(1.4), kImageOk);
  ApplyGamma(pixels, 16, 12, 1.4);
  EXPECT_EQ(PixelsOf(document), PixelsOf(expected)) << "AdjustMidtones";

  EXPECT_EQ(document.Denoise(0), kImageOk);
  EXPECT_EQ(PixelsOf(document), PixelsOf(expected)) << "Denoise 0";
  EXPECT_EQ(document.Denoise(2), kImageOk);
  ReduceNoise(pixels, 16, 12);
  ReduceNoise(pixels, 16, 12);
  EXPECT_EQ(PixelsOf(document), PixelsOf(expected)) << "Denoise 2";

  EXPECT_EQ(document.SharpenDocument(60), kImageOk);
  Bytes sharpened(16 * 12 * 3);
  SharpenImage(pixels, 16, 12, sharpened.data(), 60);
  EXPECT_EQ(PixelsOf(document), sharpened) << "SharpenDocument";

  ImageDocument patch;
  FillQuadrants(patch, 6, 4);
  expected.CopyFrom(document);
  EXPECT_EQ(document.BlendFrom(patch, 3, 2, 0.25), kImageOk);
  BlendImages(expected.GetPixels(), 16, 12, patch.GetPixels(), 6, 4, 3, 2, 0.25, 0);
  EXPECT_EQ(PixelsOf(document), PixelsOf(expected)) << "BlendFrom";
}

// Saved by extension and loaded back, the pixels come back whole.
TEST(ImageDocument, LosslessFormatsRoundTripByExtension) {
  ImageDocument document;
  FillPattern(document, 37, 23);
  for (const char* extension : {".bmp", ".png", ".tif", ".tiff", ".tga", ".pcx", ".psd"}) {
    const std::string path = std::string("roundtrip") + extension;
    const int type = ImageTypeFromExtension(extension);
    ASSERT_EQ(document.SaveFile(path, type, 0, false), kImageOk) << path;
    ImageDocument loaded;
    ASSERT_EQ(loaded.LoadFile(path), kImageOk) << path;
    EXPECT_EQ(loaded.GetWidth(), 37) << path;
    EXPECT_EQ(loaded.GetHeight(), 23) << path;
    EXPECT_EQ(PixelsOf(loaded), PixelsOf(document)) << path;
    EXPECT_TRUE(loaded.DisplayPalette().HasPalette()) << path;
  }
}

// The loaded pixels go to PPM files that the check compares with djpeg's.
TEST(ImageDocument, JpegSavesWithAndWithoutImprovedSampling) {
  ImageDocument document;
  FillPattern(document, 40, 24);
  for (bool improve : {true, false}) {
    const std::string name = improve ? "saved_improved" : "saved_default";
    ASSERT_EQ(document.SaveFile(name + ".JPEG", kImageTypeJpeg, 85, improve), kImageOk);
    ImageDocument loaded;
    ASSERT_EQ(loaded.LoadFile(name + ".JPEG"), kImageOk);
    EXPECT_EQ(loaded.GetWidth(), 40);
    EXPECT_EQ(loaded.GetHeight(), 24);
    WritePpm(loaded, name + ".ppm");
  }
}

TEST(ImageDocument, MetafilesRoundTripInTheWindowsConfigurations) {
  ImageDocument document;
  FillQuadrants(document, 64, 48);
  for (const char* path : {"roundtrip.wmf", "roundtrip.emf"}) {
    const int type = ImageTypeFromExtension(ExtensionOf(path));
    ImageDocument loaded;
    if (!kMetafilesRender) {
      EXPECT_EQ(document.SaveFile(path, type, 0, false), kImageUnsupported) << path;
      EXPECT_EQ(loaded.LoadFile(path), kImageUnsupported) << path;
      EXPECT_FALSE(loaded.HasPixels());
      continue;
    }
    ASSERT_EQ(document.SaveFile(path, type, 0, false), kImageOk) << path;
    ASSERT_EQ(loaded.LoadFile(path), kImageOk) << path;
    const int w = loaded.GetWidth(), h = loaded.GetHeight();
    EXPECT_NEAR(w, 64, 2) << path;
    EXPECT_NEAR(h, 48, 2) << path;
    for (int quadrant = 0; quadrant < 4; ++quadrant)
      EXPECT_EQ(loaded.GetPixelColor((quadrant % 2 * 2 + 1) * w / 4, (quadrant / 2 * 2 + 1) * h / 4),
                kQuadrantColors[quadrant])
          << path << " quadrant " << quadrant;
  }
}

TEST(ImageDocument, UnknownExtensionsLoadNothingAndSaveNothing) {
  ImageDocument document;
  FillPattern(document, 4, 4);
  // A good BMP under names whose extension maps to no type.
  ASSERT_EQ(document.SaveFile("picture.gif", kImageTypeBmp, 0, false), kImageOk);
  ASSERT_EQ(document.SaveFile("picture", kImageTypeBmp, 0, false), kImageOk);

  ImageDocument loaded;
  FillPattern(loaded, 2, 2);
  EXPECT_EQ(loaded.LoadFile("picture.gif"), kImageOk);
  EXPECT_FALSE(loaded.HasPixels());
  EXPECT_EQ(loaded.LoadFile("picture"), kImageOk);
  EXPECT_FALSE(loaded.HasPixels());
  EXPECT_EQ(loaded.LoadFile(""), kImageCannotOpen);
  EXPECT_EQ(loaded.LoadFile("absent.bmp"), kImageCannotOpen);
  EXPECT_FALSE(loaded.HasPixels());

  // A type the program cannot write is refused before the file is created.
  EXPECT_EQ(document.SaveFile("refused.gif", ImageTypeFromExtension(".gif"), 0, false), kImageBadArgument);
  EXPECT_FALSE(FileExists("refused.gif"));
}

// A file that was loaded but does not decode leaves the document empty.
TEST(ImageDocument, DamagedFilesFailAndLeaveTheDocumentEmpty) {
  std::ofstream("damaged.png", std::ios::binary) << "\x89PNG\r\n\x1a\nnot a png at all";
  std::ofstream("damaged.bmp", std::ios::binary) << "BM and nothing else";
  for (const char* path : {"damaged.png", "damaged.bmp"}) {
    ImageDocument document;
    FillPattern(document, 3, 3);
    EXPECT_NE(document.LoadFile(path), kImageOk) << path;
    EXPECT_FALSE(document.HasPixels()) << path;
    EXPECT_FALSE(document.DisplayPalette().HasPalette()) << path;
  }
}

// A write that fails reports its error, also when the close itself is clean.
TEST(ImageDocument, FailedWritesAreReported) {
  if (!FileExists(kFullDevice)) GTEST_SKIP() << "no full device here";
  ImageDocument document;
  FillPattern(document, 300, 200);
  for (int type : {kImageTypeBmp, kImageTypePng, kImageTypeTiff, kImageTypeJpeg})
    EXPECT_NE(document.SaveFile(kFullDevice, type, 80, false), kImageOk) << "type " << type;
}

}  // namespace
