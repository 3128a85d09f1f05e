// Rendering the metafiles of make_metafile_fixtures.py and writing EMF and
// WMF files, through Wine's gdi32 on a 96-dpi screen. GDI's own mapping and
// stretching are not pinned: colours are compared at the centres of the
// picture's areas. The written files are listed in written_metafiles.txt
// for check_written_metafiles.py, which reads their bitmaps back exactly.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "imagelib/imagelib.h"
#include "imagelib/library_context.h"
#include "imagelib/platform.h"

namespace {

using Bytes = std::vector<uint8_t>;

// The fixtures' picture (metafile_layouts.py): a 120 x 80 window, four
// quadrants over (0, 0)-(80, 80), a rectangle over (90, 10)-(114, 40).
constexpr int kWindowWidth = 120;
constexpr int kWindowHeight = 80;
const uint8_t kQuadrants[4][3] = {{200, 30, 40}, {30, 180, 60}, {40, 60, 210}, {230, 210, 50}};
const uint8_t kRectangle[3] = {150, 40, 160};
constexpr uint32_t kBackground = 0x00382212;  // COLORREF of (18, 34, 56)
const uint8_t kBackgroundRgb[3] = {0x12, 0x22, 0x38};

struct Spot {
  int x, y;  // window units
  const uint8_t* rgb;
};

const Spot kQuadrantSpots[] = {
    {20, 20, kQuadrants[0]}, {60, 20, kQuadrants[1]}, {20, 60, kQuadrants[2]}, {60, 60, kQuadrants[3]}};
const Spot kRectangleSpot = {102, 25, kRectangle};
const Spot kBackgroundSpot = {102, 65, kBackgroundRgb};

Bytes FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct Picture {
  Bytes rgb;
  int width = 0, height = 0, error = 0;
  bool ok = false;
};

Picture Render(const char* path, int extent_x = 2000, int extent_y = 1500) {
  Picture p;
  void* pixels = RenderMetafileFile(path, &p.width, &p.height, extent_x, extent_y, kBackground);
  p.error = GetLastImageError();
  if (pixels) {
    const auto* bytes = static_cast<const uint8_t*>(pixels);
    p.rgb.assign(bytes, bytes + static_cast<size_t>(p.width) * p.height * 3);
    imagelib::GlobalBlockFree(pixels);
    p.ok = true;
  }
  return p;
}

// The colour at a spot given in units of a window of that size, scaled to the picture.
void ExpectColourAt(const Picture& p, const Spot& spot, int window_width, int window_height) {
  const int x = spot.x * p.width / window_width, y = spot.y * p.height / window_height;
  const uint8_t* found = &p.rgb[(static_cast<size_t>(y) * p.width + x) * 3];
  EXPECT_EQ(Bytes(found, found + 3), Bytes(spot.rgb, spot.rgb + 3))
      << "at (" << x << ", " << y << ") of " << p.width << " x " << p.height;
}

void ExpectFixturePicture(const Picture& p, bool with_rectangle) {
  for (const Spot& spot : kQuadrantSpots) ExpectColourAt(p, spot, kWindowWidth, kWindowHeight);
  ExpectColourAt(p, with_rectangle ? kRectangleSpot : kBackgroundSpot, kWindowWidth, kWindowHeight);
  ExpectColourAt(p, kBackgroundSpot, kWindowWidth, kWindowHeight);
}

int ScreenCaps(int index) {
  HDC screen = GetDC(nullptr);
  int value = GetDeviceCaps(screen, index);
  ReleaseDC(nullptr, screen);
  return value;
}

class MetafileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(ScreenCaps(LOGPIXELSX), 96) << "the expected sizes are for a 96-dpi screen";
    ASSERT_EQ(ScreenCaps(LOGPIXELSY), 96);
  }
};

// A placeable box of n units at u to the inch is n x 2540 / u hundredths of a
// millimetre, then trunc(that x 0.00039368528798078815 x 96) pixels: one less
// than n for the 96-unit boxes, as the factor lies just below 1 / 2540.
struct PlaceableCase {
  const char* file;
  int width, height;
};

TEST_F(MetafileTest, PlaceableWmfsRenderAtTheirBoxWithTheQuadrantsAndTheRectangle) {
  const PlaceableCase cases[] = {
      {"placeable_stretch.wmf", 119, 79}, {"placeable_setdib.wmf", 119, 79}, {"placeable_1440.wmf", 95, 63}};
  for (const PlaceableCase& c : cases) {
    SCOPED_TRACE(c.file);
    Picture p = Render(c.file);
    ASSERT_TRUE(p.ok) << "error " << p.error;
    EXPECT_EQ(p.error, kImageOk);
    EXPECT_EQ(p.width, c.width);
    EXPECT_EQ(p.height, c.height);
    ExpectFixturePicture(p, true);
  }
}

