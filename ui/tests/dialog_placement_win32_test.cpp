// Hiding, showing and re-laying out the controls of a real dialog.
#include <gtest/gtest.h>
#include <windows.h>

#include "ui/win32/dialog_placement.h"

namespace {

INT_PTR CALLBACK QuietProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

class PlacementTest : public testing::Test {
 protected:
  void SetUp() override {
    dialog_ = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(100), nullptr, QuietProc, 0);
    ASSERT_NE(dialog_, nullptr);
  }
  void TearDown() override { DestroyWindow(dialog_); }

  HWND Item(int id) { return GetDlgItem(dialog_, id); }
  RECT Rect(int id) {
    RECT rect;
    GetWindowRect(Item(id), &rect);
    MapWindowPoints(HWND_DESKTOP, dialog_, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
  }
  bool Shown(int id) { return (GetWindowLongA(Item(id), GWL_STYLE) & WS_VISIBLE) != 0; }

  HWND dialog_ = nullptr;
};

bool Same(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }

TEST_F(PlacementTest, HiddenTwiceMovesOnceAndComesBack) {
  const RECT original = Rect(202);
  EXPECT_FALSE(HideByOffscreen(Item(202), nullptr, false));
  EXPECT_EQ(Rect(202).left, original.left + kOffscreenX);
  EXPECT_FALSE(Shown(202));
  EXPECT_TRUE(IsOffscreen(Item(202), dialog_));

  EXPECT_TRUE(HideByOffscreen(Item(202), dialog_, false));
  EXPECT_EQ(Rect(202).left, original.left + kOffscreenX);

  EXPECT_FALSE(ShowFromOffscreen(Item(202), nullptr, true));
  EXPECT_TRUE(Same(Rect(202), original));
  EXPECT_TRUE(Shown(202));
  EXPECT_FALSE(IsOffscreen(Item(202), nullptr));
  EXPECT_TRUE(ShowFromOffscreen(Item(202), nullptr, true));
  EXPECT_TRUE(Same(Rect(202), original));
}

TEST_F(PlacementTest, ControlAtTheLeftEdgeComesBackToo) {
  MoveWindow(Item(201), 0, 5, 50, 10, FALSE);
  HideByOffscreen(Item(201), nullptr, false);
  EXPECT_EQ(Rect(201).left, kOffscreenX);
  EXPECT_FALSE(ShowFromOffscreen(Item(201), nullptr, false));
  EXPECT_EQ(Rect(201).left, 0);
}

TEST_F(PlacementTest, GapOfAHiddenItemCloses) {
  const RECT first = Rect(201), second = Rect(202), third = Rect(203), button = Rect(204);
  HideByOffscreen(Item(202), nullptr, false);
  CloseGapAtItem(dialog_, 202);
  EXPECT_EQ(Rect(203).top, second.top);
  EXPECT_EQ(Rect(203).bottom - Rect(203).top, third.bottom - third.top);
  EXPECT_TRUE(Same(Rect(201), first));
  EXPECT_TRUE(Same(Rect(204), button)) << "beside, not below";
}

TEST_F(PlacementTest, DialogFitsItsVisibleControls) {
  FitDialogToChildren(dialog_, false, false, 7);
  RECT client;
  GetClientRect(dialog_, &client);
  EXPECT_EQ(client.right, Rect(204).right + 7);
  EXPECT_EQ(client.bottom, Rect(203).bottom + 7);

  // Without the lowest control, only the height follows.
  HideByOffscreen(Item(203), nullptr, false);
  HideByOffscreen(Item(204), nullptr, false);
  FitDialogToChildren(dialog_, false, true, 3);
  RECT after;
  GetClientRect(dialog_, &after);
  EXPECT_EQ(after.right, client.right);
  EXPECT_EQ(after.bottom, Rect(202).bottom + 3);
}

TEST_F(PlacementTest, LayoutTableRecordedAndApplied) {
  LayoutEntry table[5] = {{201, {}, {}}, {202, {}, {}}, {203, {}, {}}, {204, {}, {}}, {0, {}, {}}};
  UiRect bounds = {};
  CaptureLayout(dialog_, table, 5, &bounds);
  const RECT first = Rect(201), second = Rect(202), third = Rect(203), button = Rect(204);
  EXPECT_EQ(table[1].recorded.top, second.top);
  EXPECT_EQ(bounds.left, first.left);
  EXPECT_EQ(bounds.top, std::min(first.top, button.top));
  EXPECT_EQ(bounds.right, button.right);
  EXPECT_EQ(bounds.bottom, third.bottom);

  ResetLayoutTargets(table, 5);
  HideLayoutTarget(202, table, 5);
  RelayoutAfterHide(202, table, 5);
  ApplyLayout(dialog_, table, 5);
  EXPECT_GE(Rect(202).left, kLayoutHiddenX);
  EXPECT_FALSE(Shown(202));
  EXPECT_EQ(Rect(203).top, second.top);
  EXPECT_TRUE(Same(Rect(201), first));
}

}  // namespace
