// Job thumbnails: the fitted rectangle, the corrections a row shows, the
// quarter turn of the raw pixels and the entry's output colour space.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "foundation/file_io.h"
#include "output/job_hooks.h"
#include "output/job_item.h"
#include "output/job_thumbnails.h"
#include "tone/gamma_tables.h"

namespace {

bool SameRect(const WinRect& a, const WinRect& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

TEST(JobThumbnailTest, TheLargerSideBecomesFifty) {
  const struct {
    double width, height;
    bool swap;
    WinRect rect;
  } cases[] = {
      {400, 200, false, {0, 0, 50, 25}}, {400, 200, true, {0, 0, 25, 50}}, {200, 400, false, {0, 0, 25, 50}},
      {10, 10, false, {0, 0, 50, 50}},   {333, 100, false, {0, 0, 50, 15}},
      // An empty frame would divide by zero: it gets the smallest thumbnail.
      {0, 0, false, {0, 0, 1, 1}},       {400, 0, false, {0, 0, 50, 1}},   {0, 400, true, {0, 0, 50, 1}},
  };
  for (const auto& c : cases) {
    const WinRect rect = FitThumbnailSize(c.width, c.height, c.swap);
    EXPECT_TRUE(SameRect(rect, c.rect)) << c.width << " x " << c.height << " -> " << rect.right << " x " << rect.bottom;
  }
}

class ThumbnailItemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    JobWindowHooks hooks;
    hooks.framePreviewRect = [](const FrameRecord&, WinRect* rect) {
      *rect = {10, 20, 410, 220};
      return true;
    };
    InstallJobWindowHooks(hooks);
  }
  void TearDown() override { InstallJobWindowHooks(JobWindowHooks()); }
  // Raw pixels of the given values, one per pixel of a width x 1 thumbnail.
  void Pixels(const std::vector<uint32_t>& values) {
    DeleteJobBitmap(item_.thumbRaw);
    DeleteJobBitmap(item_.thumbShown);
    const int32_t width = static_cast<int32_t>(values.size());
    item_.thumbRaw = CreateJobBitmap(width, 1, &item_.thumbRawBits);
    item_.thumbShown = CreateJobBitmap(width, 1, &item_.thumbShownBits);
    item_.thumbRect = {0, 0, width, 1};
    std::memcpy(item_.thumbRawBits, values.data(), values.size() * 4);
  }
  std::vector<uint32_t> Shown() const {
    return std::vector<uint32_t>(item_.thumbShownBits, item_.thumbShownBits + item_.thumbRect.right);
  }
  JobItem item_;
};

// 400 x 200 preview pixels give 50 x 25, with one quarter turn 25 x 50.
TEST_F(ThumbnailItemTest, TheFrameOrientationExchangesTheAxes) {
  ASSERT_TRUE(RefreshThumbnail(item_, 1));
  EXPECT_TRUE(SameRect(item_.thumbRect, WinRect{0, 0, 50, 25}));
  EXPECT_TRUE(item_.HasThumbnail());
  item_.frame.quarterTurns = 1;
  ASSERT_TRUE(RefreshThumbnail(item_, 1));
  EXPECT_TRUE(SameRect(item_.thumbRect, WinRect{0, 0, 25, 50}));
  // Without a preview rectangle there is no thumbnail.
  InstallJobWindowHooks(JobWindowHooks());
  EXPECT_FALSE(RefreshThumbnail(item_, 1));
  EXPECT_FALSE(item_.HasThumbnail());
}

TEST_F(ThumbnailItemTest, SixteenBitFramesShowTheCapturedOrGreyPixels) {
  item_.frame.bitsPerChannel = 16;
  item_.frame.colorMode = 2;
  Pixels({0x00102030, 0x00FF0000});
  RenderJobThumbnail(item_);
  EXPECT_EQ(Shown(), (std::vector<uint32_t>{0x00102030, 0x00FF0000}));
  item_.frame.colorMode = 0;
  item_.frame.invert = 1;
  RenderJobThumbnail(item_);
  // Inverted (ef df cf), then the average of the three.
  EXPECT_EQ(Shown(), (std::vector<uint32_t>{0x00DFDFDF, 0x00AAAAAA}));
}

// The threshold index of line art is 128 -/+ a word of the frame that may
// hold anything: far outside the table it is held at its ends.
TEST_F(ThumbnailItemTest, LineArtThresholdStaysInsideItsTable) {
  SetCurrentGamma(1.0);
  item_.frame.bitsPerChannel = 1;
  item_.frame.colorMode = 0;
  Pixels({0x00000000, 0x00808080, 0x00FEFEFE, 0x00FFFFFF});
  for (int16_t word : {int16_t(30000), int16_t(-30000), int16_t(200), int16_t(-200)}) {
    for (uint8_t invert : {0, 1}) {
      SCOPED_TRACE(std::to_string(word) + (invert ? " inverted" : ""));
      item_.frame.tone[0].brightness = word;
      item_.frame.invert = invert;
      RenderJobThumbnail(item_);
      const bool lowest = (invert ? 128 + word : 128 - word) <= 0;
      const std::vector<uint32_t> white = {0x00FFFFFF, 0x00FFFFFF, 0x00FFFFFF, 0x00FFFFFF};
      const std::vector<uint32_t> onlyWhite = {0, 0, 0, 0x00FFFFFF};
      std::vector<uint32_t> expected = lowest ? white : onlyWhite;
      if (invert)
        for (uint32_t& p : expected) p ^= 0x00FFFFFF;
      EXPECT_EQ(Shown(), expected);
    }
  }
}

