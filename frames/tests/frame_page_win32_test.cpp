// The frame page (1547) as a child of a real dialog under Wine: its combos
// fill with the German items, typed values go into the current frame through
// the edit notifications, and the settings combo stores the frame.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "foundation/dialogs/testing/scoped_prompts.h"
#include "foundation/dialogs/win32/combo_win32.h"
#include "foundation/record_store.h"
#include "frames/frame_panel_services.h"
#include "frames/orientation/preview_orientation.h"
#include "frames/panel_sizes.h"
#include "frames/settings_records.h"
#include "frames/win32/frame_page_win32.h"
#include "frame_store_fixture.h"

namespace {

enum : int { kPanelStandIn = 910 };

INT_PTR CALLBACK PlainDialogProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

struct PendingNote {
  bool pending;
  uint16_t id;
};
std::vector<PendingNote> gNotes;

class FramePage : public FrameStoreTest {
 protected:
  void SetUp() override {
    FrameStoreTest::SetUp();
    // As the main window installs them: resolutions 50 to 300, scaled 1 to 1000 percent.
    FramePanelServices services;
    services.limits = [] { return PanelLimits{50.0, 300.0, 1, 1000}; };
    services.notePendingEdit = [](bool pending, uint16_t id) { gNotes.push_back({pending, id}); };
    // As a scan would settle them: 1024 x 512 scan pixels.
    services.settleScanSize = [](FrameRecord* f) {
      f->scanPixelWidth = 1024;
      f->scanPixelHeight = 512;
    };
    InstallFramePanelServices(services);
    gNotes.clear();
    FrameRecord frame = TestFrame(1);
    frame.colorMode = 2;
    frame.bitsPerChannel = 8;
    frame.qualityFactor = 2.0;
    frame.screenRuling = 150;
    frame.outputResolution = 300;
    AppendFrameNode(NewFrameNode(frame));
    parent_ = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kPanelStandIn), nullptr, PlainDialogProc, 0);
    ASSERT_NE(parent_, nullptr);
    page_ = CreateFramePage(parent_);
    ASSERT_NE(page_, nullptr);
  }
  void TearDown() override {
    DestroyWindow(parent_);
    InstallFramePanelServices(FramePanelServices{});
    FrameStoreTest::TearDown();
  }

  std::vector<std::string> Entries(int combo) {
    std::vector<std::string> entries;
    for (int i = 1; i <= ComboCount(page_, combo); ++i) {
      char text[256];
      ComboItemText(page_, combo, i, text);
      entries.push_back(text);
    }
    return entries;
  }

  std::string FieldText(int id) {
    char text[256] = "";
    GetDlgItemTextA(page_, id, text, sizeof text);
    return text;
  }

  void Choose(int combo, int selection) {
    ComboSelect(page_, combo, selection);
    SendMessageA(page_, WM_COMMAND, MAKEWPARAM(combo, CBN_SELCHANGE), reinterpret_cast<LPARAM>(GetDlgItem(page_, combo)));
  }

  HWND parent_ = nullptr;
  HWND page_ = nullptr;
};

TEST_F(FramePage, TheCombosHoldTheGermanItems) {
  EXPECT_EQ(Entries(kFilterCombo),
            (std::vector<std::string>{"Keine", "Unsch\xe4rfe-Maskierung", "Entrasterung", "USM & Entrasterung"}));
  EXPECT_EQ(Entries(kScanTypeCombo),
            (std::vector<std::string>{"24 Bit Farbe", "8  Bit Graustufen", "1  Bit Strich", "48 Bit Farbe",
                                      "16 Bit Graustufen", "48 Bit ZIR Farbe", "16 Bit ZIR Graustufen"}));
  // Without a 16-bit device the 16-bit items cannot be chosen.
  EXPECT_EQ(ComboItemData(page_, kScanTypeCombo, 3) & 0x10000, 0x10000);
  EXPECT_EQ(ComboSelection(page_, kScanTypeCombo), 1);
  EXPECT_EQ(Entries(kSettingsCombo), (std::vector<std::string>{"L\xf6schen...", "Speichern"}));
  EXPECT_EQ(ComboSelection(page_, kSettingsCombo), 2);
  EXPECT_EQ(FieldText(kQualityFactorField), "2.0");
  EXPECT_EQ(FieldText(kOutputResolutionField), "300");
  EXPECT_EQ(FieldText(kScreenRulingField), "150");
}

TEST_F(FramePage, ATypedQualityFactorIsBoundedAndStaysPending) {
  SetDlgItemTextA(page_, kQualityFactorField, "3");
  EXPECT_DOUBLE_EQ(gCurrentFrame->qualityFactor, 2.5);
  EXPECT_EQ(gCurrentFrame->outputResolution, 375);
  ASSERT_EQ(gNotes.size(), 1u);
  EXPECT_TRUE(gNotes[0].pending);
  EXPECT_EQ(gNotes[0].id, kQualityFactorField);
  EXPECT_EQ(FieldText(kQualityFactorField), "3");

  // A value the frame takes as typed rewrites the dependent fields at once.
  SetDlgItemTextA(page_, kScreenRulingField, "100");
  ASSERT_EQ(gNotes.size(), 2u);
  EXPECT_FALSE(gNotes[1].pending);
  EXPECT_EQ(FieldText(kOutputResolutionField), "250");
  EXPECT_EQ(FieldText(kQualityFactorField), "2.5");
}

