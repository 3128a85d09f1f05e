// The link control in a test dialog under Wine: texts, font and size, the
// colours of its states, the opening of its target through the command that
// opens web pages (a recorder program of ours stands in for the browser, so
// no test starts a real one), and the error boxes.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <fstream>
#include <sstream>
#include <string>

#include "photoapp/controls/hyperlink.h"
#include "photoapp/tests/scripted_boxes.h"
#include "photoapp/tests/test_resources.h"
#include "photoapp/window/dc.h"

namespace {

// Neither a web address nor a file: the shell cannot open it.
const char kTarget[] = "zir-no-such-link-target.zzz";
const char kPageClass[] = "ZirLinkTest.Page";
const char kLog[] = "link_log.txt";

INT_PTR CALLBACK ReflectingDialogProc(HWND, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_INITDIALOG) return TRUE;
  LRESULT answer = 0;
  if (Window::ReflectToChild(message, wparam, lparam, &answer)) return static_cast<INT_PTR>(answer);
  return FALSE;
}

std::string ProgramFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder = path;
  return folder.substr(0, folder.rfind('\\') + 1);
}

std::string ReadLog() {
  std::stringstream text;
  text << std::ifstream(kLog).rdbuf();
  return text.str();
}

// Waits for the recorder's line; the recorder runs as a process of its own.
std::string AwaitLogLine() {
  for (int i = 0; i < 200 && ReadLog().empty(); ++i) Sleep(50);
  std::string line = ReadLog();
  if (!line.empty() && line.back() == '\n') line.pop_back();
  return line;
}

void SetDefaultValue(const std::string& key, const std::string& value) {
  HKEY opened = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &opened, nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(opened, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                 static_cast<DWORD>(value.size() + 1));
  RegCloseKey(opened);
}

// The registry's web-page command for the time of a test, put back afterwards.
class PageCommand {
 public:
  PageCommand() {
    had_page_type_ = CHyperLink::ReadRegistryDefault(HKEY_CLASSES_ROOT, ".htm", page_type_) == ERROR_SUCCESS;
    SetDefaultValue(".htm", kPageClass);
  }
  ~PageCommand() {
    if (had_page_type_) {
      SetDefaultValue(".htm", page_type_);
    } else {
      RegDeleteKeyA(HKEY_CLASSES_ROOT, ".htm");
    }
    RegDeleteKeyA(HKEY_CLASSES_ROOT, (std::string(kPageClass) + "\\shell\\open\\command").c_str());
    RegDeleteKeyA(HKEY_CLASSES_ROOT, (std::string(kPageClass) + "\\shell\\open").c_str());
    RegDeleteKeyA(HKEY_CLASSES_ROOT, (std::string(kPageClass) + "\\shell").c_str());
    RegDeleteKeyA(HKEY_CLASSES_ROOT, kPageClass);
  }
  void Set(const std::string& command) { SetDefaultValue(std::string(kPageClass) + "\\shell\\open\\command", command); }

 private:
  bool had_page_type_ = false;
  char page_type_[MAX_PATH] = {};
};

std::string Recorder() { return "\"" + ProgramFolder() + "photoapp_link_recorder.exe\""; }

class LinkControl : public ::testing::Test {
 protected:
  void SetUp() override {
    std::remove(kLog);
    SetEnvironmentVariableA("ZIR_LINK_LOG", kLog);
    dialog_ = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_TEST_LINKS), nullptr,
                                 ReflectingDialogProc, 0);
    ASSERT_NE(dialog_, nullptr);
    SetWindowPos(dialog_, HWND_TOP, 40, 40, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
  }
  void TearDown() override { DestroyWindow(dialog_); }

  RECT ChildRect(int id) const {
    RECT rect;
    GetWindowRect(GetDlgItem(dialog_, id), &rect);
    MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
  }

  // The text colour the dialog gives the control, through the reflected colour message.
  COLORREF TextColour(const CHyperLink& link) {
    HDC dc = CreateCompatibleDC(nullptr);
    const LRESULT brush = SendMessageA(dialog_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                       reinterpret_cast<LPARAM>(link.GetSafeHwnd()));
    EXPECT_EQ(brush, reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH)));
    EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
    const COLORREF colour = GetTextColor(dc);
    DeleteDC(dc);
    return colour;
  }

  HWND dialog_ = nullptr;
  ScriptedBoxes boxes_;
  PageCommand page_command_;
};

// The tooltip tool of a control: its text, or "" when it has none.
struct ToolSearch {
  HWND control;
  std::string text;
};

