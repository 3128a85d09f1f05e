// The dialog shell: start and end of the main window.
#pragma once

// Creates the modeless main window as a child of the host's window.
bool CreateMainDialog();
// Destroys the main window and its tool windows.
void DestroyMainDialog();
// Accelerator table 219 for the main window, for the message loops of
// progress windows: true when it took the message (a system MSG).
bool TranslateMainAccelerator(void* message);
// The preview laid out again for the main window and rebuilt from the
// stored preview; nothing without the window.
void RelayoutMainPreview();
// The main window shows the current frame: preview, outlines and frame panel.
void RefreshMainEditor();