// A quarter turn clockwise: source row i becomes column n - 1 - i.
TEST_F(ThumbnailItemTest, ReorientingTurnsTheRawPixels) {
  DeleteJobBitmap(item_.thumbRaw);
  item_.thumbRaw = CreateJobBitmap(3, 2, &item_.thumbRawBits);
  item_.thumbShown = CreateJobBitmap(3, 2, &item_.thumbShownBits);
  item_.thumbRect = {0, 0, 3, 2};
  item_.frame.bitsPerChannel = 16;
  item_.frame.colorMode = 2;
  const uint32_t rows[6] = {1, 2, 3, 4, 5, 6};  // 1 2 3 / 4 5 6
  std::memcpy(item_.thumbRawBits, rows, sizeof rows);
  item_.frame.quarterTurns = 1;
  ReorientThumbnail(item_, JobOrientation{0, 0, 0});  // one turn from 1 to 0
  ASSERT_TRUE(SameRect(item_.thumbRect, WinRect{0, 0, 2, 3}));
  EXPECT_EQ(std::vector<uint32_t>(item_.thumbRawBits, item_.thumbRawBits + 6),
            (std::vector<uint32_t>{4, 1, 5, 2, 6, 3}));
  EXPECT_EQ(std::vector<uint32_t>(item_.thumbShownBits, item_.thumbShownBits + 6),
            (std::vector<uint32_t>{4, 1, 5, 2, 6, 3}));
  // A mirror alone keeps the size.
  ReorientThumbnail(item_, JobOrientation{1, 0, 1});
  EXPECT_EQ(std::vector<uint32_t>(item_.thumbRawBits, item_.thumbRawBits + 6),
            (std::vector<uint32_t>{1, 4, 2, 5, 3, 6}));
}

void WriteProfile(const std::string& path, const char* space) {
  uint8_t header[128] = {};
  std::memcpy(header + 16, space, 4);
  FileHandle file = CreateFileForWriting(path.c_str());
  ASSERT_NE(file, nullptr);
  WriteBytesAt(file, 0, header, sizeof header);
  CloseFile(file);
}

TEST(JobOutputColorTest, TheOutputStaysRgbUnlessProfileOrTablesSayOtherwise) {
  WriteProfile("job_rgb.icc", "RGB ");
  WriteProfile("job_cmyk.icc", "CMYK");
  const struct {
    uint16_t mode;
    const char* profile;
    bool rgb;
  } cases[] = {{0, "", true},           {4, "", true},           {5, "job_rgb.icc", false},
               {2, "job_rgb.icc", true}, {2, "job_cmyk.icc", false}, {2, "", false},
               {2, "fehlt.icc", false}};
  for (const auto& c : cases) {
    JobItem item;
    item.settings.outputMode = c.mode;
    std::strcpy(item.settings.outputProfile, c.profile);
    EXPECT_EQ(EntryOutputIsRgb(item), c.rgb) << c.mode << " " << c.profile;
  }
  DeleteFileAt("job_rgb.icc");
  DeleteFileAt("job_cmyk.icc");
}

}  // namespace

namespace {

// An overview entry reads its image file reduced (3000 x 120 pixels: 50 x 2);
// a file that cannot be read leaves 50 x 50 of light grey.
TEST(OverviewThumbnailTest, TheImageFileOrAGreyGround) {
  OverviewJobItem item;
  item.frame.bitsPerChannel = 16;  // shown as captured
  item.frame.colorMode = 2;
  std::strcpy(item.imagePath, "scan_rgb24.tif");
  ASSERT_TRUE(RefreshThumbnail(item, 1));
  ASSERT_TRUE(SameRect(item.thumbRect, WinRect{0, 0, 50, 2}));
  std::vector<uint32_t> raw(item.thumbRawBits, item.thumbRawBits + 100);
  EXPECT_NE(raw, std::vector<uint32_t>(100, 0xC8C8C8C8u));
  EXPECT_NE(raw, std::vector<uint32_t>(100, raw[0]));
  EXPECT_EQ(std::vector<uint32_t>(item.thumbShownBits, item.thumbShownBits + 100), raw);

  std::strcpy(item.imagePath, "fehlt.tif");
  ASSERT_TRUE(RefreshThumbnail(item, 1));
  ASSERT_TRUE(SameRect(item.thumbRect, WinRect{0, 0, 50, 50}));
  const std::vector<uint32_t> grey(2500, 0xC8C8C8C8u);
  EXPECT_EQ(std::vector<uint32_t>(item.thumbRawBits, item.thumbRawBits + 2500), grey);
  EXPECT_EQ(std::vector<uint32_t>(item.thumbShownBits, item.thumbShownBits + 2500), grey);
  // Without the file the entry takes the preview, and there is none.
  EXPECT_FALSE(RefreshThumbnail(item, 0));
}

}  // namespace