BOOL CALLBACK FindToolText(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<ToolSearch*>(data);
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  if (std::string(name) != TOOLTIPS_CLASSA || SendMessageA(window, TTM_GETTOOLCOUNT, 0, 0) != 1) return TRUE;
  char text[MAX_PATH] = {};
  TTTOOLINFOA tool = {};
  tool.cbSize = TTTOOLINFOA_V1_SIZE;
  tool.hwnd = search->control;
  tool.uId = 1;
  tool.lpszText = text;
  SendMessageA(window, TTM_GETTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
  if (text[0]) search->text = text;
  return TRUE;
}

std::string ToolText(HWND control) {
  ToolSearch search = {control, ""};
  EnumThreadWindows(GetCurrentThreadId(), FindToolText, reinterpret_cast<LPARAM>(&search));
  return search.text;
}

TEST_F(LinkControl, TakesItsAddressFromItsTextAndShowsTheAddressWithoutText) {
  CHyperLink text_link, empty_link;
  EXPECT_EQ(text_link.GetLinkFlags(), 0x15);
  ASSERT_TRUE(text_link.SubclassDlgItem(IDC_TEST_TEXT_LINK, dialog_));
  EXPECT_EQ(text_link.GetURL(), "Zur Seite");
  EXPECT_EQ(ToolText(text_link.GetSafeHwnd()), "Zur Seite");
  empty_link.SetURL(kTarget);
  ASSERT_TRUE(empty_link.SubclassDlgItem(IDC_TEST_EMPTY_LINK, dialog_));
  EXPECT_EQ(empty_link.GetWindowText(), kTarget);
  EXPECT_EQ(ToolText(empty_link.GetSafeHwnd()), kTarget);
  EXPECT_EQ(std::string(text_link.GetRuntimeClass()->class_name), "CHyperLink");
}

// Underlined, and fitted to its text: the left edge stays for left-aligned
// text, the right edge for right-aligned, the middle for centred.
TEST_F(LinkControl, IsUnderlinedAndFittedToItsText) {
  const struct {
    int id;
    const char* alignment;
  } cases[] = {{IDC_TEST_TEXT_LINK, "left"}, {IDC_TEST_CENTRED_LINK, "centre"}, {IDC_TEST_RIGHT_LINK, "right"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.alignment);
    const RECT before = ChildRect(c.id);
    CHyperLink link;
    ASSERT_TRUE(link.SubclassDlgItem(c.id, dialog_));
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(link.GetSafeHwnd(), WM_GETFONT, 0, 0));
    LOGFONTA description = {};
    ASSERT_TRUE(GetObjectA(font, sizeof description, &description));
    EXPECT_EQ(description.lfUnderline, 1);
    ClientDC dc(link.GetSafeHwnd());
    HGDIOBJ previous = dc.SelectObject(font);
    const SIZE text = dc.GetTextExtent(link.GetWindowText());
    dc.SelectObject(previous);
    const RECT after = ChildRect(c.id);
    EXPECT_EQ(after.right - after.left, text.cx);
    EXPECT_EQ(after.bottom - after.top, text.cy);
    EXPECT_EQ(after.top, before.top);
    const std::string alignment = c.alignment;
    if (alignment == "left") {
      EXPECT_EQ(after.left, before.left);
    } else if (alignment == "right") {
      EXPECT_EQ(after.right, before.right);
    } else {
      EXPECT_NEAR(after.left + after.right, before.left + before.right, 1);
    }
  }
}

TEST_F(LinkControl, ColoursShowHoverActiveAndVisited) {
  page_command_.Set(Recorder() + " %1");
  const struct {
    int flags;
    bool hover, active, visited;
    COLORREF colour;
  } cases[] = {
      {0x15, false, false, false, RGB(0, 0, 255)},  {0x17, true, false, false, RGB(255, 0, 0)},
      {0x15, true, false, false, RGB(0, 0, 255)},   {0x17, true, true, true, RGB(255, 0, 0)},
      {0x15, false, true, false, RGB(0, 128, 128)}, {0x55, false, true, false, RGB(0, 0, 255)},
      {0x15, false, true, true, RGB(0, 128, 128)},  {0x55, false, true, true, RGB(128, 0, 128)},
      {0x15, false, false, true, RGB(128, 0, 128)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "flags " << c.flags << " hover " << c.hover << " active " << c.active
                                    << " visited " << c.visited);
    CHyperLink link;
    link.SetURL(kTarget);
    link.SetLinkFlags(c.flags);
    ASSERT_TRUE(link.SubclassDlgItem(IDC_TEST_TEXT_LINK, dialog_));
    HWND hwnd = link.GetSafeHwnd();
    if (c.visited) {
      link.FollowLink();
      EXPECT_FALSE(AwaitLogLine().empty());
      std::remove(kLog);
    }
    if (c.hover) SendMessageA(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    if (c.active) SendMessageA(hwnd, WM_SETFOCUS, 0, 0);
    EXPECT_EQ(TextColour(link), c.colour);
    // Leaving the control and losing the focus end hover and active.
    SendMessageA(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(-5, -5));
    SendMessageA(hwnd, WM_KILLFOCUS, 0, 0);
    EXPECT_EQ(TextColour(link), c.visited ? RGB(128, 0, 128) : RGB(0, 0, 255));
    ReleaseCapture();
  }
}

// The web-page command is cut before its placeholder (or before the quote
// in front of it) and given the target; one without a placeholder stays whole.
TEST_F(LinkControl, OpensItsTargetThroughTheWebPageCommand) {
  const struct {
    const char* placeholder;
    std::string command, started;
  } cases[] = {
      {"bare", Recorder() + " %1", Recorder() + "  " + kTarget},
      {"quoted", Recorder() + " \"%1\"", Recorder() + "  " + kTarget},
      {"absent", Recorder() + " -nohome", Recorder() + " -nohome " + kTarget},
      {"bare, with more after it", Recorder() + " -url %1 -new", Recorder() + " -url  " + kTarget},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.placeholder);
    page_command_.Set(c.command);
    EXPECT_GT(CHyperLink::OpenLinkTarget(kTarget, SW_SHOW), 32);
    EXPECT_EQ(AwaitLogLine(), c.started);
    std::remove(kLog);
  }
}