TEST_F(FramePage, WithSwappedAxesTheWidthFieldEditsTheHeight) {
  SetPreviewOrientation(0, 0, 1);
  SetDlgItemTextA(page_, kOriginalWidthField, "1.5");
  EXPECT_DOUBLE_EQ(gCurrentFrame->height, 1.5);
  EXPECT_DOUBLE_EQ(gCurrentFrame->width, TestFrame(1).width);
  SetPreviewOrientation(0, 0, 0);
  SetDlgItemTextA(page_, kOriginalWidthField, "2.5");
  EXPECT_DOUBLE_EQ(gCurrentFrame->width, 2.5);
}

TEST_F(FramePage, AScaleSetsItsAxisAndTheOutputSizeFollows) {
  SetDlgItemTextA(page_, kScaleXField, "200");
  EXPECT_FLOAT_EQ(gCurrentFrame->outputScaleX, 200.0f);
  EXPECT_FLOAT_EQ(gCurrentFrame->outputScaleY, 100.0f);
  EXPECT_EQ(FieldText(kOutputWidthField), "2.0");  // 1.01 inches at 200 %
  SetDlgItemTextA(page_, kOutputHeightField, "3");  // 2 inches to 3: 150 %
  EXPECT_FLOAT_EQ(gCurrentFrame->outputScaleY, 150.0f);
  EXPECT_EQ(FieldText(kScaleYField), "150.0");
}

TEST_F(FramePage, AnEmptiedNameShowsTheUntitledText) {
  SetDlgItemTextA(page_, kFrameNameField, "Links");
  EXPECT_STREQ(gCurrentFrame->name, "Links");
  SetDlgItemTextA(page_, kFrameNameField, "");
  EXPECT_EQ(gCurrentFrame->hasName, 0);
  EXPECT_EQ(FieldText(kFrameNameField), "Rahmen ohne Titel");
}

// The data size of the scan the frame would make (8-bit colour: 3 bytes a
// pixel); the frame keeps its own sizes.
TEST_F(FramePage, TheDataSizeIsThatOfTheSettledScan) {
  EXPECT_EQ(FieldText(kDataSizeField), "1.50");
  EXPECT_EQ(gCurrentFrame->scanPixelWidth, TestFrame(1).scanPixelWidth);
}

// The twelve built-in subjects of the tone tools; a choice is the frame's image type.
TEST_F(FramePage, TheImageTypeComboShowsAndSetsTheSubject) {
  EXPECT_EQ(ComboCount(page_, kImageTypeCombo), 12);
  EXPECT_EQ(ComboSelection(page_, kImageTypeCombo), 1);
  Choose(kImageTypeCombo, 4);
  EXPECT_EQ(gCurrentFrame->imageType, 3);
}

TEST_F(FramePage, AScanTypeChoiceChangesTheFrame) {
  Choose(kScanTypeCombo, 3);
  EXPECT_EQ(gCurrentFrame->bitsPerChannel, 1);
  EXPECT_EQ(gCurrentFrame->colorMode, 0u);
  EXPECT_DOUBLE_EQ(gCurrentFrame->qualityFactor, 1.0);
  EXPECT_EQ(FieldText(kOutputResolutionField), "150");
  Choose(kFilterCombo, 3);
  EXPECT_EQ(gCurrentFrame->filterMode, 2);
}

TEST_F(FramePage, TheSettingsComboStoresTheFrameAndFindsItAgain) {
  ScopedPrompts prompts;
  prompts.Accept(PromptKind::kName, "Dias");
  Choose(kSettingsCombo, 2);
  EXPECT_EQ(prompts.Asked(0).initial, "Setting_1");
  int32_t id = 0;
  ASSERT_TRUE(RecordStoreFind(gAppStore, kSettingsRecordType, "Dias", &id));
  uint32_t size = 0;
  ASSERT_TRUE(RecordStoreSize(gAppStore, kSettingsRecordType, id, &size));
  EXPECT_EQ(size, 2080u);
  EXPECT_EQ(Entries(kSettingsCombo), (std::vector<std::string>{"Dias", "L\xf6schen...", "Speichern"}));
  EXPECT_EQ(ComboSelection(page_, kSettingsCombo), 1);

  // Another filter no longer matches; loading the record takes it back.
  gCurrentFrame->filterMode = 3;
  FillSettingsComboOfPanel(page_);
  EXPECT_EQ(ComboSelection(page_, kSettingsCombo), 3);
  Choose(kSettingsCombo, 1);
  EXPECT_EQ(gCurrentFrame->filterMode, 0);
  EXPECT_EQ(ComboSelection(page_, kSettingsCombo), 1);
}

}  // namespace
