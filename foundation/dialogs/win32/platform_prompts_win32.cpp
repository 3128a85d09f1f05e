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

// The items at the cursor, owned by the requester; the chosen command, 0 when dismissed.
PromptAnswer RunPopupMenu(const PromptRequest& request) {
  PromptAnswer answer;
  HMENU menu = CreatePopupMenu();
  if (!menu) return answer;
  for (const PromptMenuItem& item : request.menu) {
    if (item.separator)
      AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    else
      AppendMenuA(menu, MF_STRING | (item.checked ? MF_CHECKED : MF_UNCHECKED), item.command, item.text.c_str());
  }
  HWND owner = request.owner ? static_cast<HWND>(request.owner) : GetActiveWindow();
  POINT at = {};
  GetCursorPos(&at);
  answer.result = static_cast<int>(
      TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, at.x, at.y, 0, owner, nullptr));
  DestroyMenu(menu);
  return answer;
}

}  // namespace

HINSTANCE DialogModule() {
  HINSTANCE module = static_cast<HINSTANCE>(GetModuleInstance());
  return module ? module : GetModuleHandleA(nullptr);
}

PromptAnswer ShowPlatformPrompt(const PromptRequest& request) {
  if (request.kind == PromptKind::kMessageBox) return RunMessageBox(request);
  if (request.kind == PromptKind::kPopupMenu) return RunPopupMenu(request);
  ToolWindowsDisabled disabled;
  switch (request.kind) {
    case PromptKind::kName: return RunNameDialog(request);
    case PromptKind::kFolder: return RunFolderChooser(request);
    case PromptKind::kSaveImage: return RunSaveImageDialog(request);
    default: return RunFileDialog(request);
  }
}
