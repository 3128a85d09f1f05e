// The prescan over a generated 48-bit image into a preview of 16 x 10 pixels.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "foundation/dialogs/testing/scoped_prompts.h"
#include "foundation/file_names.h"
#include "foundation/paths.h"
#include "foundation/pstring.h"
#include "records/defaults_block.h"
#include "session/device_layer.h"
#include "session/device_state.h"
#include "session/frame_geometry.h"
#include "session/prescan.h"
#include "session/preview_files.h"
#include "session/preview_store.h"
#include "session/tests/session_test_environment.h"
#include "state/data_source_state.h"

namespace {

constexpr int32_t kWidth = 16, kHeight = 10;

// The window as the prescan sees it: a fixed size, and a Stop press after some bands.
class FakeView : public PrescanView {
 public:
  explicit FakeView(int stopAtCall = 0) : stopAtCall_(stopAtCall) {}
  void PreviewSize(int32_t* width, int32_t* height) override {
    *width = kWidth;
    *height = kHeight;
  }
  bool StopRequested() override { return stopAtCall_ > 0 && ++calls_ >= stopAtCall_; }
  void DrawRows(int32_t first, int32_t count) override { drawn.push_back({first, count}); }
  void ShowPrescanRunning(bool running) override { runningStates.push_back(running); }

  std::vector<std::pair<int32_t, int32_t>> drawn;
  std::vector<bool> runningStates;

