// The main dialog (template 110): its procedure, initialisation, commands
// and the preview control it paints.
#pragma once

#include <windows.h>

INT_PTR CALLBACK MainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
