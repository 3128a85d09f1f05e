// The dialog base under Wine: data exchange of a radio group and a check box
// in and out, binding a control, and an owner-drawn control's paint reflected
// to its DrawItem.
#include <gtest/gtest.h>
#include <windows.h>

#include "photoapp/tests/test_resources.h"
#include "photoapp/window/dialog.h"

namespace {

class OwnerDrawn : public Window {
 public:
  void DrawItem(DRAWITEMSTRUCT* item) override {
    if (item->CtlID == IDC_TEST_OWNER_DRAWN) ++drawn;
  }
  int drawn = 0;
};

class ExchangeDialog : public Dialog {
 public:
  ExchangeDialog() : Dialog(IDD_TEST_EXCHANGE) {}
  void DoDataExchange(DataExchange& exchange) override {
    ExchangeControl(exchange, IDC_TEST_OWNER_DRAWN, owner_drawn);
    ExchangeRadio(exchange, IDC_TEST_RADIO_FIRST, subject);
    ExchangeCheck(exchange, IDC_TEST_CHECK, improve);
  }
  int subject = 1;
  int improve = 1;
  OwnerDrawn owner_drawn;
};

struct Seen {
  bool checked[3] = {};
  int check = -1;
  int drawn = 0;
};

ExchangeDialog* gDialog = nullptr;
Seen gSeen;

// As the person: look at the filled-in controls, choose the third subject,
// clear the check box, press OK.
void CALLBACK ChangeAndPressOk(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  for (int i = 0; i < 3; ++i)
    gSeen.checked[i] = SendMessageA(gDialog->GetDlgItem(IDC_TEST_RADIO_FIRST + i), BM_GETCHECK, 0, 0) == BST_CHECKED;
  gSeen.check = static_cast<int>(SendMessageA(gDialog->GetDlgItem(IDC_TEST_CHECK), BM_GETCHECK, 0, 0));
  HWND owner_drawn = gDialog->GetDlgItem(IDC_TEST_OWNER_DRAWN);
  RedrawWindow(owner_drawn, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  gSeen.drawn = gDialog->owner_drawn.drawn;
  SendMessageA(gDialog->GetDlgItem(IDC_TEST_RADIO_FIRST + 2), BM_CLICK, 0, 0);
  SendMessageA(gDialog->GetDlgItem(IDC_TEST_CHECK), BM_CLICK, 0, 0);
  PostMessageA(gDialog->GetSafeHwnd(), WM_COMMAND, IDOK, 0);
}

TEST(Dialog, ExchangesRadioGroupAndCheckBoxAndReflectsOwnerDraw) {
  ExchangeDialog dialog;
  gDialog = &dialog;
  SetTimer(nullptr, 0, 200, ChangeAndPressOk);
  EXPECT_EQ(dialog.DoModal(), IDOK);
  gDialog = nullptr;
  EXPECT_FALSE(gSeen.checked[0]);
  EXPECT_TRUE(gSeen.checked[1]);
  EXPECT_FALSE(gSeen.checked[2]);
  EXPECT_EQ(gSeen.check, BST_CHECKED);
  EXPECT_GT(gSeen.drawn, 0);
  EXPECT_EQ(dialog.subject, 2);
  EXPECT_EQ(dialog.improve, 0);
}

TEST(Dialog, ATemplateThatDoesNotExistGivesMinusOne) {
  Dialog missing(4711);
  EXPECT_EQ(missing.DoModal(), -1);
}

}  // namespace
