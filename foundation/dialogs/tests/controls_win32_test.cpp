// Combo boxes, item values, placement and drawing on a real dialog under Wine.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <string>

#include "foundation/dialogs/win32/combo_win32.h"
#include "foundation/dialogs/win32/dialog_items_win32.h"
#include "foundation/dialogs/win32/drawing_win32.h"

namespace {

enum : int { kTestDialog = 900, kCombo = 100, kEdit = 101, kTrackbar = 102, kButton = 103, kStatic = 104 };

INT_PTR CALLBACK PlainDialogProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

class Controls : public ::testing::Test {
 protected:
  Controls() {
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_BAR_CLASSES};
    InitCommonControlsEx(&classes);
    dialog_ = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kTestDialog), nullptr, PlainDialogProc, 0);
  }
  ~Controls() override { DestroyWindow(dialog_); }

  std::string Text(int item) {
    char text[256];
    GetItemText(dialog_, item, text);
    return text;
  }

  HWND dialog_;
};

TEST_F(Controls, ComboIndexesAreOneBasedForSelectionAndZeroBasedForInsertion) {
  ASSERT_NE(dialog_, nullptr);
  ComboFillFromStrings(dialog_, kCombo, 9001, 9004);
  ASSERT_EQ(ComboCount(dialog_, kCombo), 3) << "id 9003 does not load and is skipped";
  EXPECT_EQ(ComboSelection(dialog_, kCombo), 0) << "nothing selected";

  ComboSelect(dialog_, kCombo, 2);
  EXPECT_EQ(ComboSelection(dialog_, kCombo), 2);
  char text[256];
  ComboItemText(dialog_, kCombo, 2, text);
  EXPECT_STREQ(text, "Zentimeter");
  ComboSelect(dialog_, kCombo, 0);
  EXPECT_EQ(ComboSelection(dialog_, kCombo), 2) << "index 0 leaves the selection";

  ComboInsertText(dialog_, kCombo, 0, "Pixel");
  EXPECT_EQ(ComboInsertStringId(dialog_, kCombo, -1, 9010), 1);
  EXPECT_EQ(ComboInsertStringId(dialog_, kCombo, 0, 9999), 0);
  ComboAddText(dialog_, kCombo, "Picas");
  ComboItemText(dialog_, kCombo, 1, text);
  EXPECT_STREQ(text, "Pixel");
  EXPECT_EQ(ComboFindText(dialog_, kCombo, "Name der Kurve:"), 5) << "-1 appends";
  EXPECT_EQ(ComboFindText(dialog_, kCombo, "zoll"), 0) << "the comparison is case-sensitive";

  ComboSetItemData(dialog_, kCombo, 0, -7);
  ComboSetItemData(dialog_, kCombo, 5, 77);
  EXPECT_EQ(ComboItemData(dialog_, kCombo, 0), -7);
  EXPECT_EQ(ComboItemData(dialog_, kCombo, 5), 77) << "item data take 0-based positions";

  EXPECT_TRUE(ComboSelectText(dialog_, kCombo, "Punkte"));
  EXPECT_EQ(ComboSelection(dialog_, kCombo), 4);
  EXPECT_FALSE(ComboSelectText(dialog_, kCombo, "Meilen"));
  EXPECT_EQ(ComboSelection(dialog_, kCombo), 4);

  ComboFitWidth(dialog_, kCombo);
  EXPECT_GT(SendDlgItemMessageA(dialog_, kCombo, CB_GETDROPPEDWIDTH, 0, 0), 20);
  ComboClear(dialog_, kCombo);
  EXPECT_EQ(ComboCount(dialog_, kCombo), 0);
  EXPECT_EQ(ComboSelection(dialog_, kCombo), 0);
}

