// The CMYK choice combo and the calibration profile combo filled on real combo boxes.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>

#include "color/color_calibration.h"
#include "color/profile_files.h"
#include "color/tests/color_test_support.h"
#include "records/defaults_block.h"
#include "state/data_source_state.h"

namespace {

class ProfileCombo : public ColorFolderTest {
 protected:
  void TearDown() override {
    FreeProfileLists();
    FreeColorCalibration();
    if (parent_) DestroyWindow(parent_);
    ColorFolderTest::TearDown();
  }
  HWND parent_ = nullptr;
};

TEST_F(ProfileCombo, EntriesDataAndDropWidth) {
  WriteBytes(separationFolder_ + "Euro.ast", {0});
  WriteBytes(separationFolder_ + "press.icc", SmallProfile("prtr", "CMYK", "A rather long press profile name"));
  parent_ = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 200, 200, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(parent_, nullptr);
  HWND combo = CreateWindowA("COMBOBOX", "", WS_CHILD | CBS_DROPDOWNLIST | CBS_SORT, 0, 0, 60, 100, parent_,
                             reinterpret_cast<HMENU>(1000), nullptr, nullptr);
  ASSERT_NE(combo, nullptr);
  SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("old entry"));

  FillProfileCombo(parent_, 1000);
  const std::vector<ProfileComboEntry> expected = ProfileComboEntries();
  ASSERT_EQ(SendMessageA(combo, CB_GETCOUNT, 0, 0), static_cast<LRESULT>(expected.size())) << "cleared first";
  for (size_t i = 0; i < expected.size(); ++i) {
    char text[256] = "";
    SendMessageA(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
    EXPECT_EQ(text, expected[i].text) << "in the computed order, even in a sorting combo";
    EXPECT_EQ(static_cast<uint32_t>(SendMessageA(combo, CB_GETITEMDATA, i, 0)), expected[i].data);
  }
  EXPECT_GT(SendMessageA(combo, CB_GETDROPPEDWIDTH, 0, 0), 60) << "fitted to the long name";
}

// The profile names in list order, the current one selected; a name no longer
// listed gives way to the first item and is forgotten.
TEST_F(ProfileCombo, CalibrationProfilesWithTheCurrentOneSelected) {
  const std::string settings = base_ + "Quillbrook\\";
  for (const char* name : {"Kirche.itp", "Atelier.itp"}) WriteBytes(settings + name, {0});
  char* current = reinterpret_cast<char*>(DefaultsBytes(gDefaults, kDefaultCalibrationProfileName));
  std::strcpy(current, "Kirche");
  parent_ = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 200, 200, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(parent_, nullptr);
  HWND combo = CreateWindowA("COMBOBOX", "", WS_CHILD | CBS_DROPDOWNLIST, 0, 0, 60, 100, parent_,
                             reinterpret_cast<HMENU>(1001), nullptr, nullptr);
  ASSERT_NE(combo, nullptr);
  FillCalibrationProfileCombo(parent_, 1001);
  ASSERT_EQ(SendMessageA(combo, CB_GETCOUNT, 0, 0), 2);
  int position = 1;
  for (const NameNode* node = CalibrationProfileNames(); node; node = node->next, ++position) {
    char text[256] = "";
    SendMessageA(combo, CB_GETLBTEXT, position - 1, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, node->text);
  }
  char selected[256] = "";
  SendMessageA(combo, CB_GETLBTEXT, SendMessageA(combo, CB_GETCURSEL, 0, 0), reinterpret_cast<LPARAM>(selected));
  EXPECT_STREQ(selected, "Kirche");
  std::strcpy(current, "Verloren");
  FillCalibrationProfileCombo(parent_, 1001);
  EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 0);
  EXPECT_STREQ(current, "");
}

}  // namespace
