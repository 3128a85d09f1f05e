// The subject dialog 1554 and the options dialog 357 run for real over an
// owner window. A robot thread plays the person: it ticks boxes, moves the
// sliders with the keyboard, picks combo entries and presses the buttons,
// and notes what the dialog shows; the test looks at the notes afterwards.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "foundation/dialogs/dialog_services.h"
#include "foundation/dialogs/testing/scoped_prompts.h"
#include "foundation/file_io.h"
#include "foundation/record_store.h"
#include "state/data_source_state.h"
#include "tone/subjects.h"
#include "tone/ui/auto_adjust_dialogs_win32.h"
#include "tone/ui/tool_dialog_frame_win32.h"
#include "tone/ui/tool_dialog_hooks_win32.h"

namespace {

constexpr const char* kFolder = "tone_dialog_cases\\";

int gToolWindowSwitches = 0;

// What the person sees of the subject dialog at one moment.
struct SubjectView {
  std::string subject;   // the combo's selected text
  bool saveEnabled;
  bool deleteEnabled;
  int fields[4];
};

// Paints the window into a 24-bit bitmap file.
void SaveWindowBitmap(HWND window, const std::string& path) {
  RECT rect;
  GetWindowRect(window, &rect);
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  BITMAPINFOHEADER info = {sizeof info, width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Sleep(500);
  BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
  GdiFlush();
  const DWORD size = ((width * 3 + 3) & ~3) * height;
  BITMAPFILEHEADER file = {0x4D42, static_cast<DWORD>(sizeof file + sizeof info + size), 0, 0, sizeof file + sizeof info};
  if (FILE* out = std::fopen(path.c_str(), "wb")) {
    std::fwrite(&file, sizeof file, 1, out);
    std::fwrite(&info, sizeof info, 1, out);
    std::fwrite(bits, size, 1, out);
    std::fclose(out);
  }
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
}

class ToneDialogs : public testing::Test {
 protected:
  void SetUp() override {
    ResetDataSourceState();
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    owner_ = CreateWindowExA(0, "STATIC", "Besitzer", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 700, 500, nullptr,
                             nullptr, nullptr, nullptr);
    gMainDialog = owner_;
    CreateFolder(kFolder);
    const std::string file = std::string(testing::UnitTest::GetInstance()->current_test_info()->name()) + ".prf";
    DeleteFileAt((std::string(kFolder) + file).c_str());
    gAppStore = OpenOrCreateFile(file.c_str(), kFolder);
    ASSERT_NE(gAppStore, nullptr);
    gToolWindowSwitches = 0;
    InstallToolWindowSwitch([](bool) { ++gToolWindowSwitches; });
  }
  void TearDown() override {
    InstallToolWindowSwitch(nullptr);
    InstallToolDialogHooks(ToolDialogHooks{});
    CloseFile(gAppStore);
    DestroyWindow(owner_);
    ResetDataSourceState();
  }

  // Runs the robot's steps against the dialog with the caption once it shows.
  static std::thread Robot(const char* caption, std::function<void(HWND)> steps) {
    return std::thread([caption, steps] {
      for (int i = 0; i < 400; ++i) {
        HWND dialog = FindWindowA("#32770", caption);
        if (dialog && IsWindowVisible(dialog)) {
          // For a person to look at: the dialog as it opened, as a bitmap file.
          if (const char* folder = std::getenv("ZIR_TONE_DIALOG_SHOTS"))
            SaveWindowBitmap(dialog, std::string(folder) + "/" + caption + ".bmp");
          steps(dialog);
          return;
        }
        Sleep(25);
      }
      ExitProcess(3);   // no dialog within 10 s: the modal loop would wait for ever
    });
  }

  static void Click(HWND dialog, int item) { SendDlgItemMessageA(dialog, item, BM_CLICK, 0, 0); }
  // A key pressed on the control, as the keyboard delivers it.
  static void Key(HWND dialog, int item, WPARAM key, int times = 1) {
    HWND control = GetDlgItem(dialog, item);
    for (int i = 0; i < times; ++i) {
      SendMessageA(control, WM_KEYDOWN, key, 0);
      SendMessageA(control, WM_KEYUP, key, 0);
    }
  }
  // Picks the 0-based combo entry from the dropped list.
  static void Pick(HWND dialog, int combo, int entry) {
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(combo, CBN_DROPDOWN), reinterpret_cast<LPARAM>(GetDlgItem(dialog, combo)));
    SendDlgItemMessageA(dialog, combo, CB_SETCURSEL, entry, 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(combo, CBN_SELCHANGE), reinterpret_cast<LPARAM>(GetDlgItem(dialog, combo)));
  }
  static std::string SelectedText(HWND dialog, int combo) {
    const LRESULT index = SendDlgItemMessageA(dialog, combo, CB_GETCURSEL, 0, 0);
    char text[256] = {};
    if (index >= 0) SendDlgItemMessageA(dialog, combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text));
    return text;
  }
  static SubjectView View(HWND dialog) {
    SubjectView view;
    view.subject = SelectedText(dialog, 1422);
    view.saveEnabled = IsWindowEnabled(GetDlgItem(dialog, 1428)) != FALSE;
    view.deleteEnabled = IsWindowEnabled(GetDlgItem(dialog, 1429)) != FALSE;
    for (int i = 0; i < 4; ++i) view.fields[i] = static_cast<int>(GetDlgItemInt(dialog, 1432 + i, nullptr, TRUE));
    return view;
  }

