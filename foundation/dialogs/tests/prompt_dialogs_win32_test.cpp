// The real dialogs behind the prompts, played by a robot thread under Wine:
// the name dialog, the open-image dialog with its preview, the save-as
// dialog's batch counter.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <dlgs.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "foundation/dialogs/alerts.h"
#include "foundation/dialogs/dialog_services.h"
#include "foundation/dialogs/save_as_counter.h"
#include "foundation/dialogs/tests/dialog_robot_win32.h"
#include "foundation/dialogs/tests/tiff_thumbnail_source.h"
#include "foundation/dialogs/user_prompts.h"
#include "foundation/scripted_system.h"

namespace {

enum : int { kNameEdit = 1108, kNamePrompt = 1228, kPreviewButton = 4098, kFileSizeText = 1089 };

// How long a dialog stays open for a look at it (ZIR_HOLD_DIALOG_MS, default none).
void HoldForALook() {
  const char* hold = std::getenv("ZIR_HOLD_DIALOG_MS");
  if (hold) Sleep(static_cast<DWORD>(std::atoi(hold)));
}

std::string TempFolder() {
  char folder[MAX_PATH];
  GetTempPathA(sizeof folder, folder);
  std::string path = std::string(folder) + "zir_dialogs_test";
  CreateDirectoryA(path.c_str(), nullptr);
  return path;
}

// The text of the tree view's selected item, or empty.
std::string SelectedTreeText(HWND tree) {
  char text[MAX_PATH] = "";
  TVITEMA item = {};
  item.mask = TVIF_TEXT;
  item.hItem = tree ? TreeView_GetSelection(tree) : nullptr;
  item.pszText = text;
  item.cchTextMax = sizeof text;
  if (!item.hItem || !SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return std::string();
  return text;
}

std::string gToolWindowCalls;
void RecordToolWindowSwitch(bool enable) { gToolWindowCalls += enable ? "on " : "off "; }

TEST(NameDialog, ShowsThePromptAndTheProposedNameAndTakesWhatIsTyped) {
  gToolWindowCalls.clear();
  InstallToolWindowSwitch(RecordToolWindowSwitch);
  std::string promptShown, nameShown, toolWindowsWhileOpen;
  char name[kNameSize] = "Kurve_1";
  DialogRobot robot("Name f\xFCr Parameter eingeben", [&](HWND dialog) {
    promptShown = DialogRobot::TextOf(GetDlgItem(dialog, kNamePrompt));
    HWND edit = GetDlgItem(dialog, kNameEdit);
    nameShown = DialogRobot::TextOf(edit);
    toolWindowsWhileOpen = gToolWindowCalls;
    SendMessageA(edit, EM_SETSEL, 0, -1);
    DialogRobot::Type(edit, "Weiche Kurve");
    DialogRobot::Click(dialog, IDOK);
  });
  EXPECT_TRUE(AskName(name, nullptr, 9010));
  InstallToolWindowSwitch(nullptr);
  EXPECT_EQ(toolWindowsWhileOpen, "off ") << "the tool windows are disabled while the dialog runs";
  EXPECT_EQ(gToolWindowCalls, "off on ");
  EXPECT_EQ(promptShown, "Name der Kurve:");
  EXPECT_EQ(nameShown, "Kurve_1");
  EXPECT_STREQ(name, "Weiche Kurve");
}

TEST(NameDialog, CancelKeepsTheNameAndTheDefaultPromptStays) {
  std::string promptShown;
  char name[kNameSize] = "Kurve_1";
  DialogRobot robot("Name f\xFCr Parameter eingeben", [&](HWND dialog) {
    promptShown = DialogRobot::TextOf(GetDlgItem(dialog, kNamePrompt));
    DialogRobot::Type(GetDlgItem(dialog, kNameEdit), "verworfen");
    DialogRobot::Click(dialog, IDCANCEL);
  });
  EXPECT_FALSE(AskName(name, nullptr, 0));
  EXPECT_EQ(promptShown, "Name f\xFCr Parameter eingeben");
  EXPECT_STREQ(name, "Kurve_1");
}

TEST(OpenImageDialog, ShowsThePreviewAndTheFileSizeOfTheSelectedImage) {
  std::string folder = TempFolder();
  std::string image = folder + "\\verlauf.tif";
  ASSERT_TRUE(WriteGradientTiff(image.c_str()));
  TiffThumbnailSource source;
  InstallFileThumbnailSource(&source);

  std::string sizeShown;
  COLORREF centre = CLR_INVALID, corner = CLR_INVALID;
  DialogRobot robot("Name der Bilddatei:", [&](HWND dialog) {
    HWND list = DialogRobot::FindDescendantOfClass(dialog, WC_LISTVIEWA);
    if (!list) {
      PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
      return;
    }
    LVITEMA item;
    ZeroMemory(&item, sizeof item);
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&item));
    // 1089 is also an item of the system's dialog: take the one of our template.
    HWND hook = GetParent(DialogRobot::FindDescendant(dialog, kPreviewButton));
    HWND size = GetDlgItem(hook, kFileSizeText);
    DialogRobot::WaitForText(size, "59K", 3000);
    sizeShown = DialogRobot::TextOf(size);
    HWND preview = GetDlgItem(hook, kPreviewButton);
    Sleep(300);
    RECT box;
    GetClientRect(preview, &box);
    HDC dc = GetDC(preview);
    centre = GetPixel(dc, box.right / 2, box.bottom / 2);
    corner = GetPixel(dc, 1, 1);
    ReleaseDC(preview, dc);
    HoldForALook();
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  });
  char path[MAX_PATH] = "";
  uint16_t offset = 0;
  const char filter[] = "Bilddateien (*.tif;*.jpg;*.psd)\0*.tif;*.jpg;*.psd\0";
  EXPECT_TRUE(AskOpenImageFile(nullptr, "Name der Bilddatei:", filter, folder.c_str(), path, sizeof path, &offset));
  InstallFileThumbnailSource(nullptr);
  EXPECT_STREQ(path + offset, "verlauf.tif");
  // 200 x 100 x 3 bytes of pixels and a small header: 59 kilobytes rounded.
  EXPECT_EQ(sizeShown, "59K");
  EXPECT_GE(source.opened, 1);
  EXPECT_EQ(source.opened, source.closed) << "the reader is finished every time";
  // The image is fitted into the square box at its middle; above and below it the menu colour stays.
  EXPECT_EQ(GetBValue(centre), 128);
  EXPECT_EQ(corner, GetSysColor(COLOR_MENU));
  DeleteFileA(image.c_str());
}

