#include "foundation/dialogs/prompts.h"

namespace {
PromptResponder* gPromptResponder = nullptr;
}

const char* PromptKindName(PromptKind kind) {
  switch (kind) {
    case PromptKind::kName: return "name";
    case PromptKind::kFolder: return "folder";
    case PromptKind::kOpenFile: return "open file";
    case PromptKind::kOpenImageFile: return "open image file";
    case PromptKind::kSaveFile: return "save file";
    case PromptKind::kSaveImage: return "save image";
    case PromptKind::kMessageBox: return "message box";
    case PromptKind::kPopupMenu: return "popup menu";
  }
  return "?";
}

void InstallPromptResponder(PromptResponder* responder) { gPromptResponder = responder; }

PromptResponder* InstalledPromptResponder() { return gPromptResponder; }

PromptAnswer AskPrompt(const PromptRequest& request) {
  if (gPromptResponder) return gPromptResponder->Answer(request);
  return ShowPlatformPrompt(request);
}
