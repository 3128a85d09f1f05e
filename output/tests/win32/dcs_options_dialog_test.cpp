// The dialog "DCS-Optionen" for real under Wine: a robot thread clicks its
// radio buttons and OK or Abbrechen while the test sits in the modal loop;
// the stored options are what the user chose, and Abbrechen keeps them.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "foundation/dialogs/tests/dialog_robot_win32.h"
#include "foundation/file_io.h"
#include "foundation/record_store.h"
#include "output/dcs_options.h"
#include "state/data_source_state.h"

namespace {

class DcsOptionsDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char folder[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    folder_ = std::string(folder) + "zir_dcs_options\\";
    CreateFolder(folder_.c_str());
    DeleteFileAt((folder_ + "store.prf").c_str());
    gAppStore = OpenOrCreateFile("store.prf", folder_.c_str());
    ASSERT_NE(gAppStore, nullptr);
    gResModule = GetModuleHandleA(nullptr);
  }
  void TearDown() override {
    CloseFile(gAppStore);
    gAppStore = nullptr;
  }

  struct Seen {
    std::string caption;
    bool oneFile = false, separateFiles = false;
  };

  // Runs the dialog; the robot notes what it shows, clicks the radio button (0: none) and ends with the button.
  int Run(int radio, int endButton, Seen* seen) {
    DialogRobot robot("DCS-Optionen", [=](HWND dialog) {
      seen->caption = DialogRobot::TextOf(dialog);
      seen->oneFile = IsDlgButtonChecked(dialog, kDcsOneFileButton) == BST_CHECKED;
      seen->separateFiles = IsDlgButtonChecked(dialog, kDcsSeparateFilesButton) == BST_CHECKED;
      if (radio) SendMessageA(GetDlgItem(dialog, radio), BM_CLICK, 0, 0);
      DialogRobot::Click(dialog, endButton);
    });
    return RunDcsOptionsDialog(nullptr);
  }

  static uint8_t Stored() {
    DcsOptions options;
    LoadDcsOptions(&options);
    return options.separateFiles;
  }

  std::string folder_;
};

TEST_F(DcsOptionsDialogTest, OkStoresTheChoiceAndAbbrechenKeepsIt) {
  Seen seen;
  EXPECT_EQ(Run(kDcsSeparateFilesButton, IDOK, &seen), 1);
  EXPECT_EQ(seen.caption, "DCS-Optionen");
  EXPECT_TRUE(seen.oneFile) << "one file without stored options";
  EXPECT_FALSE(seen.separateFiles);
  EXPECT_EQ(Stored(), 1);
  char name[64] = {};
  ASSERT_TRUE(RecordStoreNameById(gAppStore, kDcsOptionsType, kDcsOptionsId, name));
  EXPECT_STREQ(name, "DCSOptions");

  EXPECT_EQ(Run(kDcsOneFileButton, IDCANCEL, &seen), 1);
  EXPECT_TRUE(seen.separateFiles) << "the stored choice is shown";
  EXPECT_FALSE(seen.oneFile);
  EXPECT_EQ(Stored(), 1);

  EXPECT_EQ(Run(kDcsOneFileButton, IDOK, &seen), 1);
  EXPECT_EQ(Stored(), 0);
}

}  // namespace
