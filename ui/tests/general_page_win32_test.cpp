// The general page's scan-mode list on a real dialog under Wine: its items,
// and the modes a choice in it sets, as the list's notification carries it.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "foundation/dialogs/win32/combo_win32.h"
#include "foundation/memory.h"
#include "frames/frame_panel.h"
#include "frames/win32/frame_set_combo_win32.h"
#include "frames/win32/scan_mode_combo_win32.h"
#include "frames/win32/source_combos_win32.h"
#include "records/defaults_block.h"
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
    SetDefault(gDefaults, kDefaultNegativeMode, uint8_t{0});
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
  void Choose(int item, int id = kScanModeCombo) {
    HWND combo = GetDlgItem(page_, id);
    SendMessageA(combo, CB_SETCURSEL, item - 1, 0);
    SendMessageA(page_, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
  }

  int Shown(int id = kScanModeCombo) { return ComboSelection(page_, id); }

  std::vector<std::string> Items(int id) {
    std::vector<std::string> items;
    for (int i = 1; i <= ComboCount(page_, id); ++i) {
      char text[256];
      ComboItemText(page_, id, i, text);
      items.push_back(text);
    }
    return items;
  }

  HWND parent_ = nullptr;
  HWND page_ = nullptr;
};

TEST_F(GeneralPage, ListsTheFourScanModesUnderItsLabel) {
  Open();
  EXPECT_EQ(Items(kScanModeCombo), (std::vector<std::string>{"Normal", "Stapel Modus", "Normal (Datei)", "Stapel Modus (Datei)"}));
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

// An image file is a reflective original: "Durchsicht" cannot be chosen,
// and without film formats their combo leaves the page.
TEST_F(GeneralPage, OffersTheOriginalsOfTheImageFile) {
  Open();
  EXPECT_EQ(Items(kOriginalCombo), (std::vector<std::string>{"Aufsicht", "Durchsicht"}));
  EXPECT_EQ(ComboItemData(page_, kOriginalCombo, 0), 0);
  EXPECT_EQ(ComboItemData(page_, kOriginalCombo, 1), kComboItemUnavailable);
  EXPECT_EQ(Shown(kOriginalCombo), 1);
  Choose(2, kOriginalCombo);
  EXPECT_EQ(Shown(kOriginalCombo), 1) << "the unavailable item gives way";
  RECT film, positive;
  GetWindowRect(GetDlgItem(page_, kFilmFormatCombo), &film);
  GetWindowRect(GetDlgItem(page_, kPositiveNegativeCombo), &positive);
  RECT original;
  GetWindowRect(GetDlgItem(page_, kOriginalCombo), &original);
  EXPECT_GT(film.left - original.left, 1000) << "the film-format combo is off the page";
  EXPECT_LT(positive.top - original.top, 40) << "the gap it leaves is closed";
}

TEST_F(GeneralPage, PositiveOrNegativeFollowsAndSetsTheNegativeFlag) {
  SetDefault(gDefaults, kDefaultNegativeMode, uint8_t{1});
  Open();
  EXPECT_EQ(Items(kPositiveNegativeCombo), (std::vector<std::string>{"Positiv", "Negativ"}));
  EXPECT_EQ(Shown(kPositiveNegativeCombo), 2);
  Choose(1, kPositiveNegativeCombo);
  EXPECT_EQ(GetDefault(gDefaults, kDefaultNegativeMode), 0);
  Choose(2, kPositiveNegativeCombo);
  EXPECT_EQ(GetDefault(gDefaults, kDefaultNegativeMode), 1);
}

// The panel's enabling selects the source combos as the state now stands.
TEST_F(GeneralPage, TheEnablingFollowsTheModesAndTheNegativeFlag) {
  Open();
  gBatchOutput = true;
  SetDefault(gDefaults, kDefaultNegativeMode, uint8_t{1});
  UpdateFramePanelEnabling();
  EXPECT_EQ(Shown(), 2);
  EXPECT_EQ(Shown(kPositiveNegativeCombo), 2);
}

TEST_F(GeneralPage, ListsTheFrameSetCommands) {
  Open();
  EXPECT_EQ(Items(kFrameSetCombo), (std::vector<std::string>{" Import", " L\xf6schen...", " Speichern"}));
}

}  // namespace