// Without a web-page command the shell's answer stands: a beep, the box, and
// the link stays unvisited. A click and the space bar both follow the link.
TEST_F(LinkControl, ALinkThatCannotOpenShowsWhy) {
  CHyperLink link;
  link.SetURL(kTarget);
  ASSERT_TRUE(link.SubclassDlgItem(IDC_TEST_TEXT_LINK, dialog_));
  HWND hwnd = link.GetSafeHwnd();
  boxes_.Reply(IDOK);
  boxes_.Reply(IDOK);
  SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  SendMessageA(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  SendMessageA(hwnd, WM_KEYDOWN, VK_SPACE, 0);
  ASSERT_EQ(boxes_.Shown().size(), 2u);
  for (const MessageBoxRequest& box : boxes_.Shown()) {
    EXPECT_EQ(box.text, "Can't open link:\n\nThe specified file was not found.");
    EXPECT_EQ(box.style, static_cast<UINT>(MB_ICONEXCLAMATION));
  }
  SendMessageA(hwnd, WM_KILLFOCUS, 0, 0);
  EXPECT_EQ(TextColour(link), RGB(0, 0, 255));
  EXPECT_TRUE(ReadLog().empty());
}

TEST_F(LinkControl, ErrorTexts) {
  const struct {
    int code;
    const char* text;
  } cases[] = {
      {0, "The operating system is out\nof memory or resources."},
      {2, "The specified file was not found."},
      {3, "The specified path was not found."},
      {5, "The operating system denied\naccess to the specified file."},
      {8, "There was not enough memory to complete the operation."},
      {11, "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image)."},
      {26, "A sharing violation occurred. "},
      {27, "The filename association is\nincomplete or invalid."},
      {28, "The DDE transaction could not\nbe completed because the request timed out."},
      {29, "The DDE transaction failed."},
      {30, "The DDE transaction could not\nbe completed because other DDE transactions\nwere being processed."},
      {31, "There is no application associated\nwith the given filename extension."},
      {32, "The specified dynamic-link library was not found."},
      {1, "Unknown Error (1) occurred."},
      {33, "Unknown Error (33) occurred."},
      {-7, "Unknown Error (-7) occurred."},
  };
  CHyperLink link;
  ASSERT_TRUE(link.SubclassDlgItem(IDC_TEST_TEXT_LINK, dialog_));
  for (const auto& c : cases) {
    boxes_.Reply(IDOK);
    link.ShowLinkError(c.code);
    ASSERT_FALSE(boxes_.Shown().empty());
    EXPECT_EQ(boxes_.Shown().back().text, std::string("Can't open link:\n\n") + c.text) << c.code;
    EXPECT_EQ(boxes_.Shown().back().style, static_cast<UINT>(MB_ICONEXCLAMATION));
  }
}

// The link cursor comes from the help program; where that has none (as under
// Wine) the control leaves the cursor to the system.
TEST_F(LinkControl, SetsTheLinkCursorOnlyWhenItExists) {
  char folder[MAX_PATH] = {};
  GetWindowsDirectoryA(folder, MAX_PATH);
  HMODULE help = LoadLibraryExA((std::string(folder) + "\\winhlp32.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  const bool has_cursor = help && LoadCursorA(help, MAKEINTRESOURCEA(106));
  if (help) FreeLibrary(help);
  CHyperLink link;
  ASSERT_TRUE(link.SubclassDlgItem(IDC_TEST_TEXT_LINK, dialog_));
  HWND hwnd = link.GetSafeHwnd();
  EXPECT_EQ(SendMessageA(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
            has_cursor ? TRUE : FALSE);
  EXPECT_EQ(SendMessageA(hwnd, WM_NCHITTEST, 0, 0), HTCLIENT);
}

}  // namespace
