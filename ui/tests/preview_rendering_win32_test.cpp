// The preview's drawing path: orientation of rendered pictures, fitting and
// centring, and the monitor matching through the host's colour services.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <vector>

#include "foundation/win32/global_dib_draw_win32.h"
#include "frames/orientation/preview_orientation.h"
#include "records/defaults_block.h"
#include "state/data_source_state.h"
#include "state/module_state.h"
#include "tools/host_colour/host_colour_services.h"
#include "ui/win32/preview_rendering_win32.h"

namespace {

// A 32-bit top-down section whose pixels the test reads back.
struct Canvas {
  Canvas(int w, int h) : width(w), height(h) {
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* p = nullptr;
    bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &p, nullptr, 0);
    bits = static_cast<uint32_t*>(p);
  }
  ~Canvas() { DeleteObject(bitmap); }
  uint32_t At(int x, int y) const {
    GdiFlush();
    return bits[y * width + x] & 0xFFFFFF;
  }
  int width, height;
  HBITMAP bitmap;
  uint32_t* bits;
};

// Pixel (x, y) of the 3 x 2 test image holds the number 10 y + x + 1 in its blue byte.
GlobalDib NumberedImage() {
  GlobalDib image = CreateGlobalDib(2, 3, 32, true);
  uint32_t* p = reinterpret_cast<uint32_t*>(GlobalDibBits(image));
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) p[y * 3 + x] = static_cast<uint32_t>(10 * y + x + 1);
  return image;
}

TEST(PreviewRendering, ExactSizeRenderingMirrorsAndTurnsClockwise) {
  // Rows of the rendered picture, top to bottom, as the numbers of the source pixels.
  const struct {
    bool flipX, flipY, swapAxes;
    std::vector<std::vector<uint32_t>> rows;
  } cases[] = {
      {false, false, false, {{1, 2, 3}, {11, 12, 13}}},
      {true, false, false, {{3, 2, 1}, {13, 12, 11}}},
      {false, true, false, {{11, 12, 13}, {1, 2, 3}}},
      {true, true, false, {{13, 12, 11}, {3, 2, 1}}},
      // A quarter clockwise: source row i becomes column n - 1 - i.
      {false, false, true, {{11, 1}, {12, 2}, {13, 3}}},
      // Mirrored first, then turned.
      {true, false, true, {{13, 3}, {12, 2}, {11, 1}}},
  };
  GlobalDib image = NumberedImage();
  for (const auto& c : cases) {
    const int h = static_cast<int>(c.rows.size()), w = static_cast<int>(c.rows[0].size());
    Canvas canvas(w + 2, h + 2);
    ASSERT_TRUE(RenderImageToBitmap(image, RECT{0, 0, 3, 2}, canvas.bitmap, RECT{1, 1, 1 + w, 1 + h}, c.flipX,
                                    c.flipY, c.swapAxes));
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        EXPECT_EQ(canvas.At(1 + x, 1 + y), c.rows[y][x])
            << "flips " << c.flipX << c.flipY << " swap " << c.swapAxes << " at " << x << "," << y;
    EXPECT_EQ(canvas.At(0, 0), 0u) << "nothing outside the destination";
  }
  FreeGlobalDib(image);
}

TEST(PreviewRendering, FittedPicturesAreCentredWithTheirAspect) {
  GlobalDib image = CreateGlobalDib(20, 40, 32, true);
  FillGlobalDib(image, MakeColorRef(200, 0, 0));
  const uint32_t red = 200u << 16;
  const struct {
    bool swapAxes;
    RECT picture;  // where the red picture lands in the 100 x 100 canvas
  } cases[] = {{false, {0, 25, 100, 75}}, {true, {25, 0, 75, 100}}};
  for (const auto& c : cases) {
    Canvas canvas(100, 100);
    ASSERT_TRUE(RenderImageFitted(image, RECT{0, 0, 40, 20}, canvas.bitmap, reinterpret_cast<uint8_t*>(canvas.bits),
                                  RECT{0, 0, 100, 100}, false, false, c.swapAxes));
    for (int y = 0; y < 100; y += 3)
      for (int x = 0; x < 100; x += 3) {
        const bool inside = x >= c.picture.left && x < c.picture.right && y >= c.picture.top && y < c.picture.bottom;
        EXPECT_EQ(canvas.At(x, y), inside ? red : 0u) << "swap " << c.swapAxes << " at " << x << "," << y;
      }
  }
  FreeGlobalDib(image);
}

class MonitorMatching : public testing::Test {
 protected:
  void SetUp() override {
    gSessionStorage = SessionBlock{};
    gSession = &gSessionStorage;
    HostColourRequests() = HostColourRecord{};
  }
  void TearDown() override {
    gSession = nullptr;
    SetDefault<uint8_t>(gDefaults, kDefaultMonitorMatchingMode, 0);
  }
};