TEST(OpenImageDialog, AFileThatIsNoImageLeavesThePreviewEmpty) {
  std::string folder = TempFolder() + "\\kaputt";
  CreateDirectoryA(folder.c_str(), nullptr);
  std::string broken = folder + "\\kaputt.tif";
  HANDLE file = CreateFileA(broken.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(file, "kein Bild", 9, &written, nullptr);
  CloseHandle(file);
  TiffThumbnailSource source;
  InstallFileThumbnailSource(&source);
  COLORREF centre = CLR_INVALID;
  std::string sizeShown;
  DialogRobot robot("Name der Bilddatei:", [&](HWND dialog) {
    HWND list = DialogRobot::FindDescendantOfClass(dialog, WC_LISTVIEWA);
    LVITEMA item;
    ZeroMemory(&item, sizeof item);
    item.stateMask = LVIS_SELECTED;
    item.state = LVIS_SELECTED;
    SendMessageA(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&item));
    // 1089 is also an item of the system's dialog: take the one of our template.
    HWND hook = GetParent(DialogRobot::FindDescendant(dialog, kPreviewButton));
    HWND size = GetDlgItem(hook, kFileSizeText);
    DialogRobot::WaitForText(size, "0K", 3000);
    sizeShown = DialogRobot::TextOf(size);
    HWND preview = GetDlgItem(hook, kPreviewButton);
    Sleep(300);
    RECT box;
    GetClientRect(preview, &box);
    HDC dc = GetDC(preview);
    centre = GetPixel(dc, box.right / 2, box.bottom / 2);
    ReleaseDC(preview, dc);
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  });
  char path[MAX_PATH] = "";
  uint16_t offset = 0;
  EXPECT_FALSE(AskOpenImageFile(nullptr, "Name der Bilddatei:", "TIFF\0*.tif\0", folder.c_str(), path, sizeof path,
                                &offset));
  InstallFileThumbnailSource(nullptr);
  EXPECT_EQ(sizeShown, "0K");
  EXPECT_EQ(centre, GetSysColor(COLOR_MENU));
  EXPECT_EQ(source.opened, source.closed);
  DeleteFileA(broken.c_str());
  RemoveDirectoryA(folder.c_str());
}

TEST(FolderChooser, ShowsTheCaptionAndGermanButtonsAndStartsAtTheFolder) {
  std::string folder = TempFolder();
  std::string okText, cancelText;
  DialogRobot robot("Verzeichnis w\xE4hlen", [&](HWND dialog) {
    okText = DialogRobot::TextOf(GetDlgItem(dialog, IDOK));
    cancelText = DialogRobot::TextOf(GetDlgItem(dialog, IDCANCEL));
    // The chooser selects its start folder after it appears, slowly on a busy
    // machine (it walks the drives first); confirm only then.
    HWND tree = DialogRobot::FindDescendantOfClass(dialog, WC_TREEVIEWA);
    for (int waited = 0; waited < 180000 && SelectedTreeText(tree) != "zir_dialogs_test"; waited += 20) Sleep(20);
    DialogRobot::Click(dialog, IDOK);
  });
  char start[MAX_PATH];
  std::snprintf(start, sizeof start, "%s\\", folder.c_str());
  char path[MAX_PATH] = "";
  EXPECT_TRUE(ChooseFolder(nullptr, "Verzeichnis w\xE4hlen", start, path, sizeof path));
  EXPECT_EQ(okText, "OK");
  EXPECT_EQ(cancelText, "Abbruch");
  EXPECT_EQ(std::string(start), folder) << "the trailing backslash is removed";
  EXPECT_EQ(lstrcmpiA(path, folder.c_str()), 0) << path;
}

