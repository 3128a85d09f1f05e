// The shared frame of the modal tools, with a small tool of the test's own:
// main accelerators reach the tool through the message-filter hook, and a
// typed value out of range is applied limited at once and rewritten 2000 ms
// (scripted) after the keystroke, selected and with a beep.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "foundation/scripted_system.h"
#include "state/data_source_state.h"
#include "tone/ui/tool_dialog_frame_win32.h"

namespace {

// The platform's services with a clock and a speaker of the test's own.
class ScriptedClock : public PlatformServicesForwarder {
 public:
  uint32_t ticks = 1000;
  std::vector<uint32_t> beeps;
  void SoundBeep(uint32_t type) override { beeps.push_back(type); }
  uint32_t TickCount() override { return ticks; }
};

constexpr int kEdit = 901;
constexpr WORD kAcceleratorCommand = 40009;

ToolDialogCommon gCommon;
std::vector<int32_t> gApplied;
std::atomic<int> gAcceleratorCommands{0};

INT_PTR CALLBACK TestToolProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  INT_PTR result = FALSE;
  if (message != WM_INITDIALOG && HandleToolDialogMessage(dialog, message, wParam, lParam, &gCommon, &result))
    return result;
  switch (message) {
    case WM_INITDIALOG:
      gCommon = ToolDialogCommon{};
      WriteToolEdit(dialog, kEdit, 7, &gCommon);
      OpenToolDialogCommon(dialog, &gCommon);
      SetFocus(GetDlgItem(dialog, kEdit));
      return FALSE;
    case WM_COMMAND:
      if (LOWORD(wParam) == kEdit && HIWORD(wParam) == EN_CHANGE && IsUserEdit(gCommon))
        gApplied.push_back(ReadToolEdit(dialog, kEdit, -50, 50, &gCommon));
      if (LOWORD(wParam) == kAcceleratorCommand) ++gAcceleratorCommands;
      if (LOWORD(wParam) == IDOK) {
        CloseToolDialogCommon(dialog, &gCommon);
        EndDialog(dialog, 1);
      }
      return TRUE;
    default:
      return FALSE;
  }
}

std::string EditText(HWND dialog) {
  char text[32] = {};
  GetDlgItemTextA(dialog, kEdit, text, sizeof text);
  return text;
}

TEST(ToolDialogFrame, AcceleratorsReachTheToolAndTypedValuesAreCorrectedLater) {
  ResetDataSourceState();
  ScriptedClock clock;
  InstallSystemServices(&clock);
  ACCEL accelerator = {FVIRTKEY, VK_F5, kAcceleratorCommand};
  gMainAccelerators[0] = CreateAcceleratorTableA(&accelerator, 1);
  gApplied.clear();
  gAcceleratorCommands = 0;

  std::vector<std::string> shown;
  std::thread robot([&] {
    HWND dialog = nullptr;
    for (int i = 0; i < 400; ++i, Sleep(25)) {
      dialog = FindWindowA("#32770", "Werkzeug");
      if (dialog && IsWindowVisible(dialog)) break;
    }
    if (!dialog) ExitProcess(3);
    HWND edit = GetDlgItem(dialog, kEdit);
    SendMessageA(edit, EM_SETSEL, 0, -1);
    SendMessageA(edit, WM_CHAR, '8', 0);
    SendMessageA(edit, WM_CHAR, '0', 0);
    clock.ticks += 1999;
    SendMessageA(dialog, WM_TIMER, kHintTimerId, 0);
    shown.push_back(EditText(dialog));            // not yet
    clock.ticks += 1;
    SendMessageA(dialog, WM_TIMER, kHintTimerId, 0);
    shown.push_back(EditText(dialog));            // rewritten
    DWORD start = 0, end = 0;
    SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    shown.push_back(std::to_string(start) + "-" + std::to_string(end));
    // A key of the main accelerators, through the tool's own message loop.
    PostMessageA(edit, WM_KEYDOWN, VK_F5, 0);
    for (int i = 0; i < 200 && gAcceleratorCommands == 0; ++i) Sleep(10);
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  });
  EXPECT_EQ(RunToolDialog(900, nullptr, TestToolProc, 0), 1);
  robot.join();
  InstallSystemServices(nullptr);
  DestroyAcceleratorTable(static_cast<HACCEL>(gMainAccelerators[0]));
  ResetDataSourceState();

  // "8" applies 8, "80" applies 50 at once; the rewrite is no user input.
  EXPECT_EQ(gApplied, (std::vector<int32_t>{8, 50}));
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown[0], "80");
  EXPECT_EQ(shown[1], "50");
  EXPECT_EQ(shown[2], "0-2");
  EXPECT_EQ(clock.beeps.size(), 1u);
  EXPECT_EQ(gAcceleratorCommands, 1);
  EXPECT_EQ(ToolDialogHook(), nullptr);
}

}  // namespace
