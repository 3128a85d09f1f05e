// The main dialog (template 110): its procedure, initialisation, commands
// and the preview control it paints.
#pragma once

#include <windows.h>

INT_PTR CALLBACK MainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The preview control laid out for the scan area within the work area, the
// preview pass set up for its size, and a stored preview taken back.
void LayoutPreviewArea(HWND dialog);
// The preview and the frame outlines drawn now.
void PaintPreviewNow(HWND dialog);
