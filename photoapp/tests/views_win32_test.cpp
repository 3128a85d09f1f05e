// The preview views in a test dialog with two linked views, under Wine: zoom
// steps, fitting, dragging both views, and the paint read back from the screen.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "photoapp/tests/document_fixture.h"
#include "photoapp/tests/test_resources.h"
#include "photoapp/views/preview_button.h"

namespace {

constexpr COLORREF kBackground = RGB(192, 192, 192);
constexpr COLORREF kLightTile = RGB(240, 240, 240);
constexpr COLORREF kDarkTile = RGB(200, 200, 200);

INT_PTR CALLBACK PlainDialogProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

COLORREF AsColorRef(int rgb) { return RGB(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF); }

// What a view shows, copied from its window after a paint.
struct Shot {
  int width = 0, height = 0;
  std::vector<COLORREF> pixels;
  COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
  // The rectangle of what is not background or checkerboard: the image.
  RECT ImageExtent() const {
    RECT extent = {width, height, 0, 0};
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) {
        const COLORREF c = At(x, y);
        if (c == kBackground || c == kLightTile || c == kDarkTile) continue;
        extent = {std::min<LONG>(extent.left, x), std::min<LONG>(extent.top, y), std::max<LONG>(extent.right, x + 1),
                  std::max<LONG>(extent.bottom, y + 1)};
      }
    return extent;
  }
};