TEST_F(MetafileTest, APlainWmfIsATenMillimetrePictureWhateverTheCallsExtents) {
  Picture small = Render("plain_stretch.wmf", 500, 500);
  Picture large = Render("plain_stretch.wmf", 20000, 8000);
  ASSERT_TRUE(small.ok) << "error " << small.error;
  ASSERT_TRUE(large.ok) << "error " << large.error;
  EXPECT_EQ(small.width, large.width);
  EXPECT_EQ(small.height, large.height);
  // 10 mm at 96 dpi is 37.8 pixels; the reference device's rounding is Wine's.
  EXPECT_NEAR(small.width, 38, 2);
  EXPECT_NEAR(small.height, 38, 2);
  ExpectFixturePicture(small, true);
}

TEST_F(MetafileTest, AnEmfTakesItsFrameOnItsReferenceDevice) {
  // Frame 3175 x 2117 hundredths of a millimetre on 960 pixels per 254 mm.
  Picture p = Render("stretch.emf");
  ASSERT_TRUE(p.ok) << "error " << p.error;
  EXPECT_EQ(p.width, 960 * 3175 / 25400);
  EXPECT_EQ(p.height, 960 * 2117 / 25400);
  ExpectFixturePicture(p, false);
}

std::vector<int> gProgress;
int gStopAt = -1;

int Record(int done, int total, void*) {
  gProgress.push_back(done * 10 + total);
  return done != gStopAt;
}

TEST_F(MetafileTest, ProgressReportsFourStepsAndAStopAtAnyGives14) {
  imagelib::GetContext()->progress = Record;
  gStopAt = -1;
  gProgress.clear();
  Picture p = Render("placeable_stretch.wmf");
  EXPECT_TRUE(p.ok);
  EXPECT_EQ(gProgress, (std::vector<int>{4, 14, 24, 34}));
  for (gStopAt = 0; gStopAt < 4; ++gStopAt) {
    Picture stopped = Render("placeable_stretch.wmf");
    EXPECT_FALSE(stopped.ok) << "stop at " << gStopAt;
    EXPECT_EQ(stopped.error, kImageStopped) << "stop at " << gStopAt;
  }
  imagelib::GetContext()->progress = nullptr;
  EXPECT_EQ(imagelib::GetContext()->depth, 0);
}

struct DamagedCase {
  const char* file;
  int code, other_code;
};

TEST_F(MetafileTest, DamagedFilesAreRefusedWithTheirCodes) {
  const DamagedCase cases[] = {
      {"empty.wmf", kImageNotMetafile, kImageNotMetafile},
      {"random.wmf", kImageNotMetafile, kImageEnhancedMetafileFailed},
      {"cut_after_header.wmf", kImageReadFailed, kImageReadFailed},
      {"inch0.wmf", kImageNotMetafile, kImageNotMetafile},
      {"huge_box.wmf", kImageNoMemory, kImageNoMemory},
      {"no_such_file.wmf", kImageCannotOpen, kImageCannotOpen},
  };
  for (const DamagedCase& c : cases) {
    Picture p = Render(c.file);
    EXPECT_FALSE(p.ok) << c.file;
    EXPECT_TRUE(p.error == c.code || p.error == c.other_code) << c.file << ": error " << p.error;
  }
  int width = 0, height = 0;
  EXPECT_EQ(RenderMetafileFile(nullptr, &width, &height, 100, 100, kBackground), nullptr);
  EXPECT_EQ(GetLastImageError(), kImageBadArgument);
}

// Writing: the quadrants of a w x h image, written as EMF, WMF and placeable WMF.
Bytes QuadrantImage(int width, int height) {
  Bytes rgb;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const uint8_t* c = kQuadrants[(y >= height / 2 ? 2 : 0) + (x >= width / 2 ? 1 : 0)];
      rgb.insert(rgb.end(), c, c + 3);
    }
  return rgb;
}

struct WrittenCase {
  const char* name;
  int width, height;
};

const WrittenCase kWrittenCases[] = {{"quadrants_40x30", 40, 30}, {"odd_7x5", 7, 5}};

enum class Kind { kEmf, kWmf, kPlaceableWmf };

std::string WriteCase(const WrittenCase& c, Kind kind, const Bytes& pixels, int* result) {
  const std::string path = std::string("written_") + c.name +
                           (kind == Kind::kEmf ? ".emf" : kind == Kind::kWmf ? ".wmf" : "_placeable.wmf");
  ImageStream sink = OpenFileSink(path.c_str());
  *result = kind == Kind::kEmf ? WriteEmfFile(sink, pixels.data(), c.width, c.height)
                               : WriteWmfFile(sink, pixels.data(), c.width, c.height, kind == Kind::kPlaceableWmf);
  EXPECT_EQ(GetLastImageError(), kImageOk) << path;
  CloseFileSink(sink);
  std::ofstream(path + ".rgb", std::ios::binary)
      .write(reinterpret_cast<const char*>(pixels.data()), static_cast<std::streamsize>(pixels.size()));
  std::ofstream("written_metafiles.txt", std::ios::app) << path << ' ' << c.width << ' ' << c.height << '\n';
  return path;
}

