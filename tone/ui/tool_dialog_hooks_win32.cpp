#include "tone/ui/tool_dialog_hooks_win32.h"

namespace {

ToolDialogHooks gHooks;

}  // namespace

void InstallToolDialogHooks(const ToolDialogHooks& hooks) { gHooks = hooks; }

const ToolDialogHooks& ToolDialogServices() { return gHooks; }
