// What the modal tone tools need of the main window and the frames above
// them. The main window installs these at module attach; until then there is
// no densitometer to prepare, windows open centred on their owner and keep no
// position, no hint line or tooltip is shown, owner-drawn combo items are
// drawn as plain text, and there are no stored settings or device store.
#pragma once

#include <windows.h>

#include <cstdint>

#include "foundation/file_io.h"
#include "records/frame_record.h"

struct ToolDialogHooks {
  // The window the tone tools open over: the palette's frame page.
  HWND (*framePage)() = nullptr;   // null: the main dialog
  // Runs the densitometer colour through the current frame's corrections and
  // measures the fixed pipette points, before a tool opens.
  void (*prepareDensitometer)() = [] {};
  void (*restoreDialogPosition)(HWND window, int slot) = nullptr;   // null: centred on the owner
  void (*storeDialogPosition)(int slot, int x, int y) = [](int, int, int) {};
  // The hint line of the main window for the control under the pointer.
  void (*refreshHintLine)(HWND dialog, int hintDialogId) = [](HWND, int) {};
  // Answers a tooltip request (WM_NOTIFY); false when it is none.
  bool (*answerTooltip)(HWND dialog, LPARAM notify) = [](HWND, LPARAM) { return false; };
  // Draws an item of an owner-drawn combo; greyed items carry kComboItemGreyed.
  void (*drawComboItem)(const DRAWITEMSTRUCT* item) = nullptr;   // null: plain text
  // The defaults of a new frame (fromScratch false: with the defaults record's pairs).
  void (*initFrameRecord)(FrameRecord* record, bool fromScratch) = [](FrameRecord*, bool) {};
  // Lists the stored settings in the combo; its first entry stands for no record.
  void (*fillSettingsCombo)(HWND dialog, int combo) = [](HWND, int) {};
  // Loads the settings record of the combo's 1-based entry into the frame.
  bool (*loadSettings)(HWND dialog, int combo, int entry, FrameRecord* out) =
      [](HWND, int, int, FrameRecord*) { return false; };
  // Opens the device store into gDeviceStore; null when it cannot.
  FileHandle (*openDeviceStore)() = [] { return FileHandle{nullptr}; };
};

void InstallToolDialogHooks(const ToolDialogHooks& hooks);
const ToolDialogHooks& ToolDialogServices();

// The item-data flag of a greyed combo entry.
constexpr int32_t kComboItemGreyed = 0x10000;
