#include "foundation/dialogs/dialog_services.h"

namespace {
ToolWindowSwitch gToolWindowSwitch = nullptr;
SaveAsOutputServices gSaveAsOutput;
FileThumbnailSource* gFileThumbnailSource = nullptr;
}  // namespace

void InstallToolWindowSwitch(ToolWindowSwitch toolWindowSwitch) { gToolWindowSwitch = toolWindowSwitch; }

void EnableToolWindowsForModal(bool enable) {
  if (gToolWindowSwitch) gToolWindowSwitch(enable);
}

void InstallSaveAsOutputServices(const SaveAsOutputServices& services) { gSaveAsOutput = services; }

const SaveAsOutputServices& SaveAsOutput() { return gSaveAsOutput; }

void InstallFileThumbnailSource(FileThumbnailSource* source) { gFileThumbnailSource = source; }

FileThumbnailSource* InstalledFileThumbnailSource() { return gFileThumbnailSource; }
