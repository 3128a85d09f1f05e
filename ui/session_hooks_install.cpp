#include "ui/session_hooks_install.h"

#include "session/user_interface_hooks.h"
#include "ui/batch_end.h"
#include "ui/defaults_record.h"
#include "ui/option_records.h"
#include "ui/progress_panes.h"
#include "ui/ui_state_records.h"

void InstallUserInterfaceSessionHooks() {
  SessionUserInterfaceHooks hooks;
  hooks.initDeviceCapabilities = InitDeviceCapabilities;
  hooks.loadOptionSelection = LoadOptionSelection;
  hooks.loadColourBalanceAndDefaults = LoadColourBalanceAndDefaults;
  hooks.saveColourBalanceAndDefaults = SaveColourBalanceAndDefaults;
  hooks.announceBatchEnd = AnnounceBatchEnd;
  hooks.saveUserInterfaceState = SaveUserInterfaceState;
  hooks.pushPreviewPane = PushProgressPreviewPane;
  hooks.drawRowsIntoPreviewPane = DrawRowsIntoProgressPane;
  hooks.popPreviewPane = PopProgressPreviewPane;
  hooks.freePaneBitmap = FreePaneBitmap;
  InstallSessionUserInterfaceHooks(hooks);
}
