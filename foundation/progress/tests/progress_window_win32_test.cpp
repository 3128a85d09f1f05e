// The progress and status windows for real under Wine: over an owner window,
// nested, advanced and cancelled the way a person does it.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "foundation/progress/progress_stack.h"
#include "foundation/progress/progress_window.h"
#include "foundation/progress/session_values.h"
#include "foundation/system.h"
#include "foundation/scripted_system.h"

namespace {

// The real system, except for the keys a person holds down.
class ScriptedKeys : public PlatformServicesForwarder {
 public:
  std::set<int> keysDown;
  bool AsyncKeyDown(int key) override { return keysDown.count(key) != 0; }
  bool MouseButtonsSwapped() override { return false; }
};

// The colour queries of newer progress bars (the headers offer them only for newer systems).
constexpr UINT kGetBackgroundColor = WM_USER + 14;
constexpr UINT kGetBarColor = WM_USER + 15;

HWND Progress() { return static_cast<HWND>(GetProgressWindow()); }

std::string ItemText(HWND dialog, int item) {
  char text[256] = "";
  GetDlgItemTextA(dialog, item, text, sizeof text);
  return text;
}

int BarPosition() { return static_cast<int>(SendDlgItemMessageA(Progress(), kProgressBarItem, PBM_GETPOS, 0, 0)); }

class ProgressWindow : public testing::Test {
 protected:
  void SetUp() override {
    InstallSystemServices(&keys_);
    owner_ = CreateWindowExA(0, "STATIC", "Besitzer", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 600, 400, nullptr,
                             nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(owner_, nullptr);
  }
  void TearDown() override {
    while (GetProgressWindow()) ProgressClose();
    while (gStatusOpen-- > 0) StatusClose();
    DestroyWindow(owner_);
    InstallSystemServices(nullptr);
  }
  // The key code of the full stop on this keyboard.
  int FullStopKey() { return keys_.VirtualKeyForChar('.'); }

  ScriptedKeys keys_;
  HWND owner_ = nullptr;
  int gStatusOpen = 0;
};

TEST_F(ProgressWindow, NestedLevelsShowTheirTextsAndReturnToTheOuterOnes) {
  ProgressOpen(true, kGrayString, kRgbString, owner_);
  ASSERT_NE(Progress(), nullptr);
  EXPECT_TRUE(IsWindowVisible(Progress()));
  EXPECT_EQ(GetWindow(Progress(), GW_OWNER), owner_);
  EXPECT_EQ(ItemText(Progress(), kProgressTextItem), "RGB: Grau");
  EXPECT_EQ(ItemText(Progress(), kProgressCancelItem), "Abbruch");
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(Progress(), kProgressCancelItem)));

  EXPECT_FALSE(ProgressUpdate(1, 4, 1, 3));
  EXPECT_EQ(BarPosition(), 25);
  EXPECT_EQ(ItemText(Progress(), kProgressCounterItem), "#1/#3");

  ProgressOpen(false, kTestTitle, 0, owner_);
  EXPECT_EQ(ItemText(Progress(), kProgressTextItem), "Test...");
  EXPECT_EQ(BarPosition(), 0);
  EXPECT_EQ(ItemText(Progress(), kProgressCounterItem), "");
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(Progress(), kProgressCancelItem)));

  ProgressOpen(false, kLabString, 0, owner_);
  ProgressSetText("Datei 3 von 7");
  ProgressSetSubtitle(kCmykString);
  EXPECT_EQ(ItemText(Progress(), kProgressTextItem), "CMYK: Datei 3 von 7");
  ProgressUpdate(0, 0, 7, 0);
  EXPECT_EQ(BarPosition(), 0);
  EXPECT_EQ(ItemText(Progress(), kProgressCounterItem), "#7");
  ProgressSetBar(0.996f, 0, 0);
  EXPECT_EQ(BarPosition(), 100);

  HWND window = Progress();
  ProgressClose();
  EXPECT_EQ(ItemText(Progress(), kProgressTextItem), "Test...");
  ProgressClose();
  EXPECT_EQ(ItemText(Progress(), kProgressTextItem), "RGB: Grau");
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(Progress(), kProgressCancelItem)));
  ProgressClose();
  EXPECT_EQ(GetProgressWindow(), nullptr);
  EXPECT_FALSE(IsWindow(window));
  ProgressClose();  // nothing left: ignored
}

