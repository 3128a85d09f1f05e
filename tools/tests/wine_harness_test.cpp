// The test harness itself: programs run under Wine with a real display, and the
// recording fake source manager takes the place of the system's.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "twain/twain_records.h"

namespace {

TEST(WineHarness, CreatesAndShowsAWindow) {
  HWND window = CreateWindowExA(0, "STATIC", "Fenster", WS_OVERLAPPEDWINDOW, 10, 20, 300, 200, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(window, nullptr);
  ShowWindow(window, SW_SHOWNORMAL);
  UpdateWindow(window);
  EXPECT_TRUE(IsWindowVisible(window));
  RECT frame;
  ASSERT_TRUE(GetWindowRect(window, &frame));
  EXPECT_EQ(frame.right - frame.left, 300);
  EXPECT_EQ(frame.bottom - frame.top, 200);
  char title[32] = {};
  GetWindowTextA(window, title, sizeof title);
  EXPECT_STREQ(title, "Fenster");
  EXPECT_GT(GetSystemMetrics(SM_CXSCREEN), 0);
  DestroyWindow(window);
}

TEST(WineHarness, FakeSourceManagerRecordsEachCall) {
  const char* log = "fakedsm-harness.log";
  std::remove(log);
  SetEnvironmentVariableA("ZIR_FAKEDSM_LOG", log);
  HMODULE manager = LoadLibraryA(kSourceManagerModule);
  ASSERT_NE(manager, nullptr);
  auto entry = reinterpret_cast<DSMENTRYPROC>(GetProcAddress(manager, MAKEINTRESOURCEA(1)));
  ASSERT_NE(entry, nullptr) << "DSM_Entry must be ordinal 1";

  TW_IDENTITY source = {};
  source.Id = 7;
  std::snprintf(source.ProductName, sizeof source.ProductName, "Quelle");
  TW_IDENTITY application = {};
  application.Id = 3;
  std::snprintf(application.ProductName, sizeof application.ProductName, "Wirt");
  EXPECT_EQ(entry(&source, &application, DG_CONTROL, DAT_NULL, MSG_XFERREADY, nullptr), TWRC_SUCCESS);
  EXPECT_EQ(entry(&source, &application, DG_CONTROL, DAT_NULL, MSG_CLOSEDSREQ, nullptr), TWRC_SUCCESS);
  FreeLibrary(manager);

  std::ifstream in(log);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_EQ(text.str(),
            "DSM_Entry origin=7:Quelle dest=3:Wirt DG=0x1 DAT=0x0000 MSG=0x0101\n"
            "DSM_Entry origin=7:Quelle dest=3:Wirt DG=0x1 DAT=0x0000 MSG=0x0102\n");
}

}  // namespace