uint16_t Word(const Bytes& b, size_t at) { return static_cast<uint16_t>(b[at] | b[at + 1] << 8); }
int32_t Long(const Bytes& b, size_t at) { return static_cast<int32_t>(Word(b, at) | Word(b, at + 2) << 16); }

// The frame in 0.01 mm: the image on the screen's millimetres per pixel.
RECT ExpectedFrame(int width, int height) {
  return {0, 0, width * ScreenCaps(HORZSIZE) * 100 / ScreenCaps(HORZRES),
          height * ScreenCaps(VERTSIZE) * 100 / ScreenCaps(VERTRES)};
}

// The written quadrants come back where they were when the file is rendered.
void ExpectRenderedBack(const std::string& path, const WrittenCase& c) {
  if (c.width < 20) return;  // too small to compare away from the edges
  Picture p = Render(path.c_str());
  ASSERT_TRUE(p.ok) << path << ": error " << p.error;
  for (const Spot& spot : kQuadrantSpots) ExpectColourAt(p, spot, 80, 80);
}

TEST_F(MetafileTest, WrittenEmfsHoldTheFrameAndAnswerTheirSize) {
  std::remove("written_metafiles.txt");
  for (const WrittenCase& c : kWrittenCases) {
    SCOPED_TRACE(c.name);
    int result = 0;
    const std::string path = WriteCase(c, Kind::kEmf, QuadrantImage(c.width, c.height), &result);
    const Bytes file = FileBytes(path);
    EXPECT_EQ(result, static_cast<int>(file.size()));
    ASSERT_GE(file.size(), 40u);
    const RECT frame = ExpectedFrame(c.width, c.height);
    EXPECT_EQ(Long(file, 24), frame.left);
    EXPECT_EQ(Long(file, 28), frame.top);
    EXPECT_EQ(Long(file, 32), frame.right);
    EXPECT_EQ(Long(file, 36), frame.bottom);
    ExpectRenderedBack(path, c);
  }
}

TEST_F(MetafileTest, WrittenWmfsAnswerTheirSizeAndThePlaceableHeaderChecksOut) {
  for (const WrittenCase& c : kWrittenCases) {
    SCOPED_TRACE(c.name);
    const Bytes pixels = QuadrantImage(c.width, c.height);
    int plain_result = 0, placeable_result = 0;
    const std::string plain = WriteCase(c, Kind::kWmf, pixels, &plain_result);
    const std::string placeable = WriteCase(c, Kind::kPlaceableWmf, pixels, &placeable_result);
    const Bytes plain_file = FileBytes(plain), file = FileBytes(placeable);
    EXPECT_EQ(plain_result, static_cast<int>(plain_file.size()));
    EXPECT_EQ(placeable_result, static_cast<int>(file.size()));
    ASSERT_EQ(file.size(), plain_file.size() + 22);
    EXPECT_EQ(Bytes(file.begin(), file.begin() + 4), (Bytes{0xD7, 0xCD, 0xC6, 0x9A}));
    EXPECT_EQ(Bytes(file.begin() + 22, file.end()), plain_file);
    const RECT frame = ExpectedFrame(c.width, c.height);
    EXPECT_EQ(static_cast<int16_t>(Word(file, 6)), frame.left * 1000 / 2540);
    EXPECT_EQ(static_cast<int16_t>(Word(file, 8)), frame.top * 1000 / 2540);
    EXPECT_EQ(static_cast<int16_t>(Word(file, 10)), frame.right * 1000 / 2540);
    EXPECT_EQ(static_cast<int16_t>(Word(file, 12)), frame.bottom * 1000 / 2540);
    EXPECT_EQ(Word(file, 14), 1000);
    uint16_t all = 0;
    for (size_t i = 0; i < 22; i += 2) all ^= Word(file, i);
    EXPECT_EQ(all, 0);
    ExpectRenderedBack(placeable, c);
    ExpectRenderedBack(plain, c);
  }
}

TEST_F(MetafileTest, WritersRefuseWhatTheyCannotWrite) {
  ImageStream sink = OpenFileSink("written_refused.bin");
  const Bytes pixels = QuadrantImage(4, 4);
  EXPECT_EQ(WriteEmfFile(sink, pixels.data(), 0, 4), 0);
  EXPECT_EQ(GetLastImageError(), kImageBadArgument);
  EXPECT_EQ(WriteWmfFile(sink, pixels.data(), 4, -1, 1), 0);
  EXPECT_EQ(GetLastImageError(), kImageBadArgument);
  CloseFileSink(sink);
  ImageStream source = OpenFileSource("written_refused.bin");
  EXPECT_EQ(WriteEmfFile(source, pixels.data(), 4, 4), 0);
  EXPECT_EQ(GetLastImageError(), kImageWriteFailed);
  EXPECT_EQ(WriteWmfFile(source, pixels.data(), 4, 4, 1), 0);
  EXPECT_EQ(GetLastImageError(), kImageWriteFailed);
  CloseFileSource(source);
  std::remove("written_refused.bin");
}

}  // namespace
