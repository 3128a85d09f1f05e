// The product's prompts: the real dialogs and message boxes.
#include "foundation/dialogs/dialog_services.h"
#include "foundation/dialogs/prompts.h"
#include "foundation/dialogs/win32/prompt_dialogs_win32.h"
#include "foundation/memory.h"

namespace {

// Modal dialogs run with the floating tool windows disabled.
class ToolWindowsDisabled {
 public:
  ToolWindowsDisabled() { EnableToolWindowsForModal(false); }
  ~ToolWindowsDisabled() { EnableToolWindowsForModal(true); }
  ToolWindowsDisabled(const ToolWindowsDisabled&) = delete;
  ToolWindowsDisabled& operator=(const ToolWindowsDisabled&) = delete;
};

PromptAnswer RunMessageBox(const PromptRequest& request) {
  HWND owner = request.owner ? static_cast<HWND>(request.owner) : GetActiveWindow();
  PromptAnswer answer;
  answer.result = MessageBoxA(owner, request.text.c_str(), request.title.c_str(), request.style);
  return answer;
}

}  // namespace

HINSTANCE DialogModule() {
  HINSTANCE module = static_cast<HINSTANCE>(GetModuleInstance());
  return module ? module : GetModuleHandleA(nullptr);
}

PromptAnswer ShowPlatformPrompt(const PromptRequest& request) {
  if (request.kind == PromptKind::kMessageBox) return RunMessageBox(request);
  ToolWindowsDisabled disabled;
  switch (request.kind) {
    case PromptKind::kName: return RunNameDialog(request);
    case PromptKind::kFolder: return RunFolderChooser(request);
    case PromptKind::kSaveImage: return RunSaveImageDialog(request);
    default: return RunFileDialog(request);
  }
}
