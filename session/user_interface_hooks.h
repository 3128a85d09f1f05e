// What the scan session needs of the user interface above it. The user
// interface installs its parts at module attach; until then each part does
// nothing: no capabilities announced, no stored settings loaded or saved, no
// notice at the end of a batch, no live preview pane, no batch preview to
// make again.
#pragma once

#include <cstdint>

#include "foundation/geometry.h"
#include "records/device_entry.h"

struct SessionUserInterfaceHooks {
  // After an image opened as the device.
  void (*initDeviceCapabilities)() = [] {};
  // Before the next frame of a batch: the option slot, then the stored defaults.
  bool (*loadOptionSelection)() = [] { return false; };
  void (*loadColourBalanceAndDefaults)() = [] {};
  // Writes them back (the file output counts its batch numbers there).
  void (*saveColourBalanceAndDefaults)() = [] {};
  // The notice that the last frame of a batch went out.
  void (*announceBatchEnd)() = [] {};
  // Every user-interface record, saved before a frame is frozen for its image.
  void (*saveUserInterfaceState)() = [] {};
  // The live preview pane of the progress window around a scan.
  int32_t (*pushPreviewPane)(int32_t width, int32_t height, bool swapAxes, bool keepLarge) =
      [](int32_t, int32_t, bool, bool) { return int32_t{0}; };
  bool (*drawRowsIntoPreviewPane)(const uint8_t* rows, int32_t first, int32_t count, int32_t width, int32_t rowFormat,
                                  int32_t channelView, bool invert, bool flipX, bool flipY, bool swapAxes) =
      [](const uint8_t*, int32_t, int32_t, int32_t, int32_t, int32_t, bool, bool, bool, bool) { return false; };
  int32_t (*popPreviewPane)(bool flipX, bool flipY, bool swapAxes, WinRect* largeRect, uint8_t** largeBlock,
                            void** smallBitmap, WinRect* smallRect, uint8_t** smallBits) =
      [](bool, bool, bool, WinRect*, uint8_t**, void**, WinRect*, uint8_t**) { return int32_t{0}; };
  // Frees the small bitmap a popped pane handed over.
  void (*freePaneBitmap)(void* bitmap) = [](void*) {};
  // Before each frame of a batch: the sheet's preview made again where the
  // batch needs one; false stops the batch.
  bool (*precheckBatchPreview)() = [] { return true; };
  // Re-opens the main window's session on the entry's image; false when none was opened.
  bool (*reopenImageSession)(const DeviceEntry& entry) = [](const DeviceEntry&) { return false; };
};

void InstallSessionUserInterfaceHooks(const SessionUserInterfaceHooks& hooks);
const SessionUserInterfaceHooks& SessionUserInterface();
