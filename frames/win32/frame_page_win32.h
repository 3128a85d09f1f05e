// The palette's frame page (dialog 1547): the current frame's name, sizes,
// scale, quality factor, screen ruling, resolution and data size, and the
// scan-type, filter and settings combos. Until the floating palette hosts
// its pages, whoever creates the page gives it a parent.
#pragma once

#include <windows.h>

enum : int {
  kFramePageTemplate = 1547,
  kFilterCombo = 1032,
  kScanTypeCombo = 1033,
  kSettingsCombo = 1034,
  kImageTypeCombo = 1045,
};

extern HWND gPaletteFramePage;

// Creates the page as a child of the parent and fills it; null when it cannot.
HWND CreateFramePage(HWND parent);
INT_PTR CALLBACK FramePageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

// The first fill of the panel's pages that exist; the main window runs its
// own share (caption and layout) before it.
void InitFramePanel();
// The scan-type, filter, settings and image-type combos of the page.
void FillImageCombos(HWND page);

// The combos of the page.
void FillScanTypeCombo(HWND page);
void FillFilterCombo(HWND page);
// The settings records of the application store, then "Löschen..." and
// "Speichern"; the record that equals the current frame is selected, else the last item.
void FillSettingsComboWithCommands(HWND page);
void FillSettingsComboOfPanel(HWND page);
// The tone tools' subjects, the frame's image type selected.
void FillImageTypeCombo(HWND page);
