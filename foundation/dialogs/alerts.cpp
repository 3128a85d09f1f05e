#include "foundation/dialogs/alerts.h"

#include <cstring>

#include "foundation/system.h"

int16_t gAlertNesting = 0;

namespace {

constexpr int kAlertTextSize = 256;

void LoadTextOrEmpty(ModuleHandle module, uint32_t id, char* text) {
  text[0] = '\0';
  if (id != 0) LoadResourceString(module, id, text, kAlertTextSize);
}

}  // namespace

void SuppressAlerts(bool suppress) {
  if (suppress) {
    ++gAlertNesting;
  } else if (gAlertNesting > 0) {
    // An unbalanced release must not leave the next suppression without effect.
    --gAlertNesting;
  }
}

int ShowMessageBox(WindowHandle owner, const char* caption, const char* text, uint32_t style, uint32_t titleId,
                   uint32_t textId) {
  PromptRequest request;
  request.kind = PromptKind::kMessageBox;
  request.owner = owner;
  request.title = caption;
  request.text = text;
  request.style = style;
  request.titleId = titleId;
  request.textId = textId;
  return AskPrompt(request).result;
}

int ShowAlert(ModuleHandle module, uint32_t captionId, uint32_t textId, bool yesNo, WindowHandle owner) {
  if (gAlertNesting > 0) return 0;
  char caption[kAlertTextSize];
  char text[kAlertTextSize];
  LoadTextOrEmpty(module, captionId, caption);
  LoadTextOrEmpty(module, textId, text);
  return ShowMessageBox(owner, caption, text, kBoxIconStop | (yesNo ? kBoxYesNo : kBoxOk), captionId, textId);
}

int ShowError(ModuleHandle module, uint32_t captionId, uint32_t textId1, uint32_t textId2, uint32_t textId3,
              uint32_t textId4) {
  if (gAlertNesting > 0) return 0;
  char caption[kAlertTextSize];
  LoadTextOrEmpty(module, captionId, caption);
  char joined[kAlertTextSize] = "";
  for (uint32_t id : {textId1, textId2, textId3, textId4}) {
    char part[kAlertTextSize];
    LoadTextOrEmpty(module, id, part);
    std::strncat(joined, part, sizeof joined - 1 - std::strlen(joined));
  }
  return ShowMessageBox(nullptr, caption, joined, kBoxIconStop | kBoxOk, captionId, textId1);
}

int ShowAlertText(ModuleHandle module, uint32_t captionId, const char* text) {
  if (gAlertNesting > 0) return 0;
  char caption[kAlertTextSize];
  LoadTextOrEmpty(module, captionId, caption);
  return ShowMessageBox(nullptr, caption, text, kBoxIconStop | kBoxOk, captionId, 0);
}
