// The photo program's message boxes. Each goes to the installed responder
// when there is one (a test plays the person), else to the system's box.
#pragma once

#include <windows.h>

#include <string>

struct MessageBoxRequest {
  HWND owner;
  std::string text;
  std::string caption;
  UINT style;
};

class MessageBoxResponder {
 public:
  virtual ~MessageBoxResponder() = default;
  // The button the person pressed (IDOK, IDYES, ...).
  virtual int Answer(const MessageBoxRequest& request) = 0;
};

// Null goes back to the system's boxes.
void InstallMessageBoxResponder(MessageBoxResponder* responder);

// The program's own caption when none is given.
int ShowMessageBox(HWND owner, const std::string& text, UINT style, const std::string& caption = "PhotoRefiner");
