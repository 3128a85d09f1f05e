// The frame-set combo on a real dialog under Wine: its entries and what a
// choice in it does.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "foundation/dialogs/testing/scoped_prompts.h"
#include "foundation/dialogs/win32/combo_win32.h"
#include "foundation/record_store.h"
#include "frames/frame_sets.h"
#include "frames/win32/frame_set_combo_win32.h"
#include "frame_store_fixture.h"

namespace {

enum : int { kPanelStandIn = 910 };

INT_PTR CALLBACK PlainDialogProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

class FrameSetCombo : public FrameStoreTest {
 protected:
  void SetUp() override {
    FrameStoreTest::SetUp();
    dialog_ = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kPanelStandIn), nullptr, PlainDialogProc, 0);
    ASSERT_NE(dialog_, nullptr);
  }
  void TearDown() override {
    DestroyWindow(dialog_);
    FrameStoreTest::TearDown();
  }

  std::vector<std::string> Entries() {
    std::vector<std::string> entries;
    for (int i = 1; i <= ComboCount(dialog_, kFrameSetCombo); ++i) {
      char text[256];
      ComboItemText(dialog_, kFrameSetCombo, i, text);
      entries.push_back(text);
    }
    return entries;
  }

  void StoreSet(int32_t id, const char* name, int tag) {
    AppendFrames({tag});
    const std::vector<uint8_t> record = BuildFrameSetRecord();
    DeleteAllFrames();
    ASSERT_TRUE(RecordStoreAdd(gAppStore, TagFromString("FRsA"), id, record.data(),
                               static_cast<uint32_t>(record.size()), name));
  }

  void Choose(int selection) {
    ComboSelect(dialog_, kFrameSetCombo, selection);
    OnFrameSetComboChange(dialog_, kFrameSetCombo);
  }

  HWND dialog_ = nullptr;
};

TEST_F(FrameSetCombo, ListsTheSetsThenTheCommands) {
  StoreSet(130, "Dias", 1);
  StoreSet(131, "Negative", 2);
  FillFrameSetCombo(dialog_, kFrameSetCombo);
  EXPECT_EQ(Entries(), (std::vector<std::string>{"Dias", "Negative", " Import", " L\xF6schen...", " Speichern"}));
  EXPECT_EQ(ComboSelection(dialog_, kFrameSetCombo), 0);
}

TEST_F(FrameSetCombo, ChoosingASetLoadsIt) {
  StoreSet(130, "Dias", 1);
  StoreSet(131, "Negative", 2);
  AppendFrames({7, 8});
  FillFrameSetCombo(dialog_, kFrameSetCombo);
  Choose(2);
  EXPECT_EQ(ListTags(), (std::vector<int>{2}));
}

TEST_F(FrameSetCombo, SavingAddsTheNewSetToTheCombo) {
  AppendFrames({3});
  FillFrameSetCombo(dialog_, kFrameSetCombo);
  ScopedPrompts prompts;
  prompts.Accept(PromptKind::kName, "Neu");
  Choose(3);
  EXPECT_EQ(Entries(), (std::vector<std::string>{"Neu", " Import", " L\xF6schen...", " Speichern"}));
}

TEST_F(FrameSetCombo, TheImportAsksForAFile) {
  FillFrameSetCombo(dialog_, kFrameSetCombo);
  ScopedPrompts prompts;
  prompts.Cancel(PromptKind::kOpenFile);
  Choose(1);
  EXPECT_EQ(prompts.Asked(0).kind, PromptKind::kOpenFile);
  EXPECT_EQ(ComboCount(dialog_, kFrameSetCombo), 3);
}

}  // namespace
