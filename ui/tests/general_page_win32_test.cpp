// The general page's scan-mode list on a real dialog under Wine: its items,
// and the modes a choice in it sets, as the list's notification carries it.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "foundation/dialogs/win32/combo_win32.h"
#include "foundation/memory.h"
#include "frames/win32/scan_mode_combo_win32.h"
#include "state/data_source_state.h"
#include "ui/main_commands.h"
#include "ui/win32/general_page_win32.h"

namespace {

bool gLimited = false;

class GeneralPage : public ::testing::Test {
 protected:
  void SetUp() override {
    SetModuleInstance(GetModuleHandleA(nullptr));
    MainWindowServices services;
    services.transferCountLimited = [] { return gLimited; };
    InstallMainWindowServices(services);
    gBatchOutput = false;
    gFileOutputMode = false;
    gUiBusyState = kUiIdle;
  }
  void TearDown() override {
    if (parent_) DestroyWindow(parent_);
    InstallMainWindowServices(MainWindowServices());
    gLimited = false;
    gBatchOutput = false;
    gFileOutputMode = false;
    gUiBusyState = kUiIdle;
  }

  void Open() {
    parent_ = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr, nullptr, nullptr);
    page_ = CreateGeneralPage(parent_);
    ASSERT_NE(page_, nullptr);
    ASSERT_EQ(gPaletteGeneralPage, page_);
  }

  // As a user's pick: the list's selection, then its notification to the page.
  void Choose(int item) {
    HWND combo = GetDlgItem(page_, kScanModeCombo);
    SendMessageA(combo, CB_SETCURSEL, item - 1, 0);
    SendMessageA(page_, WM_COMMAND, MAKEWPARAM(kScanModeCombo, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
  }

  int Shown() { return ComboSelection(page_, kScanModeCombo); }

  HWND parent_ = nullptr;
  HWND page_ = nullptr;
};

TEST_F(GeneralPage, ListsTheFourScanModesUnderItsLabel) {
  Open();
  std::vector<std::string> items;
  for (int i = 1; i <= ComboCount(page_, kScanModeCombo); ++i) {
    char text[256];
    ComboItemText(page_, kScanModeCombo, i, text);
    items.push_back(text);
  }
  EXPECT_EQ(items, (std::vector<std::string>{"Normal", "Stapel Modus", "Normal (Datei)", "Stapel Modus (Datei)"}));
  char label[64] = {};
  GetDlgItemTextA(page_, 1577, label, sizeof label);
  EXPECT_STREQ(label, "Arbeitsmodus:");
  EXPECT_EQ(Shown(), 1);
  EXPECT_EQ(ComboItemData(page_, kScanModeCombo, 1), 0);
}

TEST_F(GeneralPage, EachItemSetsItsBatchAndFileModes) {
  Open();
  struct Case {
    int item;
    bool batch, toFile;
  };
  for (const Case& c : {Case{3, false, true}, Case{4, true, true}, Case{2, true, false}, Case{1, false, false}}) {
    Choose(c.item);
    EXPECT_EQ(gBatchOutput, c.batch) << "item " << c.item;
    EXPECT_EQ(gFileOutputMode, c.toFile) << "item " << c.item;
    EXPECT_EQ(Shown(), c.item);
  }
}

TEST_F(GeneralPage, ShowsTheModesItOpensWith) {
  gBatchOutput = true;
  gFileOutputMode = true;
  Open();
  EXPECT_EQ(Shown(), 4);
}

TEST_F(GeneralPage, TheBatchModeIsUnavailableWhileTheHostLimitsTheImages) {
  gLimited = true;
  Open();
  EXPECT_EQ(ComboItemData(page_, kScanModeCombo, 1), kComboItemUnavailable);
  Choose(3);
  Choose(2);
  EXPECT_EQ(Shown(), 3) << "the item chosen before comes back";
  EXPECT_FALSE(gBatchOutput);
  EXPECT_TRUE(gFileOutputMode);
}

TEST_F(GeneralPage, NothingChangesWhileAPrescanRuns) {
  Open();
  gUiBusyState = kUiPrescanRunning;
  Choose(4);
  EXPECT_FALSE(gBatchOutput);
  EXPECT_FALSE(gFileOutputMode);
}

}  // namespace