  static void StoreSubject(int32_t id, int16_t contrast, const char* name) {
    SubjectParameters p = {};
    p.contrast = contrast;
    p.enable[0] = 1;
    ASSERT_TRUE(RecordStoreAdd(gAppStore, kSubjectRecordType, id, &p, sizeof p, name));
  }

  HWND owner_ = nullptr;
};

TEST_F(ToneDialogs, SubjectDialogFollowsTheSlidersAndStoresTheUsersSubject) {
  ScopedPrompts prompts;
  prompts.Accept(PromptKind::kName, "Mein Motiv");
  prompts.Accept(PromptKind::kName, "Mein Motiv");
  prompts.Reply(kAnswerYes);

  std::vector<SubjectView> views;
  bool busy = false;
  int16_t refused = -5;
  int sliderPositions[2] = {};
  std::thread robot = Robot("Motiv", [&](HWND dialog) {
    busy = gToolDialogBusy != 0;
    refused = RunAutoAdjustDialog();                      // a second tool is refused at once
    views.push_back(View(dialog));                        // 0: cleared values
    Click(dialog, 1423);
    Click(dialog, 1427);
    views.push_back(View(dialog));                        // 1: "Standard"
    Key(dialog, 1418, VK_RIGHT, 15);
    views.push_back(View(dialog));                        // 2: contrast 15: "Landschaft"
    Key(dialog, 1418, VK_RIGHT);
    views.push_back(View(dialog));                        // 3: contrast 16
    Click(dialog, 1424);
    Key(dialog, 1419, VK_HOME);
    sliderPositions[0] = static_cast<int>(SendDlgItemMessageA(dialog, 1419, TBM_GETPOS, 0, 0));
    views.push_back(View(dialog));                        // 4: brightness at 0
    Key(dialog, 1419, VK_END);
    sliderPositions[1] = static_cast<int>(SendDlgItemMessageA(dialog, 1419, TBM_GETPOS, 0, 0));
    views.push_back(View(dialog));                        // 5: brightness at 100
    Click(dialog, 1428);
    views.push_back(View(dialog));                        // 6: stored as id 128
    Key(dialog, 1418, VK_LEFT);
    Click(dialog, 1428);                                  // the same name again: replaced
    views.push_back(View(dialog));                        // 7
    Click(dialog, IDOK);
  });
  const int16_t result = RunAutoAdjustDialog();
  robot.join();

  EXPECT_TRUE(busy);
  EXPECT_EQ(refused, 0);
  EXPECT_EQ(ToolDialogHook(), nullptr);
  EXPECT_EQ(gToolDialogBusy, 0);
  EXPECT_EQ(gToolWindowSwitches, 2);
  ASSERT_EQ(views.size(), 8u);
  EXPECT_EQ(views[0].subject, "Benutzerdefiniert...");
  EXPECT_TRUE(views[0].saveEnabled);
  EXPECT_FALSE(views[0].deleteEnabled);
  EXPECT_EQ(views[1].subject, "Standard");
  EXPECT_FALSE(views[1].saveEnabled);
  EXPECT_EQ(views[2].subject, "Landschaft");
  EXPECT_EQ(views[2].fields[0], 15);
  EXPECT_EQ(views[3].subject, "Benutzerdefiniert...");
  EXPECT_EQ(views[3].fields[0], 16);
  EXPECT_EQ(sliderPositions[0], 0);
  EXPECT_EQ(views[4].fields[1], -100);
  EXPECT_EQ(sliderPositions[1], 100);
  EXPECT_EQ(views[5].fields[1], 100);
  EXPECT_EQ(views[6].subject, "Mein Motiv");
  EXPECT_FALSE(views[6].saveEnabled);
  EXPECT_TRUE(views[6].deleteEnabled);
  EXPECT_EQ(views[7].subject, "Mein Motiv");
  EXPECT_EQ(result, 12);

  ASSERT_EQ(prompts.Asked().size(), 3u);
  EXPECT_EQ(prompts.Asked(0).initial, "Motiv_");
  EXPECT_EQ(prompts.Asked(0).text, "Name des neuen Motives:");
  EXPECT_EQ(prompts.Asked(2).titleId, 500u);
  EXPECT_EQ(prompts.Asked(2).textId, 501u);
  EXPECT_EQ(prompts.Asked(2).title, "Warnung");

  EXPECT_EQ(StoredSubjectCount(), 1);
  SubjectParameters stored;
  ASSERT_TRUE(RecordStoreRead(gAppStore, kSubjectRecordType, 128, &stored, sizeof stored));
  EXPECT_EQ(stored.contrast, 15);
  EXPECT_EQ(stored.brightness, 100);
  EXPECT_EQ(stored.enable[0] + stored.enable[1] + stored.enable[2] + stored.enable[3], 3);
}

