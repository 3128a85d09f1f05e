// The main window's commands and its busy state, apart from the window: what
// acts while a prescan runs, and the services of the TWAIN layer above that
// the Scan and Cancel commands end in.
#pragma once

#include <cstdint>

enum MainCommand : int {
  kCommandCancel = 2,
  kCommandPrescan = 1012,
  kCommandScan = 1017,
  kCommandPaletteCancel = 1018,
  kCommandPreview = 1047,
  kCommandOverview = 1220,
  kCommandRotate = 1221,
  kCommandDeleteFrame = 1223,
  kCommandBrightnessExtremes = 1224,
  kCommandFrameNumbers = 1225,
  kCommandToolStripSelector = 1226,
  kCommandCloseKey = 40007,  // Ctrl+W
  kCommandDevicePrescan = 10100,
};

// 0 idle, 1 prescan running, 2 cancel requested.
enum : uint8_t { kUiIdle = 0, kUiPrescanRunning = 1, kUiCancelRequested = 2 };
extern uint8_t gUiBusyState;

// While a prescan runs only the cancel commands act: a running prescan is
// asked to stop. True when the command was taken here (every command is, while busy).
bool TakeCommandWhileBusy(int command);

// What the Scan and Cancel commands end in; the TWAIN layer installs them at
// module attach. Without them a scan starts nothing and Cancel closes nothing.
struct MainWindowServices {
  bool (*startTransfer)() = [] { return false; };
  void (*requestClose)() = [] {};
  // The host takes a limited number of images: no batch scan then.
  bool (*transferCountLimited)() = [] { return false; };
};
void InstallMainWindowServices(const MainWindowServices& services);
const MainWindowServices& MainWindowService();
