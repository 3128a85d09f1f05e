// What the device layer does with windows: the command posted to the main
// dialog and the drawing of an overview cell.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "session/cell_thumbnail.h"
#include "session/device_layer.h"
#include "session/device_state.h"
#include "session/overview_cells.h"
#include "session/overview_window.h"
#include "session/tests/session_test_environment.h"
#include "session/thumbnail_cache.h"
#include "state/data_source_state.h"

namespace fs = std::filesystem;

namespace {

using DeviceWindowTest = SessionTest;

bool TakeCommand(HWND window, WPARAM* command) {
  MSG message;
  if (!PeekMessageA(&message, window, WM_COMMAND, WM_COMMAND, PM_REMOVE)) return false;
  *command = message.wParam;
  return true;
}

TEST_F(DeviceWindowTest, CommandIsPostedWhenPendingOrForced) {
  HWND window = CreateWindowA("STATIC", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  gMainDialog = window;
  WPARAM command = 0;

  gDeviceLayer.changePending = false;
  EXPECT_FALSE(PostDeviceCommand(10100, false));
  EXPECT_FALSE(TakeCommand(window, &command));
  EXPECT_TRUE(PostDeviceCommand(10100, true));
  ASSERT_TRUE(TakeCommand(window, &command));
  EXPECT_EQ(command, 10100u);
  gDeviceLayer.changePending = true;
  EXPECT_TRUE(PostDeviceCommand(10100, false));
  EXPECT_TRUE(TakeCommand(window, &command));
  gDeviceLayer.postingEnabled = false;
  EXPECT_FALSE(PostDeviceCommand(10100, true));

  gMainDialog = nullptr;
  DestroyWindow(window);
}

TEST_F(DeviceWindowTest, CellShowsItsThumbnailInTheImageArea) {
  std::string folder = Scratch("draw");
  fs::create_directories(folder);
  fs::copy_file(Fixture("rgb48.tif"), folder + "\\rgb48.tif");
  std::snprintf(gOverview.folder, sizeof gOverview.folder, "%s\\", folder.c_str());
  FillOverviewCells(gOverview.folder, CountFolderImages(gOverview.folder));
  CreateThumbnailMutex();

  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = kOverviewCellSize;
  info.bmiHeader.biHeight = -kOverviewCellSize;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  ASSERT_NE(bitmap, nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);

  EXPECT_FALSE(DrawThumbnailCell(2, dc, 0, 0, nullptr));
  ASSERT_TRUE(DrawThumbnailCell(1, dc, 0, 0, nullptr));
  GdiFlush();
  auto pixel = [bits](int x, int y) { return static_cast<uint32_t*>(bits)[y * kOverviewCellSize + x] & 0xFFFFFF; };
  COLORREF face = GetSysColor(COLOR_BTNFACE);
  uint32_t faceDib = GetBValue(face) | GetGValue(face) << 8 | GetRValue(face) << 16;
  // 64 x 40 fits the area as 96 x 60: rows 33 to 92 hold the image, the rows above it the frame's face.
  EXPECT_EQ(pixel(65, 25), faceDib);
  int differing = 0;
  for (int x = 17; x < 113; ++x) differing += pixel(x, 63) != faceDib;
  EXPECT_GT(differing, 48) << "the thumbnail is drawn across the area";

  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  CloseThumbnailMutex();
  gOverview = OverviewState{};
}

}  // namespace
