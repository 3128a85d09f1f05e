// The palette's general page (dialog 368): scan mode, original, positive or
// negative and frame sets. Until the floating palette hosts its pages, the
// main window carries this one beside its preview.
#pragma once

#include <windows.h>

enum : int { kGeneralPageTemplate = 368 };

extern HWND gPaletteGeneralPage;

// Creates the page as a hidden child of the parent; null when it cannot.
HWND CreateGeneralPage(HWND parent);
INT_PTR CALLBACK GeneralPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