int gJpegOptionsRuns = 0;
int RunJpegOptionsForTest(WindowHandle) { return ++gJpegOptionsRuns; }

TEST(SaveImageDialog, TheBatchCounterIsCorrectedTwoSecondsAfterTyping) {
  ScopedScriptedSystem system;  // records the beep
  BatchCounterSettings batch;
  batch.batchScan = true;
  batch.startCounter = 41;
  SaveAsOutputServices output;
  output.batch = &batch;
  output.runJpegOptions = RunJpegOptionsForTest;
  InstallSaveAsOutputServices(output);
  gJpegOptionsRuns = 0;

  std::string shownAtStart, shownSoonAfter, fileName;
  bool corrected = false, optionsEnabled = false, editEnabledAfterReset = true;
  DWORD correctedAfter = 0;
  std::string shownAfterReset, fileNameAfterTypeChange;
  bool optionsEnabledForTiff = true;
  DialogRobot robot("", [&](HWND dialog) {
    HWND counter = DialogRobot::FindDescendant(dialog, kSaveAsCounterEdit);
    HWND hook = GetParent(counter);
    shownAtStart = DialogRobot::TextOf(counter);
    HWND nameBox = GetDlgItem(dialog, cmb13) ? GetDlgItem(dialog, cmb13) : GetDlgItem(dialog, edt1);
    fileName = DialogRobot::TextOf(nameBox);
    optionsEnabled = IsWindowEnabled(GetDlgItem(hook, kSaveAsOptionsButton)) != FALSE;
    DialogRobot::Click(hook, kSaveAsOptionsButton);
    DWORD typed = GetTickCount();
    SetWindowTextA(counter, "12000");
    Sleep(1000);
    shownSoonAfter = DialogRobot::TextOf(counter);
    corrected = DialogRobot::WaitForText(counter, "9999", 4000);
    correctedAfter = GetTickCount() - typed;
    HWND reset = GetDlgItem(hook, kSaveAsResetCheck);
    SendMessageA(reset, BM_CLICK, 0, 0);
    Sleep(100);
    shownAfterReset = DialogRobot::TextOf(counter);
    editEnabledAfterReset = IsWindowEnabled(counter) != FALSE;
    HWND types = GetDlgItem(dialog, cmb1);
    SendMessageA(types, CB_SETCURSEL, 0, 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(cmb1, CBN_SELENDOK), reinterpret_cast<LPARAM>(types));
    Sleep(100);
    fileNameAfterTypeChange = DialogRobot::TextOf(nameBox);
    optionsEnabledForTiff = IsWindowEnabled(GetDlgItem(hook, kSaveAsOptionsButton)) != FALSE;
    HoldForALook();
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  });
  char path[MAX_PATH] = "scan.tif";
  uint16_t offset = 0;
  int filterIndex = 2;
  EXPECT_FALSE(SaveImageAs(nullptr, "TIFF\0*.tif\0JPEG\0*.jpg\0", &filterIndex, TempFolder().c_str(), path,
                           sizeof path, &offset));
  InstallSaveAsOutputServices(SaveAsOutputServices());

  EXPECT_EQ(shownAtStart, "42");
  EXPECT_EQ(fileName, "scan.jpg") << "the chosen type's extension";
  EXPECT_TRUE(optionsEnabled) << "JPEG has options";
  EXPECT_EQ(gJpegOptionsRuns, 1);
  EXPECT_EQ(shownSoonAfter, "12000") << "the correction waits for two seconds";
  EXPECT_TRUE(corrected);
  EXPECT_GE(correctedAfter, 1900u);
  ASSERT_FALSE(system->beeps.empty());
  EXPECT_EQ(system->beeps[0], static_cast<uint32_t>(MB_ICONEXCLAMATION));
  EXPECT_EQ(shownAfterReset, "1");
  EXPECT_FALSE(editEnabledAfterReset);
  EXPECT_EQ(fileNameAfterTypeChange, "scan.tif");
  EXPECT_FALSE(optionsEnabledForTiff) << "TIFF has no options";
  EXPECT_TRUE(batch.resetBeforeEachBatch);
  EXPECT_EQ(batch.startCounter, 0) << "the working counter is stored at closing";
}

TEST(MessageBoxes, AnAlertShowsARealBoxUnlessSuppressed) {
  std::string text;
  DialogRobot robot("Warnung", [&](HWND box) {
    text = DialogRobot::TextOf(DialogRobot::FindDescendant(box, 0xFFFF));
    PostMessageA(box, WM_COMMAND, IDNO, 0);
  });
  EXPECT_EQ(ShowMessageBox(nullptr, "Warnung", "Ersetzen ?", kBoxYesNo | kBoxIconStop), kAnswerNo);
  EXPECT_EQ(text, "Ersetzen ?");
  SuppressAlerts(true);
  EXPECT_EQ(ShowAlertText(nullptr, 0, "nicht gezeigt"), 0);
  SuppressAlerts(false);
}

}  // namespace
