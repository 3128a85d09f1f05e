// What the scan session needs of the user interface above it. The user
// interface installs its parts at module attach; until then each part does
// nothing: no capabilities announced, no stored settings loaded or saved, no
// notice at the end of a batch.
#pragma once

struct SessionUserInterfaceHooks {
  // After an image opened as the device.
  void (*initDeviceCapabilities)() = [] {};
  // Before the next frame of a batch: the option slot, then the stored defaults.
  bool (*loadOptionSelection)() = [] { return false; };
  void (*loadColourBalanceAndDefaults)() = [] {};
  // The notice that the last frame of a batch went out.
  void (*announceBatchEnd)() = [] {};
  // Every user-interface record, saved before a frame is frozen for its image.
  void (*saveUserInterfaceState)() = [] {};
};

void InstallSessionUserInterfaceHooks(const SessionUserInterfaceHooks& hooks);
const SessionUserInterfaceHooks& SessionUserInterface();
