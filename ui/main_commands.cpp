#include "ui/main_commands.h"

uint8_t gUiBusyState = kUiIdle;

bool TakeCommandWhileBusy(int command) {
  if (gUiBusyState == kUiIdle) return false;
  const bool cancel = command == kCommandCancel || command == kCommandPaletteCancel || command == kCommandCloseKey;
  if (cancel && gUiBusyState == kUiPrescanRunning) gUiBusyState = kUiCancelRequested;
  return true;
}

namespace {
MainWindowServices gServices;
}

void InstallMainWindowServices(const MainWindowServices& services) { gServices = services; }
const MainWindowServices& MainWindowService() { return gServices; }
