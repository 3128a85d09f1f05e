// The palette's Prescan, Scan and Option buttons on a dialog of the test
// program's resources: their texts follow the keys and the zoom, and the Scan
// button's face is composed and set only when its text or image changes.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <set>
#include <string>

#include "color/color_management.h"
#include "foundation/memory.h"
#include "foundation/scripted_system.h"
#include "session/preview_store.h"
#include "state/data_source_state.h"
#include "ui/win32/palette_button_faces_win32.h"

namespace {

class HeldKeys : public PlatformServicesForwarder {
 public:
  std::set<int> down;
  bool AsyncKeyDown(int key) override { return down.count(key) != 0; }
};

int gImagesSet = 0;
WNDPROC gScanButtonProc = nullptr;

LRESULT CALLBACK CountImagesSet(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == BM_SETIMAGE) ++gImagesSet;
  return CallWindowProcA(gScanButtonProc, window, message, wParam, lParam);
}

INT_PTR CALLBACK PaletteProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

class PaletteButtonFaces : public testing::Test {
 protected:
  void SetUp() override {
    SetModuleInstance(GetModuleHandleA(nullptr));
    InstallSystemServices(&keys_);
    ResetDataSourceState();
    gScanFrame.colorMode = 2;
    gScanFrame.bitsPerChannel = 8;
    gIcmEnabled = 0;
    gPreviewZoomed = false;
    palette_ = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(101), nullptr, PaletteProc, 0);
    ASSERT_NE(palette_, nullptr);
    gImagesSet = 0;
    gScanButtonProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
        GetDlgItem(palette_, 1017), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountImagesSet)));
  }
  void TearDown() override {
    DestroyWindow(palette_);
    InstallSystemServices(nullptr);
    gPreviewZoomed = false;
    gIcmEnabled = 0;
    ResetDataSourceState();
  }
  std::string Text(int id) const {
    char text[64] = {};
    GetDlgItemTextA(palette_, id, text, sizeof text);
    return text;
  }

  HeldKeys keys_;
  HWND palette_ = nullptr;
};

TEST_F(PaletteButtonFaces, ThePrescanAndOptionTextsFollowTheKeysAndTheZoom) {
  const struct {
    std::set<int> keys;
    bool zoomed;
    const char* prescan;
    const char* option;
  } cases[] = {
      {{}, false, "\xD6" "ffnen", "Option"},
      {{VK_MENU}, false, "Prescan", "Reset"},
      {{VK_SHIFT}, false, "\xD6" "ffnen", "Reset All"},
      {{VK_SHIFT, VK_CONTROL}, false, "\xD6" "ffnen", "Option"},
      {{}, true, "Prescan", "Option"},
      {{VK_MENU}, true, "\xD6" "ffnen", "Reset"},
      {{VK_SHIFT}, true, "Prescan", "Option"},
  };
  for (const auto& c : cases) {
    keys_.down = c.keys;
    gPreviewZoomed = c.zoomed;
    UpdateScanButtons(palette_, false);
    EXPECT_EQ(Text(1012), c.prescan) << c.keys.size() << c.zoomed;
    EXPECT_EQ(Text(1019), c.option) << c.keys.size() << c.zoomed;
  }
}

TEST_F(PaletteButtonFaces, TheScanFaceIsComposedOnlyWhenItsTextOrImageChanges) {
  UpdateScanButtons(palette_, true);
  EXPECT_EQ(gImagesSet, 1);
  HBITMAP face = reinterpret_cast<HBITMAP>(SendDlgItemMessageA(palette_, 1017, BM_GETIMAGE, IMAGE_BITMAP, 0));
  ASSERT_NE(face, nullptr);
  // As high as image 330 (48 x 16), as wide as it or "Scan Batch" in the Cancel button's font and 2 more.
  BITMAP size = {};
  ASSERT_TRUE(GetObjectA(face, sizeof size, &size));
  HDC dc = GetDC(palette_);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendDlgItemMessageA(palette_, 1018, WM_GETFONT, 0, 0)));
  SIZE text = {};
  GetTextExtentPoint32A(dc, "Scan Batch", 10, &text);
  SelectObject(dc, old);
  ReleaseDC(palette_, dc);
  EXPECT_EQ(size.bmWidth, std::max(48L, text.cx + 2));
  EXPECT_EQ(size.bmHeight, 16);

  // The same frame again, and keys that change only the other buttons: the face stays.
  keys_.down = {VK_MENU};
  UpdateScanButtons(palette_, false);
  EXPECT_EQ(gImagesSet, 1);
  // Line art: "Scan Strich" over the same image.
  gScanFrame.colorMode = 0;
  gScanFrame.bitsPerChannel = 1;
  UpdateScanButtons(palette_, false);
  EXPECT_EQ(gImagesSet, 2);
  // Batch output: "Scan Batch" over image 332.
  gBatchOutput = true;
  UpdateScanButtons(palette_, false);
  EXPECT_EQ(gImagesSet, 3);
  UpdateScanButtons(palette_, false);
  EXPECT_EQ(gImagesSet, 3);
  // A reset forgets the face shown: it is set again.
  UpdateScanButtons(palette_, true);
  EXPECT_EQ(gImagesSet, 4);
  EXPECT_EQ(reinterpret_cast<HBITMAP>(SendDlgItemMessageA(palette_, 1017, BM_GETIMAGE, IMAGE_BITMAP, 0)), face);
}

}  // namespace