Shot Capture(HWND view) {
  RedrawWindow(view, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  Shot shot;
  RECT client;
  GetClientRect(view, &client);
  shot.width = client.right;
  shot.height = client.bottom;
  BITMAPINFO info = {};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), shot.width, -shot.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HDC window = GetDC(view);
  HDC memory = CreateCompatibleDC(window);
  HBITMAP section = CreateDIBSection(window, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ previous = SelectObject(memory, section);
  BitBlt(memory, 0, 0, shot.width, shot.height, window, 0, 0, SRCCOPY);
  GdiFlush();
  const auto* bgrx = static_cast<const uint8_t*>(bits);
  for (int i = 0; i < shot.width * shot.height; ++i)
    shot.pixels.push_back(RGB(bgrx[i * 4 + 2], bgrx[i * 4 + 1], bgrx[i * 4]));
  SelectObject(memory, previous);
  DeleteObject(section);
  DeleteDC(memory);
  ReleaseDC(view, window);
  return shot;
}

void ExpectRect(const RECT& actual, const RECT& expected, const std::string& what) {
  EXPECT_EQ(actual.left, expected.left) << what;
  EXPECT_EQ(actual.top, expected.top) << what;
  EXPECT_EQ(actual.right, expected.right) << what;
  EXPECT_EQ(actual.bottom, expected.bottom) << what;
}

RECT Moved(const RECT& rect, int dx, int dy) { return {rect.left + dx, rect.top + dy, rect.right + dx, rect.bottom + dy}; }

std::string SaveQuadrants(int width, int height) {
  const std::string path = "quadrants_" + std::to_string(width) + "x" + std::to_string(height) + ".bmp";
  ImageDocument document;
  FillQuadrants(document, width, height);
  EXPECT_EQ(document.SaveFile(path, 6, 0, false), kImageOk);
  return path;
}

class PreviewViews : public ::testing::Test {
 protected:
  void SetUp() override {
    dialog_ = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_TEST_VIEWS), nullptr,
                                 PlainDialogProc, 0);
    ASSERT_NE(dialog_, nullptr);
    SetWindowPos(dialog_, HWND_TOP, 30, 30, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    ASSERT_TRUE(original_.SubclassDlgItem(IDC_TEST_ORIGINAL, dialog_));
    ASSERT_TRUE(result_.SubclassDlgItem(IDC_TEST_RESULT, dialog_));
    original_.SetLinkedView(&result_);
    result_.SetLinkedView(&original_);
    client_ = original_.GetClientRect();
  }
  void TearDown() override { DestroyWindow(dialog_); }

  // The rectangle a bitmap of the size takes when centred.
  RECT Centred(int width, int height) const {
    const int x = (client_.right - width) / 2, y = (client_.bottom - height) / 2;
    return {x, y, x + width, y + height};
  }

  void Drag(PreviewButton& view, POINT from, POINT to) {
    HWND hwnd = view.GetSafeHwnd();
    SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
    SendMessageA(hwnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM((from.x + to.x) / 2, (from.y + to.y) / 2));
    SendMessageA(hwnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
    SendMessageA(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
  }

  HWND dialog_ = nullptr;
  PreviewButton original_, result_;
  RECT client_ = {};
};

TEST_F(PreviewViews, ZoomStepsUpToFullSizeAndDownToAFloor) {
  ASSERT_EQ(original_.LoadIntoView(SaveQuadrants(400, 300)), kImageOk);
  original_.SetZoom(0.5);
  const struct {
    bool in;
    double zoom;
  } steps[] = {{true, 0.75}, {true, 1.0}, {true, 1.0}, {false, 0.6667}, {false, 0.4444}, {false, 0.2963}, {false, 0.2963}};
  for (const auto& step : steps) {
    if (step.in) {
      original_.ZoomIn();
    } else {
      original_.ZoomOut();
    }
    EXPECT_NEAR(original_.GetZoom(), step.zoom, 5e-5) << (step.in ? "in" : "out");
  }
  const Shot shot = Capture(original_.GetSafeHwnd());
  // 118 x 88 keeps the aspect ratio as 117 x 88.
  ExpectRect(shot.ImageExtent(), Centred(117, 88), "at 0.2963");
}

// The zoom after fitting is the scale of what is shown, for wide, tall and
// small images alike; zooming out then makes the image smaller.
TEST_F(PreviewViews, FittingTakesTheScaleItShows) {
  for (auto [width, height] : {std::pair{400, 300}, {300, 600}, {60, 40}}) {
    SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height));
    ASSERT_EQ(original_.LoadIntoView(SaveQuadrants(width, height)), kImageOk);
    ImageDocument fitted;
    fitted.CopyFrom(original_.GetDocument());
    fitted.FitInto(client_.right, client_.bottom);
    EXPECT_DOUBLE_EQ(original_.GetZoom(), static_cast<double>(fitted.GetWidth()) / width);
    EXPECT_NEAR(original_.GetZoom(), static_cast<double>(fitted.GetHeight()) / height, 0.02);
    const RECT shown = Capture(original_.GetSafeHwnd()).ImageExtent();
    ExpectRect(shown, Centred(fitted.GetWidth(), fitted.GetHeight()), "fitted");
    if (width == 60) {
      EXPECT_GT(original_.GetZoom(), 1.0);
    }
    original_.ZoomOut();
    const RECT smaller = Capture(original_.GetSafeHwnd()).ImageExtent();
    EXPECT_LT(smaller.right - smaller.left, shown.right - shown.left);
    EXPECT_LT(smaller.bottom - smaller.top, shown.bottom - shown.top);
  }
}

TEST_F(PreviewViews, DraggingEitherViewMovesBoth) {
  const std::string path = SaveQuadrants(80, 60);
  for (PreviewButton* view : {&original_, &result_}) {
    ASSERT_EQ(view->LoadIntoView(path), kImageOk);
    view->ShowOriginalSize();
  }
  const RECT start = Centred(80, 60);
  Drag(original_, {50, 50}, {62, 43});
  ExpectRect(Capture(original_.GetSafeHwnd()).ImageExtent(), Moved(start, 12, -7), "original after its drag");
  ExpectRect(Capture(result_.GetSafeHwnd()).ImageExtent(), Moved(start, 12, -7), "result after the original's drag");
  Drag(result_, {70, 40}, {65, 49});
  ExpectRect(Capture(original_.GetSafeHwnd()).ImageExtent(), Moved(start, 7, 2), "original after the result's drag");
  ExpectRect(Capture(result_.GetSafeHwnd()).ImageExtent(), Moved(start, 7, 2), "result after its drag");
}

