// The preset controls on real windows: the correction combo (a sorting
// drop-down list, control 1030) filled, matched and driven by selections,
// and the colour and sector popup menus through the prompt seam.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "color/matrix12_presets.h"
#include "color/selective_presets.h"
#include "color/win32/preset_controls_win32.h"
#include "foundation/dialogs/testing/scoped_prompts.h"
#include "foundation/file_io.h"
#include "foundation/record_store.h"
#include "foundation/scripted_system.h"
#include "records/frame_record.h"
#include "state/data_source_state.h"

namespace {

const RecordType kWhole6 = TagFromString("P0CM");

struct Cleanup {
  WindowHandle owner;
  RecordType type;
  int32_t minimumId;
};
std::vector<Cleanup> gCleanups;

class PresetControls : public testing::Test {
 protected:
  void SetUp() override {
    ResetDataSourceState();
    CreateFolder(kFolder);
    const std::string name = std::string(testing::UnitTest::GetInstance()->current_test_info()->name()) + ".prf";
    DeleteFileAt((std::string(kFolder) + name).c_str());
    gAppStore = OpenOrCreateFile(name.c_str(), kFolder);
    ASSERT_NE(gAppStore, nullptr);
    std::memset(&frame_, 0, sizeof frame_);
    gCurrentFrame = &frame_;
    system_->strings = {{411, "Importieren..."}, {412, "Speichern..."}, {414, "L\xf6schen..."},
                        {500, "Warnung"},        {501, "Ersetzen ?"},   {705, "Korrektur_"},
                        {720, "Name der Farbkorrektur:"}, {417, "Gr\xfcn_"}, {409, "Voreinstellungsdatei"}};
    parent_ = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 200, 200, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(parent_, nullptr);
    combo_ = CreateWindowA("COMBOBOX", "", WS_CHILD | CBS_DROPDOWNLIST | CBS_SORT, 0, 0, 60, 100, parent_,
                           reinterpret_cast<HMENU>(kCorrectionCombo), nullptr, nullptr);
    ASSERT_NE(combo_, nullptr);
    gCleanups.clear();
    InstallRecordCleanupDialog([](WindowHandle owner, FileHandle, RecordType type, int32_t minimumId) {
      gCleanups.push_back({owner, type, minimumId});
    });
  }
  void TearDown() override {
    InstallRecordCleanupDialog(nullptr);
    DestroyWindow(parent_);
    gCurrentFrame = nullptr;
    CloseFile(gAppStore);
    ResetDataSourceState();
  }

  std::vector<std::string> Items() const {
    std::vector<std::string> items;
    const LRESULT count = SendMessageA(combo_, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
      char text[256] = "";
      SendMessageA(combo_, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
      items.push_back(text);
    }
    return items;
  }
  int Selected() const { return static_cast<int>(SendMessageA(combo_, CB_GETCURSEL, 0, 0)); }
  void Choose(int position) { SendMessageA(combo_, CB_SETCURSEL, position, 0); }
  void Store(const char* name, int16_t first, int32_t id) {
    SelectivePresetPayload payload = {kPresetVersion, {first}};
    ASSERT_TRUE(RecordStoreAdd(gAppStore, kWhole6, id, &payload, sizeof payload, name));
  }

  static constexpr const char* kFolder = "preset_controls\\";
  FrameRecord frame_;
  HWND parent_ = nullptr;
  HWND combo_ = nullptr;
  ScopedScriptedSystem system_;
};

TEST_F(PresetControls, TheComboListsCorrectionsSortedThenItsThreeCommands) {
  Store("Zeta", 7, 130);
  Store("Alpha", 9, 131);
  FillCorrectionCombo(parent_);
  EXPECT_EQ(Items(), (std::vector<std::string>{"Alpha", "Zeta", "Importieren...", "L\xf6schen...", "Speichern..."}));
  EXPECT_EQ(Selected(), CB_ERR);
  SelectMatchingCorrection(parent_);
  EXPECT_EQ(Selected(), 4) << "no correction equals the matrix: \"Speichern...\"";
  frame_.selectiveColorMatrix[0] = 7;
  SelectMatchingCorrection(parent_);
  EXPECT_EQ(Selected(), 1);

  Choose(0);
  EXPECT_TRUE(OnCorrectionComboChange(parent_));
  EXPECT_EQ(frame_.selectiveColorMatrix[0], 9);
}

TEST_F(PresetControls, SaveImportAndDeleteRefillTheCombo) {
  Store("Alpha", 9, 131);
  frame_.selectiveColorMatrix[0] = 4;
  FillCorrectionCombo(parent_);
  {
    ScopedPrompts prompts;
    prompts.Accept(PromptKind::kName, "Neu");
    Choose(3);
    EXPECT_FALSE(OnCorrectionComboChange(parent_));
    EXPECT_EQ(prompts.Asked(0).initial, "Korrektur_132");
  }
  EXPECT_EQ(Items(), (std::vector<std::string>{"Alpha", "Neu", "Importieren...", "L\xf6schen...", "Speichern..."}));
  EXPECT_EQ(Selected(), 1) << "the saved correction equals the matrix";
  {
    ScopedPrompts prompts;
    prompts.Cancel(PromptKind::kOpenFile);
    Choose(2);
    EXPECT_FALSE(OnCorrectionComboChange(parent_));
  }
  Choose(3);
  EXPECT_FALSE(OnCorrectionComboChange(parent_));
  ASSERT_EQ(gCleanups.size(), 1u);
  EXPECT_EQ(gCleanups[0].owner, parent_);
  EXPECT_EQ(gCleanups[0].type, kWhole6);
  EXPECT_EQ(gCleanups[0].minimumId, 0);
  EXPECT_EQ(Selected(), 1);
}

TEST_F(PresetControls, TheColourMenuGoesThroughThePromptSeam) {
  SelectivePresetPayload payload = {kPresetVersion, {}};
  payload.values[6 + 1] = 35;
  ASSERT_TRUE(RecordStoreAdd(gAppStore, TagFromString("P2CM"), 0, &payload, sizeof payload, "Gr\xfcn st\xe4rker"));
  ScopedPrompts prompts;
  prompts.Choose(11001).Choose(11998).Choose(0);
  EXPECT_TRUE(ShowColourPresetMenu(parent_, 1));
  EXPECT_EQ(frame_.selectiveColorMatrix[7], 35);
  const PromptRequest& asked = prompts.Asked(0);
  EXPECT_EQ(asked.owner, parent_);
  ASSERT_EQ(asked.menu.size(), 4u);
  EXPECT_EQ(asked.menu[0].text, "Gr\xfcn st\xe4rker");
  EXPECT_FALSE(asked.menu[0].checked);
  EXPECT_TRUE(asked.menu[1].separator);
  EXPECT_FALSE(ShowColourPresetMenu(parent_, 1));
  EXPECT_TRUE(prompts.Asked(1).menu[0].checked) << "the row now equals the preset";
  ASSERT_EQ(gCleanups.size(), 1u);
  EXPECT_EQ(gCleanups[0].type, TagFromString("P2CM"));
  EXPECT_EQ(gCleanups[0].minimumId, kFirstUserPresetId);
  EXPECT_FALSE(ShowSectorPresetMenu(parent_, 4)) << "dismissed";
  EXPECT_EQ(prompts.Asked(2).menu.back().command, 14999u);
}

}  // namespace
