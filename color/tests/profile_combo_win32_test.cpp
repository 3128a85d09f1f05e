// The CMYK choice combo filled on a real combo box.
#include <windows.h>

#include <gtest/gtest.h>

#include "color/profile_files.h"
#include "color/tests/color_test_support.h"

namespace {

class ProfileCombo : public ColorFolderTest {
 protected:
  void TearDown() override {
    FreeProfileLists();
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

}  // namespace
