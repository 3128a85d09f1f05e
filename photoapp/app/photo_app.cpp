#include "photoapp/app/photo_app.h"

#include <commctrl.h>

#include "photoapp/dialogs/main_dialog.h"

PhotoApp::PhotoApp() : WinApp("PhotoRefiner") {}

bool PhotoApp::InitInstance() {
  // The dialogs' trackbars and progress bar.
  INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&classes);
  SetRegistryKey("PicRefiner");
  MainDialog dialog;
  dialog.DoModal();
  return false;
}