 private:
  int stopAtCall_;
  int calls_ = 0;
};

std::vector<uint8_t> ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

std::string PathOf(PreviewFileKind kind) {
  char path[kPathSize];
  EXPECT_TRUE(PreviewFilePath(kind, path));
  std::string text = path;
  for (char& c : text)
    if (c == '\\') c = PathSeparator();
  return text;
}

const uint8_t* PreviewPixel(int32_t x, int32_t y) {
  return GlobalDibBits(gPreviewDib) + y * GlobalDibStride(gPreviewDib) + x * 4;
}

class PrescanTest : public SessionTest {
 protected:
  void SetUp() override {
    SessionTest::SetUp();
    ScopedPrompts noWindows;
    ASSERT_TRUE(TakeImage(Fixture("rgb48.tif")));
    ASSERT_TRUE(LoadImageGeometry());
    ResetDeviceStatus();
    ComputeScanAreaInches();
    // The layout's part: the preview pass over the whole scan area at the control's size.
    FrameRecord& frame = gDataSourceState.frameStateArea.scratchFrame;
    frame = FrameRecord{};
    frame.bitsPerChannel = 8;
    frame.width = gScanAreaInches.width;
    frame.height = gScanAreaInches.height;
    SetupPrescanFrame(&frame, kWidth, kHeight);
  }
  void TearDown() override {
    FreePreviewBuffers();
    if (gPrescanStore) DisposeMemHandle(gPrescanStore);
    gPrescanStore = nullptr;
    gHighBitPreview = false;
    SessionTest::TearDown();
  }
};

TEST_F(PrescanTest, FactorThreeSamplesEveryThirdRowAndColumn) {
  SetDefault(gDefaults, kDefaultPrescanFactor, uint32_t{3});
  FakeView view;
  ASSERT_EQ(RunPrescan(view, false), 0) << gDeviceErrorWord;
  EXPECT_EQ(view.runningStates, std::vector<bool>({true, false}));
  ASSERT_NE(gPreviewDib, nullptr);
  EXPECT_EQ(GlobalDibWidth(gPreviewDib), kWidth);
  EXPECT_EQ(GlobalDibHeight(gPreviewDib), kHeight);
  EXPECT_EQ(view.drawn.front(), std::make_pair(0, kHeight)) << "the blank preview first";

  // 48 x 30 prescan rows, 8-bit planes green, red, blue.
  const std::vector<uint8_t> prescan = ReadAll(PathOf(kPrescanFile));
  const size_t rowBytes = 48 * 3;
  ASSERT_EQ(prescan.size(), 56 + 30 * rowBytes);
  for (int32_t i = 0; i < kHeight; ++i)
    for (int32_t j = 0; j < kWidth; ++j) {
      const uint8_t* row = &prescan[56 + size_t(3 * i) * rowBytes];
      const uint8_t* pixel = PreviewPixel(j, i);
      ASSERT_EQ(pixel[1], row[3 * j]) << j << "," << i;
      ASSERT_EQ(pixel[2], row[48 + 3 * j]) << j << "," << i;
      ASSERT_EQ(pixel[0], row[96 + 3 * j]) << j << "," << i;
      ASSERT_EQ(pixel[3], 0);
    }
  EXPECT_EQ(ReadAll(PathOf(kPreviewFile)).size(), 4u + kWidth * kHeight * 4);
  // Not a stored prescan for the 16-bit store.
  EXPECT_FALSE(LoadStoredPreview());
}

TEST_F(PrescanTest, StopKeepsTheRowsReadAndFillsThePrescanFile) {
  SetDefault(gDefaults, kDefaultPrescanFactor, uint32_t{3});
  FakeView view(2);  // stopped before the second band
  ASSERT_EQ(RunPrescan(view, false), 0);
  const std::vector<uint8_t> prescan = ReadAll(PathOf(kPrescanFile));
  const size_t rowBytes = 48 * 3;
  ASSERT_EQ(prescan.size(), 56 + 30 * rowBytes);
  // Only the first band was read: its rows made preview rows, the rest stays white.
  const uint8_t white[4] = {255, 255, 255, 0};
  EXPECT_EQ(std::memcmp(PreviewPixel(3, kHeight - 1), white, 4), 0);
  size_t lastRead = 0;
  for (size_t r = 1; r < 30; ++r)
    if (std::memcmp(&prescan[56 + r * rowBytes], &prescan[56 + (r - 1) * rowBytes], rowBytes) != 0) lastRead = r;
  EXPECT_LT(lastRead, 29u) << "the rows after the last one read are its copies";
  EXPECT_EQ(ReadAll(PathOf(kPreviewFile)).size(), 4u + kWidth * kHeight * 4) << "the preview file is written";
}

TEST_F(PrescanTest, SixteenBitStoreKeepsTheWholePrescan) {
  gHighBitPreview = true;
  SetDefault(gDefaults, kDefaultPrescanFactor, uint32_t{3});
  FakeView view;
  ASSERT_EQ(RunPrescan(view, false), 0);
  ASSERT_NE(gPrescanStore, nullptr);
  EXPECT_EQ(gPrescanStore->size, 48u * 30 * 6);
  ASSERT_NE(gPreviewStore, nullptr);
  // Preview store row 2 holds prescan row 6, columns 0, 3, 6, ... of each plane.
  const auto* store = reinterpret_cast<const uint16_t*>(gPreviewStore->data);
  const auto* whole = reinterpret_cast<const uint16_t*>(gPrescanStore->data);
  for (int p = 0; p < 3; ++p)
    for (int32_t j = 0; j < kWidth; ++j)
      ASSERT_EQ(store[(2 * 3 + p) * kWidth + j], whole[(6 * 3 + p) * 48 + 3 * j]) << p << " " << j;
  EXPECT_EQ(ReadAll(PathOf(kPreviewFile)).size(), 88u + kWidth * kHeight * 6);
  EXPECT_TRUE(LoadStoredPreview());
}

TEST(PrescanFactor, IsLoweredUntilThePrescanFitsTheImage) {
  struct Case {
    int32_t wanted, width, height;
    int32_t fitted;
  } cases[] = {{3, 16, 10, 3}, {5, 16, 10, 4}, {3, 40, 30, 1}, {2, 32, 20, 2}, {2, 33, 20, 1}, {0, 16, 10, 1}};
  for (const Case& c : cases)
    EXPECT_EQ(FitPrescanFactor(c.wanted, c.width, c.height, 64, 40), c.fitted) << c.wanted << " " << c.width;
}

// The zoomed preview of a frame in the middle of the scan area, cut out of the
// stored prescan at both sample sizes; files that do not fit give nothing.
TEST_F(PrescanTest, ZoomedPreviewIsCutOutOfTheStoredPrescan) {
  SetDefault(gDefaults, kDefaultPrescanFactor, uint32_t{3});
  for (bool highBit : {false, true}) {
    gHighBitPreview = highBit;
    FakeView view;
    ASSERT_EQ(RunPrescan(view, false), 0);
    const std::vector<uint8_t> prescan = ReadAll(PathOf(kPrescanFile));
    PrescanFileHeader header;
    std::memcpy(&header, prescan.data(), sizeof header);
    const DRect frame = {gScanAreaInches.width / 4, gScanAreaInches.height / 4, gScanAreaInches.width / 4,
                         gScanAreaInches.height / 4};
    FrameRecord& pass = gDataSourceState.frameStateArea.scratchFrame;
    const FrameRecord before = pass;
    uint8_t hint = 0;
    ASSERT_TRUE(LoadPreviewForBox(frame, kWidth, kHeight, &pass, &hint)) << highBit;
    EXPECT_EQ(std::memcmp(&pass, &before, sizeof pass), 0) << "the prescan frame is put back";

    FrameRecord zoom = before;
    ComputePreviewGeometry(frame, kWidth, kHeight, &zoom);
    const PrescanCutOut cut = CutOutOfPrescan(DRect{zoom.originX, zoom.originY, zoom.width, zoom.height},
                                              header.prescanArea, header.width, header.height, kWidth, kHeight);
    EXPECT_EQ(hint, cut.zoomHint);
    const size_t sampleBytes = highBit ? 2 : 1, rowBytes = 3 * header.width * sampleBytes;
    std::vector<uint16_t> stored(3 * kWidth);
    for (int32_t r = 0; r < kHeight; ++r) {
      const uint8_t* row = &prescan[56 + static_cast<size_t>(r * cut.stepY + cut.top) * rowBytes];
      if (highBit) { ASSERT_TRUE(StoreRowsOut(stored.data(), r, 1, kWidth)); }
      for (int32_t c = 0; c < kWidth; ++c) {
        const size_t column = static_cast<size_t>(c * cut.stepX + cut.left);
        if (highBit) {
          for (int p = 0; p < 3; ++p) {
            uint16_t sample;
            std::memcpy(&sample, row + 2 * (p * header.width + column), 2);
            ASSERT_EQ(stored[p * kWidth + c], sample) << c << "," << r << " plane " << p;
          }
        } else {
          const uint8_t* pixel = PreviewPixel(c, r);
          ASSERT_EQ(pixel[1], row[column]) << c << "," << r;
          ASSERT_EQ(pixel[2], row[header.width + column]) << c << "," << r;
          ASSERT_EQ(pixel[0], row[2 * header.width + column]) << c << "," << r;
        }
      }
    }

    EXPECT_FALSE(LoadPreviewForBox(DRect{-1, 0, 1, 1}, kWidth, kHeight, &pass, &hint)) << "outside the prescan";
    EXPECT_EQ(gPreviewDib, nullptr);
    gHighBitPreview = !highBit;
    EXPECT_FALSE(LoadPreviewForBox(frame, kWidth, kHeight, &pass, &hint)) << "made with the other sample size";
    FreePreviewBuffers();
  }
}

}  // namespace
