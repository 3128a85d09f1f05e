#include "photoapp/window/message_box.h"

namespace {
MessageBoxResponder* gResponder = nullptr;
}

void InstallMessageBoxResponder(MessageBoxResponder* responder) { gResponder = responder; }

int ShowMessageBox(HWND owner, const std::string& text, UINT style, const std::string& caption) {
  if (gResponder) return gResponder->Answer(MessageBoxRequest{owner, text, caption, style});
  return MessageBoxA(owner, text.c_str(), caption.c_str(), style);
}
