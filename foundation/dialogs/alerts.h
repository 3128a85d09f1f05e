// Alerts: message boxes whose texts come from the string table, silenced as a
// whole while work runs that must not stop for a box (batch and job runs).
#pragma once

#include <cstdint>

#include "foundation/dialogs/prompts.h"
#include "foundation/memory.h"

// The caption "Fehler" of error alerts.
constexpr uint32_t kErrorCaptionString = 100;

// Above 0 every alert answers 0 without showing anything.
extern int16_t gAlertNesting;

// true raises gAlertNesting by one, false lowers it by one (never below 0).
void SuppressAlerts(bool suppress);

// A message box through the prompt seam (never silenced); its answer.
// titleId and textId record the string ids the texts came from (0 = none).
int ShowMessageBox(WindowHandle owner, const char* caption, const char* text, uint32_t style, uint32_t titleId = 0,
                   uint32_t textId = 0);

// Caption and text from the string table (id 0 = empty); stop icon, Yes and
// No buttons when yesNo is set; owner null = the active window.
int ShowAlert(ModuleHandle module, uint32_t captionId, uint32_t textId, bool yesNo, WindowHandle owner);
// Stop icon; the text is the strings of the non-zero ids that load, joined
// without separators and cut at 255 characters.
int ShowError(ModuleHandle module, uint32_t captionId, uint32_t textId1, uint32_t textId2, uint32_t textId3,
              uint32_t textId4);
// Stop icon, caption from the string table (0 = empty), the given text.
int ShowAlertText(ModuleHandle module, uint32_t captionId, const char* text);