TEST_F(ProgressWindow, NewerCommonControlsDrawASmoothBar) {
  ProgressOpen(true, kGrayString, 0, owner_);
  HWND bar = GetDlgItem(Progress(), kProgressBarItem);
  ASSERT_NE(bar, nullptr);
  bool smooth = CommonControlsDrawSmoothBar(GetDllVersion("comctl32.dll"));
  EXPECT_EQ((GetWindowLongA(bar, GWL_STYLE) & PBS_SMOOTH) != 0, smooth);
  char className[64];
  GetClassNameA(bar, className, sizeof className);
  EXPECT_STREQ(className, PROGRESS_CLASSA);
  EXPECT_EQ(SendMessageA(bar, PBM_GETRANGE, FALSE, 0), 100);
  if (smooth) {
    EXPECT_EQ(static_cast<uint32_t>(SendMessageA(bar, kGetBarColor, 0, 0)), kProgressBarColor);
    EXPECT_EQ(static_cast<uint32_t>(SendMessageA(bar, kGetBackgroundColor, 0, 0)), kProgressBackgroundColor);
  }
}

TEST_F(ProgressWindow, TheCancelButtonSetsTheFlagThroughTheUpdates) {
  ProgressOpen(true, kGrayString, 0, owner_);
  HWND button = GetDlgItem(Progress(), kProgressCancelItem);
  RECT r;
  GetClientRect(button, &r);
  LPARAM middle = MAKELPARAM(r.right / 2, r.bottom / 2);
  PostMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, middle);
  PostMessageA(button, WM_LBUTTONUP, 0, middle);
  bool cancelled = false;
  for (int i = 0; i < 4 && !cancelled; ++i) cancelled = ProgressUpdate(i, 10, 0, 0);
  EXPECT_TRUE(cancelled);
  EXPECT_TRUE(IsProgressCancelled());
  SetProgressCancelled(false);
  EXPECT_FALSE(ProgressUpdate(5, 10, 0, 0));
}

TEST_F(ProgressWindow, ControlWithFullStopCancelsOnlyACancellableLevel) {
  ProgressOpen(false, kGrayString, 0, owner_);
  keys_.keysDown = {VK_CONTROL, FullStopKey()};
  EXPECT_FALSE(ProgressUpdate(1, 2, 0, 0));
  ProgressClose();

  ProgressOpen(true, kGrayString, 0, owner_);
  EXPECT_TRUE(ProgressUpdate(1, 2, 0, 0));
  keys_.keysDown.clear();
  EXPECT_TRUE(ProgressUpdate(2, 2, 0, 0));  // stays set until cleared
  ProgressClose();

  keys_.keysDown = {VK_CONTROL, VK_DECIMAL};
  ProgressOpen(true, kGrayString, 0, owner_);
  EXPECT_FALSE(IsProgressCancelled());  // a new window starts uncancelled
  EXPECT_TRUE(ProgressUpdate(1, 2, 0, 0));
}

TEST_F(ProgressWindow, StatusWindowNestsItsTexts) {
  StatusOpen(kGrayString, owner_);
  StatusOpen(kRgbString, owner_);
  gStatusOpen = 2;
  HWND status = FindWindowExA(nullptr, nullptr, MAKEINTATOM(32770), nullptr);
  while (status && GetWindow(status, GW_OWNER) != owner_) status = FindWindowExA(nullptr, status, MAKEINTATOM(32770), nullptr);
  ASSERT_NE(status, nullptr);
  EXPECT_EQ(ItemText(status, kProgressTextItem), "RGB");
  StatusClose();
  --gStatusOpen;
  EXPECT_EQ(ItemText(status, kProgressTextItem), "Grau");
  StatusClose();
  --gStatusOpen;
  EXPECT_FALSE(IsWindow(status));
}

TEST(PaleFaceColor, PlainIsTheSystemsButtonFace) {
  uint32_t plain = 0, pale = 0;
  GetPaleFaceColor(&plain, true);
  GetPaleFaceColor(&pale, false);
  EXPECT_EQ(plain, GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(pale, PaleColor(plain));
}

}  // namespace