TEST_F(Controls, IntSettersWriteOnlyOnADifference) {
  SetDlgItemTextA(dialog_, kEdit, "abc");
  EXPECT_FALSE(SetItemIntIfChanged(dialog_, kEdit, 0, true)) << "text that is no number is rewritten";
  EXPECT_EQ(Text(kEdit), "0");
  EXPECT_TRUE(SetItemIntIfChanged(dialog_, kEdit, 0, true));

  SetDlgItemTextA(dialog_, kEdit, "abc");
  EXPECT_EQ(UpdateItemInt(dialog_, kEdit, 5, true, false), 0);
  EXPECT_EQ(Text(kEdit), "abc") << "UpdateItemInt leaves text that is no number alone";
  EXPECT_EQ(UpdateItemInt(dialog_, kEdit, 5, true, true), 1);
  EXPECT_EQ(Text(kEdit), "5");
  EXPECT_EQ(UpdateItemInt(dialog_, kEdit, 5, true, false), 0);
  EXPECT_EQ(UpdateItemInt(dialog_, kEdit, -6, true, false), 1);
  bool translated = false;
  EXPECT_EQ(GetItemInt(dialog_, kEdit, &translated, true), -6);
  EXPECT_TRUE(translated);

  SetItemNumberTextIfChanged(dialog_, kEdit, 12, true);
  EXPECT_EQ(Text(kEdit), "12 ");
  SetDlgItemTextA(dialog_, kEdit, "12");
  SetItemNumberTextIfChanged(dialog_, kEdit, 12, true);
  EXPECT_EQ(Text(kEdit), "12") << "already reads as the number";
}

TEST_F(Controls, RealAndTextSettersWriteOnlyOnAVisibleDifference) {
  SetDlgItemTextA(dialog_, kEdit, "1.00");
  EXPECT_FALSE(SetItemRealIfChanged(dialog_, kEdit, 1.004f, 2));
  EXPECT_EQ(Text(kEdit), "1.00");
  EXPECT_TRUE(SetItemRealIfChanged(dialog_, kEdit, 1.02f, 2));
  EXPECT_EQ(Text(kEdit), "1.02");

  EXPECT_EQ(SetItemTextIfChanged(dialog_, kStatic, "Zoll"), 0);
  EXPECT_EQ(SetItemTextIfChanged(dialog_, kStatic, "Zoll"), 1);
  EXPECT_EQ(SetItemTextIfChanged(dialog_, kStatic, "zoll"), 0) << "the comparison is exact";
  unsigned char named[256];
  EXPECT_EQ(GetItemPString(dialog_, kStatic, named), 4);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(named + 1), 4), "zoll");
  EXPECT_EQ(SetItemPStringIfChanged(dialog_, kStatic, named), 1);
}

TEST_F(Controls, TrackbarFractionRoundsAndClamps) {
  SendDlgItemMessageA(dialog_, kTrackbar, TBM_SETRANGE, TRUE, MAKELPARAM(10, 210));
  SetTrackbarFraction(dialog_, kTrackbar, 0.5);
  EXPECT_EQ(SendDlgItemMessageA(dialog_, kTrackbar, TBM_GETPOS, 0, 0), 110);
  EXPECT_DOUBLE_EQ(TrackbarFraction(dialog_, kTrackbar), 0.5);
  SetTrackbarFraction(dialog_, kTrackbar, 0.0026);
  EXPECT_EQ(SendDlgItemMessageA(dialog_, kTrackbar, TBM_GETPOS, 0, 0), 11) << "200 x 0.0026 + 0.5 truncated";
  SetTrackbarFraction(dialog_, kTrackbar, 1.5);
  EXPECT_EQ(SendDlgItemMessageA(dialog_, kTrackbar, TBM_GETPOS, 0, 0), 210);
  SendDlgItemMessageA(dialog_, kTrackbar, TBM_SETRANGE, TRUE, MAKELPARAM(5, 5));
  EXPECT_EQ(TrackbarFraction(dialog_, kTrackbar), 0.0);
}

