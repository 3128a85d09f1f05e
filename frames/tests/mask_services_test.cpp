// Stored masks as the colour corrections read them: the "MASK" record's
// rectangles and reference rectangle through the frames' services, and the
// selective colour engine limited by a mask built from such a record.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "color/mask_region.h"
#include "color/selective_color.h"
#include "frame_store_fixture.h"
#include "frames/mask_record.h"
#include "frames/mask_services.h"
#include "frames/orientation/preview_orientation.h"

namespace {

// Reference (0, 0, 100, 80); two rectangles.
const std::vector<WinRect> kRects = {{10, 10, 50, 30}, {60, 40, 90, 70}};

std::vector<uint8_t> MaskBytes(const std::vector<WinRect>& rects, uint32_t type = 1, uint32_t extraCount = 0) {
  MaskRecordHeader header{};
  header.reference = WinRect{0, 0, 100, 80};
  header.region.size = 32;
  header.region.type = type;
  header.region.count = static_cast<uint32_t>(rects.size()) + extraCount;
  header.region.regionSize = static_cast<uint32_t>(rects.size() * sizeof(WinRect));
  header.region.bounds = WinRect{10, 10, 90, 70};
  std::vector<uint8_t> bytes(sizeof header + rects.size() * sizeof(WinRect));
  std::memcpy(bytes.data(), &header, sizeof header);
  if (!rects.empty()) std::memcpy(bytes.data() + sizeof header, rects.data(), rects.size() * sizeof(WinRect));
  return bytes;
}

class MaskServicesTest : public FrameStoreTest {
 protected:
  void SetUp() override {
    FrameStoreTest::SetUp();
    Store(3, "Maske_3", MaskBytes(kRects));
    InstallFrameMaskServices();
  }
  void TearDown() override {
    FreeSelectiveColorLuts();
    InstallMaskRegionServices(MaskRegionServices());
    FrameStoreTest::TearDown();
  }
  void Store(int32_t id, const char* name, const std::vector<uint8_t>& bytes) {
    ASSERT_TRUE(RecordStoreAdd(gAppStore, kMaskRecordType, id, bytes.data(), static_cast<uint32_t>(bytes.size()), name));
  }
};

bool SameRect(const WinRect& a, const WinRect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST_F(MaskServicesTest, TheRecordGivesItsRectanglesByNameOrId) {
  for (uint16_t id : {0, 3}) {
    std::vector<WinRect> area;
    WinRect drawnOn{};
    ASSERT_TRUE(LoadMaskRegion(id, id ? nullptr : "Maske_3", &area, &drawnOn));
    ASSERT_EQ(area.size(), 2u);
    EXPECT_TRUE(SameRect(area[0], kRects[0]));
    EXPECT_TRUE(SameRect(area[1], kRects[1]));
    EXPECT_TRUE(SameRect(drawnOn, WinRect{0, 0, 100, 80}));
  }
  std::vector<WinRect> area = {WinRect{1, 1, 2, 2}};
  WinRect drawnOn{};
  EXPECT_TRUE(LoadMaskRegion(0, "maske_3", &area, &drawnOn)) << "names are case-sensitive: no such mask";
  EXPECT_TRUE(area.empty());
}

TEST_F(MaskServicesTest, BytesThatAreNoMaskCannotBeRead) {
  std::vector<uint8_t> shortRecord = MaskBytes({});
  shortRecord.resize(47);
  const struct {
    const char* name;
    std::vector<uint8_t> bytes;
  } cases[] = {
      {"short", shortRecord},
      {"other region kind", MaskBytes(kRects, 2)},
      {"count past the end", MaskBytes(kRects, 1, 1)},
  };
  int32_t id = 10;
  for (const auto& c : cases) {
    Store(id, c.name, c.bytes);
    std::vector<WinRect> area;
    WinRect drawnOn{};
    EXPECT_FALSE(LoadMaskRegion(0, c.name, &area, &drawnOn)) << c.name;
    MaskRegion* region = nullptr;
    EXPECT_EQ(BuildMaskRegionForRect(&region, c.name, WinRect{0, 0, 100, 80}, 0), -108) << c.name;
    EXPECT_EQ(region, nullptr);
    ++id;
  }
}

TEST_F(MaskServicesTest, TheColourCorrectionsScaleTheStoredMaskToTheFrame) {
  // Drawn on 100 x 80, used for a frame at (10, 20) of 50 x 40: half size, frame-relative.
  MaskRegion* region = nullptr;
  ASSERT_EQ(BuildMaskRegionForRect(&region, "Maske_3", WinRect{10, 20, 60, 60}, 0), 0);
  ASSERT_NE(region, nullptr);
  EXPECT_TRUE(MaskRegionContains(region, 5, 5));
  EXPECT_TRUE(MaskRegionContains(region, 24, 14));
  EXPECT_FALSE(MaskRegionContains(region, 25, 5));
  EXPECT_TRUE(MaskRegionContains(region, 30, 20));
  EXPECT_FALSE(MaskRegionContains(region, 4, 4));
  ClearRegionSlot(&region, 0);
}

// One row of 100 pixels (R, G, B) at frame row 20, which crosses the first rectangle (columns 10-49).
struct MaskedRow {
  std::vector<uint8_t> in, out;
  MaskedRow() : in(300), out(300, 0xA5) {
    for (int k = 0; k < 100; ++k) {
      in[3 * k] = static_cast<uint8_t>(200 + k % 50);
      in[3 * k + 1] = static_cast<uint8_t>(30 + k);
      in[3 * k + 2] = static_cast<uint8_t>(40);
    }
  }
  void Apply() {
    ApplySelectiveColor8(in.data(), out.data(), SelectiveColorEntries(gSelectiveFrameSet),
                         gSelectiveFrameSet.entryCount, 100, 3, 1, 0, 20, &gSelectiveFrameSet);
  }
  bool Same(int k) const { return std::memcmp(&in[3 * k], &out[3 * k], 3) == 0; }
};

TEST_F(MaskServicesTest, PixelsOutsideTheMaskAreCopiedBitForBitIntoAnotherBuffer) {
  int16_t matrix[kSelectiveCells] = {};
  matrix[0] = -40;  // red: less red
  const WinRect frame{0, 0, 100, 80};
  ASSERT_EQ(BuildSelectiveColorLuts(matrix, &gSelectiveFrameSet, "Maske_3", &frame, 0), 0);
  ASSERT_NE(gSelectiveFrameSet.maskRegion, nullptr);
  MaskedRow row;
  row.Apply();
  for (int k = 0; k < 100; ++k) EXPECT_EQ(row.Same(k), k < 10 || k >= 50) << k;
}

TEST_F(MaskServicesTest, AZeroMatrixDropsTheOldMaskRegion) {
  int16_t matrix[kSelectiveCells] = {};
  matrix[0] = -40;
  const WinRect frame{0, 0, 100, 80};
  ASSERT_EQ(BuildSelectiveColorLuts(matrix, &gSelectiveFrameSet, "Maske_3", &frame, 0), 0);
  ASSERT_NE(gSelectiveFrameSet.maskRegion, nullptr);
  matrix[0] = 0;
  ASSERT_EQ(BuildSelectiveColorLuts(matrix, &gSelectiveFrameSet, "Maske_3", &frame, 0), 0);
  EXPECT_EQ(gSelectiveFrameSet.entryCount, 0);
  EXPECT_EQ(gSelectiveFrameSet.maskRegion, nullptr);
  MaskedRow row;
  row.Apply();
  for (int k = 0; k < 100; ++k) EXPECT_TRUE(row.Same(k)) << k;
}

}  // namespace

namespace {

std::vector<int32_t> Sides(const WinRect& r) { return {r.left, r.top, r.right, r.bottom}; }

class MaskOrientationTest : public testing::Test {
 protected:
  void TearDown() override {
    SetPreviewOrientation(0, 0, 0);
    InstallMaskZoomHook(nullptr);
  }
};

// Stored on a reference of 100 x 80: the rectangle at (10, 20)-(30, 40) in the image's axes.
TEST_F(MaskOrientationTest, AStoredMaskTurnsWithThePreviewAndBack) {
  const struct {
    uint8_t mirrorH, mirrorV;
    uint16_t quarterTurns;
    WinRect shown, reference;
  } cases[] = {
      {0, 0, 0, {10, 20, 30, 40}, {0, 0, 100, 80}},
      {1, 0, 0, {70, 20, 90, 40}, {0, 0, 100, 80}},
      {0, 1, 0, {10, 40, 30, 60}, {0, 0, 100, 80}},
      // A quarter clockwise: the image's bottom edge is the preview's left edge, and the reference stands upright.
      {0, 0, 1, {40, 10, 60, 30}, {0, 0, 80, 100}},
      {0, 0, 2, {70, 40, 90, 60}, {0, 0, 100, 80}},
  };
  for (const auto& c : cases) {
    SetPreviewOrientation(c.mirrorH, c.mirrorV, c.quarterTurns);
    std::vector<WinRect> area = {{10, 20, 30, 40}};
    WinRect reference{0, 0, 100, 80};
    MapMaskRegionToPreview(&area, &reference, false);
    ASSERT_EQ(area.size(), 1u);
    const std::string label = std::to_string(c.mirrorH) + std::to_string(c.mirrorV) + std::to_string(c.quarterTurns);
    EXPECT_EQ(Sides(area[0]), Sides(c.shown)) << label;
    EXPECT_EQ(Sides(reference), Sides(c.reference)) << label;
    // Drawn there on the turned preview, it is stored at the same place of the image.
    MapMaskRegionToPreview(&area, &reference, true);
    EXPECT_EQ(Sides(area[0]), Sides(WinRect{10, 20, 30, 40})) << label;
    EXPECT_EQ(Sides(reference), Sides(WinRect{0, 0, 100, 80})) << label;
  }
}

TEST_F(MaskOrientationTest, TheZoomComesFromTheMainWindow) {
  const WinRect r{10, 20, 30, 40};
  EXPECT_EQ(Sides(MaskRectToPreview(r)), Sides(r)) << "nothing installed: no zoom";
  InstallMaskZoomHook([](const WinRect& in) { return WinRect{in.left * 2, in.top * 2, in.right * 2, in.bottom * 2}; });
  EXPECT_EQ(Sides(MaskRectToPreview(r)), Sides(WinRect{20, 40, 60, 80}));
}

}  // namespace
