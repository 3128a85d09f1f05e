// The About box run modally under Wine: a timer of the test looks at the box
// while the dialog's own loop runs, moves the mouse over the link and presses OK.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "photoapp/dialogs/about_dialog.h"
#include "photoapp/resource.h"

namespace {

// Records the messages the modal loop offered it on the link's behalf.
class WatchedAbout : public AboutDialog {
 public:
  bool PreTranslateMessage(MSG* message) override {
    if (message->hwnd == GetDlgItem(IDC_MAKER_LINK)) offered.push_back(message->message);
    return AboutDialog::PreTranslateMessage(message);
  }
  std::vector<UINT> offered;
};

struct Seen {
  std::string caption;
  std::vector<std::string> texts;
  std::string link_class;
  std::string link_text;
  bool has_icon = false;
};

WatchedAbout* gAbout = nullptr;
Seen gSeen;

void CALLBACK LookAndPressOk(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  HWND box = gAbout->GetSafeHwnd();
  if (!box) return;
  gSeen.caption = gAbout->GetWindowText();
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    char text[256] = {};
    GetWindowTextA(child, text, sizeof text);
    gSeen.texts.push_back(text);
    if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON && SendMessageA(child, STM_GETICON, 0, 0))
      gSeen.has_icon = true;
  }
  HWND link = gAbout->GetDlgItem(IDC_MAKER_LINK);
  if (Window* control = Window::FromHandle(link)) gSeen.link_class = control->GetRuntimeClass()->class_name;
  char text[256] = {};
  GetWindowTextA(link, text, sizeof text);
  gSeen.link_text = text;
  PostMessageA(link, WM_MOUSEMOVE, 0, MAKELPARAM(1, 1));
  PostMessageA(box, WM_COMMAND, IDOK, 0);
}

TEST(AboutDialog, ShowsNameVersionAndTheMakersLink) {
  WatchedAbout about;
  gAbout = &about;
  SetTimer(nullptr, 0, 200, LookAndPressOk);
  EXPECT_EQ(about.DoModal(), IDOK);
  gAbout = nullptr;
  EXPECT_EQ(gSeen.caption, "About PhotoRefiner");
  EXPECT_NE(std::find(gSeen.texts.begin(), gSeen.texts.end(), "PhotoRefiner Version 1.1"), gSeen.texts.end());
  EXPECT_TRUE(gSeen.has_icon);
  EXPECT_EQ(gSeen.link_class, "CHyperLink");
  EXPECT_EQ(gSeen.link_text, kMakerAddress);
  // The loop offered the link's message to the dialog, the link's parent.
  EXPECT_NE(std::find(about.offered.begin(), about.offered.end(), static_cast<UINT>(WM_MOUSEMOVE)),
            about.offered.end());
  EXPECT_EQ(about.GetSafeHwnd(), nullptr);
}

}  // namespace
