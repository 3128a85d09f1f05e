#include "twain/session_services_install.h"

#include "color/profile_writer.h"
#include "foundation/progress/session_services.h"
#include "session/scan_session.h"
#include "state/data_source_state.h"
#include "tone/gamma_tables.h"
#include "twain/capabilities.h"
#include "twain/source_lifecycle.h"
#include "twain/transfers.h"
#include "ui/dialog_shell.h"
#include "ui/main_commands.h"

void InstallSourceSessionServices() {
  SessionServices services;
  services.mainDialog = [] { return static_cast<WindowHandle>(gMainDialog); };
  services.jobManagerWindow = [] { return static_cast<WindowHandle>(gJobManagerWindow); };
  // Progress windows centre over the main window while it exists.
  services.ownerWindow = [] { return static_cast<WindowHandle>(gMainDialog); };
  services.translateMainAccelerator = TranslateMainAccelerator;
  services.appStore = [] { return gAppStore; };
  services.openAppStore = OpenAppStore;
  services.closeAppStore = CloseAppStore;
  InstallSessionServices(services);

  // The main window's Scan and Cancel.
  MainWindowServices window;
  window.startTransfer = StartTransferFromUi;
  window.requestClose = RequestCloseSource;
  window.transferCountLimited = IsTransferCountLimited;
  InstallMainWindowServices(window);
}

void InstallColorServices() {
  ProfileWriterServices services;
  services.greyBalanceTable = BuildGreyBalanceTable;
  InstallProfileWriterServices(services);
}