TEST_F(PreviewViews, PaintShowsTheCheckerboardAndTheBitmapAtItsOffset) {
  ASSERT_EQ(original_.LoadIntoView(SaveQuadrants(60, 40)), kImageOk);
  original_.ShowOriginalSize();
  const Shot shot = Capture(original_.GetSafeHwnd());
  const int tile_width = shot.width / 20, tile_height = shot.height / 20;
  ASSERT_GT(tile_width, 0);
  for (auto [column, row] : {std::pair{0, 0}, {1, 0}, {0, 1}, {1, 1}, {19, 0}, {0, 19}, {19, 19}, {5, 14}}) {
    const COLORREF expected = (column + row) % 2 == 0 ? kLightTile : kDarkTile;
    EXPECT_EQ(shot.At(column * tile_width + tile_width / 2, row * tile_height + tile_height / 2), expected)
        << "tile " << column << ", " << row;
  }
  // The 21st and 22nd tiles reach the edge that the rounding left over.
  EXPECT_NE(shot.At(shot.width - 1, shot.height - 1), kBackground);
  const RECT image = shot.ImageExtent();
  ExpectRect(image, Centred(60, 40), "bitmap");
  for (int quadrant = 0; quadrant < 4; ++quadrant)
    EXPECT_EQ(shot.At(image.left + (quadrant % 2 * 2 + 1) * 15, image.top + (quadrant / 2 * 2 + 1) * 10),
              AsColorRef(kQuadrantColors[quadrant]))
        << "quadrant " << quadrant;
}

TEST_F(PreviewViews, AViewNarrowerThanTwentyPixelsShowsThePlainFill) {
  HWND view = original_.GetSafeHwnd();
  MoveWindow(view, 0, 0, 15, 60, TRUE);
  const Shot shot = Capture(view);
  ASSERT_EQ(shot.width, 15);
  for (COLORREF pixel : shot.pixels) ASSERT_EQ(pixel, kBackground);
}

// After Apply a view shows the image at its own size from zoom 1.04 on, and
// at the zoom below it; the offsets stay.
TEST_F(PreviewViews, RefreshAfterApplyShowsTheOwnSizeFromZoom104On) {
  ASSERT_EQ(original_.LoadIntoView(SaveQuadrants(60, 40)), kImageOk);
  const struct {
    double zoom;
    int zoomed_width, zoomed_height, refreshed_width, refreshed_height;
  } cases[] = {{1.2, 72, 48, 60, 40}, {1.04, 61, 41, 60, 40}, {0.5, 30, 20, 30, 20}, {1.03, 61, 40, 61, 40}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.zoom);
    original_.SetZoom(c.zoom);
    const RECT zoomed = Capture(original_.GetSafeHwnd()).ImageExtent();
    ExpectRect(zoomed, Centred(c.zoomed_width, c.zoomed_height), "zoomed");
    original_.RefreshAfterApply();
    const RECT refreshed = Capture(original_.GetSafeHwnd()).ImageExtent();
    ExpectRect(refreshed,
               {zoomed.left, zoomed.top, zoomed.left + c.refreshed_width, zoomed.top + c.refreshed_height},
               "refreshed");
  }
}

TEST_F(PreviewViews, AnEmptyViewIgnoresZoomFitAndDrag) {
  original_.ZoomIn();
  original_.ZoomOut();
  original_.SetZoom(0.3);
  original_.FitToView();
  original_.ShowOriginalSize();
  Drag(original_, {10, 10}, {30, 30});
  original_.RefreshAfterApply();
  EXPECT_EQ(original_.GetZoom(), 1.0);
  EXPECT_FALSE(original_.HasImage());
  const RECT nothing = Capture(original_.GetSafeHwnd()).ImageExtent();
  EXPECT_GE(nothing.left, nothing.right);
  EXPECT_EQ(original_.LoadIntoView("absent.bmp"), kImageCannotOpen);
  EXPECT_FALSE(original_.HasImage());
}

}  // namespace
