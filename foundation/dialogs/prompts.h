// Every modal question the data source puts to the user (names, folder and
// file choosers, message boxes) is described by one PromptRequest and answered
// by one PromptAnswer. In the product the platform shows the real dialog; a
// test installs a PromptResponder that plays the person (see
// foundation/dialogs/testing/scoped_prompts.h).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A window of the platform, opaque to platform-neutral code; null means none.
typedef void* WindowHandle;

enum class PromptKind {
  kName,           // the name dialog
  kFolder,         // the folder chooser
  kOpenFile,       // the open dialog
  kOpenImageFile,  // the open dialog with the image preview
  kSaveFile,       // the save dialog
  kSaveImage,      // the save-as dialog with the file types and the batch counter
  kMessageBox,     // a message box (alerts among them)
  kPopupMenu,      // a popup menu at the cursor; the answer's result is the chosen command (0: none)
};
const char* PromptKindName(PromptKind kind);

// Message box buttons and icons (the system's values).
enum : uint32_t {
  kBoxOk = 0x00,
  kBoxOkCancel = 0x01,
  kBoxYesNoCancel = 0x03,
  kBoxYesNo = 0x04,
  kBoxIconStop = 0x10,
  kBoxIconQuestion = 0x20,
  kBoxIconExclamation = 0x30,
  kBoxIconInformation = 0x40,
};
// Answers: a message box's button, or for dialogs kAnswerOk / kAnswerNone (cancelled).
enum : int { kAnswerNone = 0, kAnswerOk = 1, kAnswerCancel = 2, kAnswerYes = 6, kAnswerNo = 7 };

// One item of a popup menu: a command, or a separator.
struct PromptMenuItem {
  std::string text;
  uint32_t command = 0;
  bool checked = false;
  bool separator = false;
};

struct PromptRequest {
  PromptKind kind = PromptKind::kMessageBox;
  WindowHandle owner = nullptr;  // null: the active window
  std::string title;             // box caption, dialog title, folder chooser caption
  std::string text;              // message text; the name dialog's prompt
  uint32_t titleId = 0;          // the string ids the title and text came from (0 = none)
  uint32_t textId = 0;
  std::string initial;           // proposed name or file name; the folder chooser's start folder
  std::string folder;            // the file dialogs' initial folder
  // File dialogs: pairs of description and pattern, each followed by its
  // zero byte, the list ended by one more zero byte.
  std::string filter;
  int filterIndex = 1;           // 1-based
  std::string defaultExtension;  // the save dialog's
  uint32_t style = 0;            // message boxes: buttons and icon
  uint32_t capacity = 0;         // file dialogs: the caller's path buffer in bytes
  std::vector<PromptMenuItem> menu;  // popup menus: the items in their order
};

struct PromptAnswer {
  int result = kAnswerNone;  // the button, or kAnswerOk for a dialog's OK
  std::string value;         // the name, folder or file path chosen
  int filterIndex = 1;       // the file type chosen in a save-as dialog (1-based)
};

// Plays the person at modal prompts.
class PromptResponder {
 public:
  virtual ~PromptResponder() = default;
  virtual PromptAnswer Answer(const PromptRequest& request) = 0;
};

// Installs a responder (tests); null returns to the platform's dialogs.
void InstallPromptResponder(PromptResponder* responder);
PromptResponder* InstalledPromptResponder();

// Puts the question: to the installed responder, else to the platform.
PromptAnswer AskPrompt(const PromptRequest& request);

// The platform's own dialogs (defined once per configuration; the host build
// has no user interface and answers every prompt with kAnswerNone).
PromptAnswer ShowPlatformPrompt(const PromptRequest& request);
