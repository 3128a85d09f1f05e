// The information window (dialog 107, the module's picture) and the help
// document that the shell opens.
#pragma once

#include <cstdint>

#include "foundation/progress/session_services.h"

enum : uint32_t {
  kInfoDialog = 107,
  kInfoPictureItem = 1231,
  kInfoBitmap = 102,
  kHelpFolderString = 474,
  kNoPdfReaderString = 521,
  kHelpMissingString = 523,
};

// The modeless information window, or null.
extern WindowHandle gInfoWindow;

// Shows dialog 107 modeless (kept in gInfoWindow) or modal; returns 0.
int ShowInfoWindow(bool modeless, WindowHandle owner);
void CloseInfoWindow();
// Opens settings folder + "Help\" + the string's file name with the shell;
// the shell's result, or the alert's answer when the file is missing.
intptr_t OpenHelpDocument(uint32_t fileNameStringId);