TEST_F(Controls, PlacementOfItemsAndDialog) {
  RECT rect;
  EXPECT_FALSE(ItemWindowRect(dialog_, 555, &rect));
  EXPECT_FALSE(ItemClientRect(dialog_, 555, &rect));
  Rect16 rect16;
  EXPECT_EQ(ItemClientRect16(dialog_, 555, &rect16), 0);
  EnableItem(dialog_, 555, false);  // ignored

  RECT dialogRect;
  ASSERT_TRUE(ItemWindowRect(dialog_, 0, &dialogRect));
  RECT target{dialogRect.left + 20, dialogRect.top + 40, dialogRect.left + 90, dialogRect.top + 65};
  MoveItemToRect(dialog_, kButton, target, true);
  ASSERT_TRUE(ItemWindowRect(dialog_, kButton, &rect));
  EXPECT_EQ(rect.left, target.left);
  EXPECT_EQ(rect.top, target.top);
  EXPECT_EQ(rect.right, target.right);
  EXPECT_EQ(rect.bottom, target.bottom);
  EXPECT_TRUE(PointInItem(dialog_, kButton, target.left + 1, target.top + 1));
  EXPECT_FALSE(PointInItem(dialog_, kButton, target.right, target.top));

  ResizeItem(dialog_, kButton, 33, 17, true);
  ASSERT_EQ(ItemClientRect16(dialog_, kButton, &rect16), 1);
  EXPECT_EQ(Rect16Width(rect16), 33);
  EXPECT_EQ(Rect16Height(rect16), 17);
  ASSERT_TRUE(ItemWindowRect(dialog_, kButton, &rect));
  EXPECT_EQ(rect.left, target.left) << "the top-left corner is kept";

  CenterOnScreen(dialog_);
  RECT screen;
  GetScreenRect(&screen);
  ASSERT_TRUE(ItemWindowRect(dialog_, 0, &dialogRect));
  EXPECT_EQ(dialogRect.left, screen.right / 2 - (dialogRect.right - dialogRect.left) / 2);
  EXPECT_EQ(dialogRect.top, screen.bottom / 2 - (dialogRect.bottom - dialogRect.top) / 2);

  EnableItem(dialog_, kButton, false);
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog_, kButton)));
  FocusAndSelect(dialog_, kEdit, 0, -1);
}

TEST_F(Controls, FitPathToItemShortensWithAnEllipsis) {
  char path[MAX_PATH] = "C:\\Dokumente und Einstellungen\\Benutzer\\Eigene Bilder\\Scans\\2026\\bild.tif";
  size_t before = std::strlen(path);
  FitPathToItem(dialog_, kStatic, path);
  EXPECT_LT(std::strlen(path), before);
  EXPECT_NE(std::strstr(path, "..."), nullptr) << path;
  EXPECT_NE(std::strstr(path, "bild.tif"), nullptr) << "the file name stays";
}

COLORREF PixelAt(HWND window, int x, int y) {
  HDC dc = GetDC(window);
  COLORREF colour = GetPixel(dc, x, y);
  ReleaseDC(window, dc);
  return colour;
}

TEST_F(Controls, MaskedBitmapShowsTheBackgroundWhereTheMaskIsWhite) {
  ShowWindow(dialog_, SW_SHOW);
  UpdateWindow(dialog_);
  RECT all{0, 0, 40, 20};
  FillItemRect(dialog_, 0, nullptr, &all, RGB(255, 0, 0));

  HDC screen = GetDC(nullptr);
  HBITMAP blue = CreateCompatibleBitmap(screen, 20, 10);
  ReleaseDC(nullptr, screen);
  HDC memory = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(memory, blue);
  RECT whole{0, 0, 20, 10};
  HBRUSH brush = CreateSolidBrush(RGB(0, 0, 255));
  FillRect(memory, &whole, brush);
  DeleteObject(brush);
  SelectObject(memory, old);
  // Mask: the left half black (bitmap), the right half white (background).
  HBITMAP mask = CreateBitmap(20, 10, 1, 1, nullptr);
  old = SelectObject(memory, mask);
  PatBlt(memory, 0, 0, 10, 10, BLACKNESS);
  PatBlt(memory, 10, 0, 10, 10, WHITENESS);
  SelectObject(memory, old);
  DeleteDC(memory);

  RECT at{5, 5, 25, 15};
  DrawMaskedBitmap(dialog_, blue, 0, &at, 0, mask);
  EXPECT_EQ(PixelAt(dialog_, 7, 8), RGB(0, 0, 255));
  EXPECT_EQ(PixelAt(dialog_, 20, 8), RGB(255, 0, 0));
  BITMAP unused;
  EXPECT_EQ(GetObjectA(mask, sizeof unused, &unused), 0) << "the given mask is deleted";
  EXPECT_NE(GetObjectA(blue, sizeof unused, &unused), 0) << "the given bitmap is kept";

  DrawInvertedRect(dialog_, 0, 30, 2, 38, 18);
  EXPECT_EQ(PixelAt(dialog_, 30, 10), RGB(0, 255, 255));
  DrawInvertedRect(dialog_, 0, 30, 2, 38, 18);
  EXPECT_EQ(PixelAt(dialog_, 30, 10), RGB(255, 0, 0)) << "a second drawing erases the outline";
  DeleteObject(blue);
}

}  // namespace
