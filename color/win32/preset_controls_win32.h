// The preset controls of the selective colour pages: the correction combo
// (control 1030) and the popup menu of a colour column or hue sector, for
// the six-colour presets and the twelve-colour presets. Each call that can
// change the current frame's matrix says so; the page then refreshes.
#pragma once

#include <windows.h>

#include <cstdint>

#include "color/matrix_presets.h"

constexpr int kCorrectionCombo = 1030;

// Generic over the family.
void FillPresetCombo(HWND page, const MatrixPresetFamily& family);
void SelectMatchingPreset(HWND page, const MatrixPresetFamily& family);
bool OnPresetComboChange(HWND page, const MatrixPresetFamily& family);
bool ShowPartPresetMenu(HWND page, const MatrixPresetFamily& family, int part);
bool OnPartPresetCommand(HWND page, const MatrixPresetFamily& family, uint32_t command);

// The six-colour page's.
void FillCorrectionCombo(HWND page);
void SelectMatchingCorrection(HWND page);
bool OnCorrectionComboChange(HWND page);
bool ShowColourPresetMenu(HWND page, uint16_t colour);
bool OnColourPresetCommand(HWND page, uint16_t commandId);

// The twelve-colour page's.
void FillCorrectionCombo12(HWND page);
void SelectMatchingCorrection12(HWND page);
bool OnCorrectionComboChange12(HWND page);
bool ShowSectorPresetMenu(HWND page, int sector);
bool OnSectorPresetCommand(HWND page, uint32_t commandId);
