// Dialog 306 of the test program's resources: the feeder count typed, limited
// and put back after two seconds with a beep, and the dialog's place in slot 11.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "foundation/memory.h"
#include "foundation/scripted_system.h"
#include "ui/feeder_count.h"
#include "ui/pending_field_edit.h"
#include "ui/win32/feeder_count_dialog_win32.h"
#include "ui/window_state_records.h"

namespace {

// The real system with a clock and a beep the test controls.
class ClockAndBeep : public PlatformServicesForwarder {
 public:
  uint32_t ticks = 50000;
  std::vector<uint32_t> beeps;
  uint32_t TickCount() override { return ticks; }
  void SoundBeep(uint32_t type) override { beeps.push_back(type); }
};

class FeederCountDialogTest : public testing::Test {
 protected:
  void SetUp() override {
    SetModuleInstance(GetModuleHandleA(nullptr));
    InstallSystemServices(&system_);
    gFeederMaxCount = 120;
    gDialogPositions[11] = DialogPosition{200, 150};
    dialog_ = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(306), nullptr, FeederCountDialogProc, 0);
    ASSERT_NE(dialog_, nullptr);
  }
  void TearDown() override {
    DestroyWindow(dialog_);
    InstallSystemServices(nullptr);
    NotePendingFieldEdit(false, kNoPendingEdit);
  }
  std::string Text(int id) {
    char text[64] = {};
    GetDlgItemTextA(dialog_, id, text, sizeof text);
    return text;
  }

  ClockAndBeep system_;
  HWND dialog_ = nullptr;
};

TEST_F(FeederCountDialogTest, OpensWithItsCaptionTheCountAndItsPlace) {
  char caption[64] = {};
  GetWindowTextA(dialog_, caption, sizeof caption);
  EXPECT_STREQ(caption, "ADF Einstellung");
  EXPECT_EQ(Text(1206), "120");
  RECT r;
  GetWindowRect(dialog_, &r);
  EXPECT_EQ(r.left, 200);
  EXPECT_EQ(r.top, 150);
  MoveWindow(dialog_, 260, 180, r.right - r.left, r.bottom - r.top, FALSE);
  EXPECT_EQ(gDialogPositions[11].x, 260);
  EXPECT_EQ(gDialogPositions[11].y, 180);
}

TEST_F(FeederCountDialogTest, ACountAbove9999IsPutBackAfterTwoSecondsWithABeep) {
  SetDlgItemTextA(dialog_, 1206, "250");
  EXPECT_EQ(gFeederMaxCount, 250);
  EXPECT_EQ(gPendingEditId, kNoPendingEdit);
  SetDlgItemTextA(dialog_, 1206, "12345");
  EXPECT_EQ(gFeederMaxCount, 9999);
  EXPECT_EQ(gPendingEditId, 1206);
  system_.ticks += 1000;
  SendMessageA(dialog_, WM_TIMER, 5006, 0);
  EXPECT_EQ(Text(1206), "12345") << "not yet due";
  EXPECT_TRUE(system_.beeps.empty());
  system_.ticks += 1000;
  SendMessageA(dialog_, WM_TIMER, 5006, 0);
  EXPECT_EQ(Text(1206), "9999");
  EXPECT_EQ(system_.beeps.size(), 1u);
  EXPECT_EQ(gPendingEditId, kNoPendingEdit);
}

}  // namespace
