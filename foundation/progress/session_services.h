// What the progress and status windows, the batch counter, the colour-mode
// names and the help document need of the layers above. Those layers install
// their parts at start-up; until then there is no main window, no job
// window, no application store, the output stays RGB, and every dialog is
// owned by the window it is given.
#pragma once

#include <cstdint>

#include "foundation/dialogs/prompts.h"
#include "foundation/file_io.h"

struct SessionServices {
  WindowHandle (*mainDialog)() = nullptr;
  // The job manager window and the multi-job window of the output layer.
  WindowHandle (*jobManagerWindow)() = nullptr;
  WindowHandle (*multiJobWindow)() = nullptr;
  // The window a new progress window is centred over.
  WindowHandle (*ownerWindow)() = nullptr;
  // Whether the main accelerator table took the message (a system MSG).
  bool (*translateMainAccelerator)(void* message) = nullptr;
  // The application store: the open one (null when closed), and opening and
  // closing it for a single call.
  FileHandle (*appStore)() = nullptr;
  FileHandle (*openAppStore)() = nullptr;
  void (*closeAppStore)() = nullptr;
  // Colour management: whether the output stays RGB.
  bool (*outputIsRgb)() = nullptr;
  // The session setting that names every colour image of more than 8 bits "RGB".
  bool (*highBitColorIsRgb)() = nullptr;
};
void InstallSessionServices(const SessionServices& services);
const SessionServices& InstalledSessionServices();

// Each is null when its layer has not installed it.
WindowHandle MainDialogWindow();
WindowHandle JobManagerWindow();
WindowHandle MultiJobWindow();
WindowHandle OwnerWindowForDialogs();