TEST_F(MonitorMatching, HostPathHandsTheHostOnePixelBlock) {
  gSession->colourServices.value = reinterpret_cast<void*>(HostColourServices);
  Canvas canvas(7, 5);
  HWND window = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
  uint8_t* bits = reinterpret_cast<uint8_t*>(canvas.bits);
  const RECT destination = {4, 6, 11, 11};

  for (uint8_t mode : {0, 1}) {
    SetDefault<uint8_t>(gDefaults, kDefaultMonitorMatchingMode, mode);
    EXPECT_FALSE(MatchBitmapForMonitor(canvas.bitmap, bits, RECT{0, 0, 7, 5}, window, nullptr, destination))
        << "mode " << int(mode) << " without colour management draws nothing";
  }
  EXPECT_TRUE(HostColourRequests().blocks.empty());

  SetDefault<uint8_t>(gDefaults, kDefaultMonitorMatchingMode, 2);
  EXPECT_TRUE(MatchBitmapForMonitor(canvas.bitmap, bits, RECT{0, 0, 7, 5}, window, nullptr, destination));
  ASSERT_EQ(HostColourRequests().blocks.size(), 1u);
  const HostPixelBlock& block = HostColourRequests().blocks[0];
  EXPECT_EQ(block.version, 1);
  EXPECT_EQ(block.top, 0);
  EXPECT_EQ(block.left, 0);
  EXPECT_EQ(block.bottom, 5);
  EXPECT_EQ(block.right, 7);
  EXPECT_EQ(block.samples, 3);
  EXPECT_EQ(block.rowBytes, 28);
  EXPECT_EQ(block.pixelBytes, 4);
  EXPECT_EQ(block.planeBytes, -1);
  EXPECT_EQ(block.red, bits + 2) << "the red byte of the first B, G, R, x pixel";
  for (int32_t word : block.reserved) EXPECT_EQ(word, 0);
  const HostRect& rect = HostColourRequests().rects[0];
  EXPECT_EQ(rect.top, 0);
  EXPECT_EQ(rect.left, 0);
  EXPECT_EQ(rect.bottom, 5);
  EXPECT_EQ(rect.right, 7);
  DestroyWindow(window);
}

// The preview image drawn into the main dialog's control 1047 through the
// GlobalDib drawing: the matched path orients, the plain one does not.
TEST(PreviewRendering, MatchedDrawingPutsImageRectanglesAtTheirOrientedPlace) {
  HWND dialog = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
  // Turned a quarter, the 3 x 2 image shows 2 wide and 3 high.
  CreateWindowA("STATIC", "", WS_CHILD, 0, 0, 2, 3, dialog, reinterpret_cast<HMENU>(1047), nullptr, nullptr);
  gMainDialog = dialog;
  SetPreviewOrientation(0, 0, 1);
  InstallPreviewDrawing();
  GlobalDib image = NumberedImage();
  const uint32_t untouched = 0x777777;
  const struct {
    bool matched;
    RECT rect;  // of the image
    std::vector<std::vector<uint32_t>> rows;  // what the control's 4 x 4 corner then shows
  } cases[] = {
      // Columns 1 and 2 of the image are rows 1 and 2 of the turned preview.
      {true, {1, 0, 3, 2}, {{untouched, untouched}, {12, 2}, {13, 3}}},
      {true, {0, 1, 3, 2}, {{11, untouched}, {12, untouched}, {13, untouched}}},
      {true, {0, 0, 3, 2}, {{11, 1}, {12, 2}, {13, 3}}},
      // The plain path draws the rectangle at the same place, unturned.
      {false, {0, 0, 3, 2}, {{1, 2, 3}, {11, 12, 13}}},
      {false, {1, 1, 3, 2}, {{untouched, untouched, untouched}, {untouched, 12, 13}}},
  };
  for (const auto& c : cases) {
    Canvas canvas(4, 4);
    std::fill(canvas.bits, canvas.bits + 16, untouched);
    HDC memory = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(memory, canvas.bitmap);
    DrawGlobalDibRect(image, dialog, 1047, memory, c.rect, c.matched);
    SelectObject(memory, old);
    DeleteDC(memory);
    for (size_t y = 0; y < c.rows.size(); ++y)
      for (size_t x = 0; x < c.rows[y].size(); ++x)
        EXPECT_EQ(canvas.At(static_cast<int>(x), static_cast<int>(y)), c.rows[y][x])
            << "matched " << c.matched << " rect " << c.rect.left << "," << c.rect.top << " at " << x << "," << y;
  }
  FreeGlobalDib(image);
  SetPreviewOrientation(0, 0, 0);
  gMainDialog = nullptr;
  DestroyWindow(dialog);
}

}  // namespace