TEST_F(ToneDialogs, DeletingAStoredSubjectRenumbersAndCancelKeepsTheResult) {
  StoreSubject(128, 1, "Erstes");
  StoreSubject(129, 2, "Zweites");
  StoreSubject(130, 3, "Drittes");
  std::thread first = Robot("Motiv", [](HWND dialog) {
    Pick(dialog, 1422, 4);          // "Technik"
    Click(dialog, IDOK);
  });
  EXPECT_EQ(RunAutoAdjustDialog(), 4);
  first.join();

  SubjectView chosen = {}, afterDelete = {};
  int count = 0;
  std::thread robot = Robot("Motiv", [&](HWND dialog) {
    Pick(dialog, 1422, 2);          // "Hauttöne": loads contrast -10
    Pick(dialog, 1422, 13);         // "Zweites"
    chosen = View(dialog);
    Click(dialog, 1429);
    afterDelete = View(dialog);
    count = static_cast<int>(SendDlgItemMessageA(dialog, 1422, CB_GETCOUNT, 0, 0));
    Click(dialog, IDCANCEL);
  });
  EXPECT_EQ(RunAutoAdjustDialog(), 4);
  robot.join();
  EXPECT_EQ(chosen.subject, "Zweites");
  EXPECT_EQ(chosen.fields[0], 2);
  EXPECT_TRUE(chosen.deleteEnabled);
  EXPECT_EQ(count, 14);
  EXPECT_EQ(afterDelete.subject, "Benutzerdefiniert...");
  char name[kRecordNameSize];
  ASSERT_TRUE(RecordStoreNameById(gAppStore, kSubjectRecordType, 129, name));
  EXPECT_STREQ(name, "Drittes");
  EXPECT_EQ(StoredSubjectCount(), 2);
}

// The options dialog over stored settings of the frames' own: entry 2 loads a
// record, the first entry stands for the defaults.
TEST_F(ToneDialogs, OptionsDialogReturnsTheChosenSettingsAndChoices) {
  ToolDialogHooks hooks;
  hooks.initFrameRecord = [](FrameRecord* record, bool) { record->outputResolution = 150; };
  hooks.fillSettingsCombo = [](HWND dialog, int combo) {
    SendDlgItemMessageA(dialog, combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Standard"));
    SendDlgItemMessageA(dialog, combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Satz A"));
  };
  hooks.loadSettings = [](HWND, int, int entry, FrameRecord* out) {
    out->outputResolution = static_cast<int16_t>(300 + entry);
    return true;
  };
  InstallToolDialogHooks(hooks);

  std::vector<std::string> types;
  bool runChecked = false;
  std::thread robot = Robot("Optionen", [&](HWND dialog) {
    runChecked = IsDlgButtonChecked(dialog, 1291) == BST_CHECKED;
    for (int i = 0; i < 11; ++i) {
      char text[64] = {};
      SendDlgItemMessageA(dialog, 1045, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
      types.push_back(text);
    }
    Pick(dialog, 1285, 1);
    Click(dialog, 1291);
    Pick(dialog, 1045, 4);
    Click(dialog, IDOK);
  });
  FrameRecord out = {};
  uint8_t run = 9, type = 9;
  EXPECT_TRUE(RunAutoOptionsDialog(&out, &run, &type));
  robot.join();
  EXPECT_TRUE(runChecked);
  ASSERT_EQ(types.size(), 11u);
  EXPECT_EQ(types[0], "Standard");
  EXPECT_EQ(types[2], "Hautt\xf6ne");
  EXPECT_EQ(types[10], "Tiefenstich");
  EXPECT_EQ(out.outputResolution, 302);
  EXPECT_EQ(run, 0);
  EXPECT_EQ(type, 4);

  std::thread cancel = Robot("Optionen", [](HWND dialog) {
    Pick(dialog, 1285, 1);
    Pick(dialog, 1045, 7);
    Click(dialog, IDCANCEL);
  });
  out.outputResolution = 77;
  EXPECT_FALSE(RunAutoOptionsDialog(&out, &run, &type));
  cancel.join();
  EXPECT_EQ(out.outputResolution, 77);
  EXPECT_EQ(type, 4);

  std::thread defaults = Robot("Optionen", [](HWND dialog) {
    Pick(dialog, 1285, 1);
    Pick(dialog, 1285, 0);
    Click(dialog, IDOK);
  });
  EXPECT_TRUE(RunAutoOptionsDialog(&out, &run, &type));
  defaults.join();
  EXPECT_EQ(out.outputResolution, 150);
  EXPECT_EQ(run, 1);
  EXPECT_EQ(type, 0);
}

}  // namespace
