// Mask regions from the frames' masks: rescaling, preview mapping, the frame
// offset and the failures; and the corrections that leave pixels outside.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "color/color_cubes.h"
#include "color/color_matrix.h"
#include "color/mask_region.h"

namespace {

struct StoredMask {
  std::vector<WinRect> area;
  WinRect drawnOn;
};
std::map<std::string, StoredMask> gMasks;
bool gZoomed = false;

class MaskRegionTest : public testing::Test {
 protected:
  void SetUp() override {
    gMasks = {{"square", {{{10, 20, 30, 40}}, {0, 0, 100, 100}}},
              {"empty", {{}, {0, 0, 100, 100}}},
              {"outside", {{{200, 200, 210, 210}}, {0, 0, 100, 100}}}};
    gZoomed = false;
    MaskRegionServices services;
    services.loadMaskRegion = [](const char* name, std::vector<WinRect>* area, WinRect* drawnOn) {
      if (std::string(name) == "unreadable") return false;
      const auto found = gMasks.find(name);
      area->clear();
      if (found != gMasks.end()) {
        *area = found->second.area;
        *drawnOn = found->second.drawnOn;
      }
      return true;
    };
    // A zoomed preview shows the frame at half size.
    services.maskRectToPreview = [](const WinRect& r) {
      return gZoomed ? WinRect{r.left / 2, r.top / 2, r.right / 2, r.bottom / 2} : r;
    };
    InstallMaskRegionServices(services);
  }
  void TearDown() override {
    ClearRegionSlot(&region_, 0);
    InstallMaskRegionServices(MaskRegionServices());
  }
  MaskRegion* region_ = nullptr;
};

TEST_F(MaskRegionTest, TheMaskIsScaledToTheFrameAndPlacedAtItsCorner) {
  const struct {
    WinRect frame;
    bool zoomed;
    uint8_t toPreview;
    int32_t inX, inY, outX, outY;  // a pixel inside and one just outside, frame-relative
  } cases[] = {
      {{0, 0, 100, 100}, false, 0, 10, 20, 30, 20},      // as drawn
      {{50, 60, 150, 160}, false, 0, 10, 20, 9, 20},     // moved: offset by the frame's corner
      {{0, 0, 200, 200}, false, 0, 59, 79, 60, 40},      // twice the size
      {{0, 0, 200, 200}, true, 1, 29, 39, 30, 20},       // and shown at half size in the preview
      {{0, 0, 200, 200}, true, 0, 59, 79, 60, 40},       // not for the preview: the zoom does not count
  };
  for (const auto& c : cases) {
    gZoomed = c.zoomed;
    ClearRegionSlot(&region_, 0);
    ASSERT_EQ(BuildMaskRegionForRect(&region_, "square", c.frame, c.toPreview), 0);
    ASSERT_NE(region_, nullptr);
    EXPECT_TRUE(MaskRegionContains(region_, c.inX, c.inY)) << c.frame.right << " " << c.zoomed;
    EXPECT_FALSE(MaskRegionContains(region_, c.outX, c.outY)) << c.frame.right << " " << c.zoomed;
  }
}

TEST_F(MaskRegionTest, NoAreaLeavesTheSlotEmptyAndAnUnreadableMaskFails) {
  const WinRect frame{0, 0, 100, 100};
  for (const char* name : {"empty", "unknown", ""}) {
    EXPECT_EQ(BuildMaskRegionForRect(&region_, name, frame, 0), 0) << name;
    EXPECT_EQ(region_, nullptr) << name;
  }
  EXPECT_EQ(BuildMaskRegionForRect(&region_, nullptr, frame, 0), 0);
  EXPECT_EQ(BuildMaskRegionForRect(&region_, "unreadable", frame, 0), -108);
  EXPECT_EQ(region_, nullptr);
  EXPECT_EQ(BuildMaskRegionForRect(&region_, "outside", frame, 0), 0);
  ASSERT_NE(region_, nullptr);
  EXPECT_FALSE(MaskRegionContains(region_, 10, 20));
  EXPECT_FALSE(MaskRegionContains(nullptr, 0, 0));
  MaskRegion* kept = region_;
  ClearRegionSlot(&region_, 1);
  EXPECT_EQ(region_, nullptr);
  ClearRegionSlot(&kept, 0);
}

// Pixels outside the set's region pass the matrix and the cube unchanged;
// an unreadable mask still builds the tables, without a region.
TEST_F(MaskRegionTest, CorrectionsLeavePixelsOutsideTheMask) {
  int16_t matrix[kMatrixCells] = {};
  matrix[0 * kMatrixColors + 3] = 50;  // red sector: more cyan
  ColorMatrixLutSet set{};
  const WinRect frame{100, 100, 200, 200};
  ASSERT_EQ(BuildColorMatrixLuts(matrix, &set, "square", &frame, 0), 0);
  ASSERT_NE(set.maskRegion, nullptr);
  // A row of four pure reds at frame x 8..11, row 25: the square begins at x 10.
  std::vector<uint8_t> row = {255, 0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0};
  std::vector<uint8_t> unmasked = row;
  const auto* entries = reinterpret_cast<const ColorMatrixLut*>(set.entries->data);
  ApplyColorMatrix8(unmasked.data(), unmasked.data(), entries, 72, 4, 3, 1, 8, 25, nullptr);
  ASSERT_NE(unmasked[9], 255) << "the matrix changes pure red";
  std::vector<uint8_t> masked = row;
  ApplyColorMatrix8(masked.data(), masked.data(), entries, 72, 4, 3, 1, 8, 25, &set);
  EXPECT_EQ(std::vector<uint8_t>(masked.begin(), masked.begin() + 6), std::vector<uint8_t>(row.begin(), row.begin() + 6));
  EXPECT_EQ(std::vector<uint8_t>(masked.begin() + 6, masked.end()),
            std::vector<uint8_t>(unmasked.begin() + 6, unmasked.end()));
  // Row 45 lies below the square.
  masked = row;
  ApplyColorMatrix8(masked.data(), masked.data(), entries, 72, 4, 3, 1, 8, 45, &set);
  EXPECT_EQ(masked, row);

  std::vector<uint16_t> row16 = {65535, 0, 0, 65535, 0, 0};
  std::vector<uint16_t> unmasked16 = row16;
  ApplyColorMatrix16(unmasked16.data(), unmasked16.data(), entries, 72, 2, 3, 1, 9, 25, nullptr);
  ApplyColorMatrix16(row16.data(), row16.data(), entries, 72, 2, 3, 1, 9, 25, &set);
  EXPECT_EQ(row16[0], 65535);
  EXPECT_EQ(row16[3], unmasked16[3]);
  EXPECT_NE(row16[3], 65535);

  MemHandle cube = NewCube8();
  BakeColorMatrixIntoCube(cube, &set);
  std::vector<uint8_t> cubed = row;
  ApplyColorCube8(cubed.data(), cubed.data(), cube, 4, 3, 1, 3, 1, 8, 25, &set);
  EXPECT_EQ(cubed[0], 255);
  EXPECT_EQ(cubed[3], 255);
  EXPECT_NE(cubed[6], 255);
  DisposeMemHandle(cube);

  EXPECT_EQ(BuildColorMatrixLuts(matrix, &set, "unreadable", &frame, 0), -108);
  EXPECT_EQ(set.entryCount, 72);
  EXPECT_EQ(set.maskRegion, nullptr);
  DisposeMemHandle(set.entries);
}

}  // namespace
