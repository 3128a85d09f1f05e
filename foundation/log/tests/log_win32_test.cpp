// The log's alerts, the information window and the help document under Wine.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "foundation/dialogs/testing/scoped_prompts.h"
#include "foundation/file_io.h"
#include "foundation/log/info_window.h"
#include "foundation/log/log_file.h"
#include "foundation/log/log_platform.h"
#include "foundation/paths.h"
#include "foundation/settings_folders.h"

namespace {

std::string LogPath() {
  char path[kPathSize];
  GetTemporaryFolder(path);
  AppendToPath(path, kLogFileName);
  return path;
}

TEST(Alerts, ALogThatCannotBeOpenedIsReportedOnce) {
  ScopedPrompts prompts;
  prompts.Reply(kAnswerOk);
  HANDLE held = CreateFileA(LogPath().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  LogOpen(false);
  EXPECT_EQ(gLogFile, nullptr);
  LogLine("dropped", true);
  LogOpen(false);
  CloseHandle(held);
  ASSERT_EQ(prompts.Asked().size(), 1u);
  EXPECT_EQ(prompts.Asked(0).style, kBoxIconStop | kBoxOk);
  EXPECT_EQ(prompts.Asked(0).title, "Fehler");
  EXPECT_EQ(prompts.Asked(0).text, "Fehler beim \xD6" "ffnen des Logfiles.\n\nKann LOG Information nicht schreiben.");
}

TEST(Alerts, NoScannerPointsToTheLogFile) {
  ScopedPrompts prompts;
  prompts.Reply(kAnswerOk);
  ShowNoScannerMessage();
  EXPECT_EQ(prompts.Asked(0).title, "");
  EXPECT_EQ(prompts.Asked(0).text,
            "Kein Scanner gefunden !\n\n\xDC" "berpr\xFC" "fen Sie bitte, ob der Scanner richtig am Computer "
            "angeschlo\xDF" "en und der Strom an ist.\nWenn Quillbrook weiterhin keinen Scanner findet, lesen Sie "
            "bitte die Hinweise in der Datei \"QB_LogFile.txt\" in Ihrem Quillbrook Ordner.");
}

TEST(Alerts, AMissingHelpDocumentIsNamed) {
  ScopedPrompts prompts;
  prompts.Reply(kAnswerOk);
  EXPECT_EQ(OpenHelpDocument(kHelpFolderString), kAnswerOk);  // a file named "Help", which the folder does not hold
  EXPECT_EQ(prompts.Asked(0).title, "Fehler");
  EXPECT_EQ(prompts.Asked(0).text, "Die Hilfe-Datei \"Help\" wurde nicht gefunden!");
}

HWND gClickedWindow = nullptr;
void CALLBACK ClickInfoWindow(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND window = GetActiveWindow();
  if (!window || !GetDlgItem(window, kInfoPictureItem)) return;
  KillTimer(nullptr, timer);
  gClickedWindow = window;
  PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
}

class InfoWindow : public testing::Test {
 protected:
  void SetUp() override {
    owner_ = CreateWindowExA(0, "STATIC", "Besitzer", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 300, 200, nullptr,
                             nullptr, GetModuleHandleA(nullptr), nullptr);
  }
  void TearDown() override { DestroyWindow(owner_); }
  HWND owner_ = nullptr;
};

TEST_F(InfoWindow, ModelessWindowShowsThePictureAndClosesOnAClick) {
  EXPECT_EQ(ShowInfoWindow(true, owner_), 0);
  HWND window = static_cast<HWND>(gInfoWindow);
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_NE(SendDlgItemMessageA(window, kInfoPictureItem, STM_GETIMAGE, IMAGE_BITMAP, 0), 0);
  SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(gInfoWindow, nullptr);

  ShowInfoWindow(true, owner_);
  window = static_cast<HWND>(gInfoWindow);
  CloseInfoWindow();
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(gInfoWindow, nullptr);
}

TEST_F(InfoWindow, ModalWindowEndsOnAClick) {
  gClickedWindow = nullptr;
  SetTimer(nullptr, 0, 50, ClickInfoWindow);
  EXPECT_EQ(ShowInfoWindow(false, owner_), 0);
  EXPECT_NE(gClickedWindow, nullptr);
  EXPECT_FALSE(IsWindow(gClickedWindow));
  EXPECT_EQ(gInfoWindow, nullptr);
}

}  // namespace
