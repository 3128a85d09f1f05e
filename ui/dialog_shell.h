// The dialog shell: start and end of the main window.
#pragma once

// Creates the modeless main window as a child of the host's window.
bool CreateMainDialog();
// Destroys the main window and its tool windows.
void DestroyMainDialog();
