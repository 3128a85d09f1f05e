#include "color/win32/preset_controls_win32.h"

#include "color/matrix12_presets.h"
#include "color/selective_presets.h"
#include "foundation/dialogs/win32/combo_win32.h"

namespace {

// The combo's names: every item but the three commands at its end.
std::vector<std::string> ListedNames(HWND page) {
  std::vector<std::string> names;
  const int count = ComboCount(page, kCorrectionCombo);
  for (int index = 1; index <= count - 3; ++index) {
    char text[256] = "";
    ComboItemText(page, kCorrectionCombo, index, text);
    names.push_back(text);
  }
  return names;
}

void Refill(HWND page, const MatrixPresetFamily& family) {
  FillPresetCombo(page, family);
  SelectMatchingPreset(page, family);
}

}  // namespace

void FillPresetCombo(HWND page, const MatrixPresetFamily& family) {
  ComboClear(page, kCorrectionCombo);
  for (const std::string& name : CorrectionNames(family)) ComboAddText(page, kCorrectionCombo, name.c_str());
  for (uint32_t id : {kPresetImportString, kPresetDeleteString, kPresetSaveString})
    ComboInsertStringId(page, kCorrectionCombo, -1, id);
  ComboFitWidth(page, kCorrectionCombo);
  SendDlgItemMessageA(page, kCorrectionCombo, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
}

void SelectMatchingPreset(HWND page, const MatrixPresetFamily& family) {
  const int count = ComboCount(page, kCorrectionCombo);
  const int match = MatchingCorrection(family, ListedNames(page));
  const int wanted = match >= 0 ? match + 1 : count;
  if (ComboSelection(page, kCorrectionCombo) != wanted) ComboSelect(page, kCorrectionCombo, wanted);
}

bool OnPresetComboChange(HWND page, const MatrixPresetFamily& family) {
  const int count = ComboCount(page, kCorrectionCombo);
  const int selection = ComboSelection(page, kCorrectionCombo);
  switch (CorrectionComboActionOf(count, selection)) {
    case CorrectionComboAction::kSave:
      SaveCorrection(family, page);
      Refill(page, family);
      return false;
    case CorrectionComboAction::kDelete:
      RunPresetCleanup(page, family.wholeType, 0);
      Refill(page, family);
      return false;
    case CorrectionComboAction::kImport:
      ImportPresets(family, page, ListedNames(page));
      Refill(page, family);
      return false;
    case CorrectionComboAction::kApply: {
      char name[256] = "";
      ComboItemText(page, kCorrectionCombo, selection, name);
      return ApplyCorrection(family, name);
    }
    case CorrectionComboAction::kNone: break;
  }
  return false;
}

bool ShowPartPresetMenu(HWND page, const MatrixPresetFamily& family, int part) {
  PromptRequest request;
  request.kind = PromptKind::kPopupMenu;
  request.owner = page;
  request.menu = PartPresetMenu(family, part);
  const PromptAnswer answer = AskPrompt(request);
  return answer.result > 0 && OnPartPresetCommand(page, family, static_cast<uint32_t>(answer.result));
}

bool OnPartPresetCommand(HWND page, const MatrixPresetFamily& family, uint32_t command) {
  const PartPresetCommand decoded = DecodePartPresetCommand(family, command);
  switch (decoded.action) {
    case PresetCommand::kSave: SavePartPreset(family, decoded.part, page); return false;
    case PresetCommand::kDelete:
      RunPresetCleanup(page, family.partType(decoded.part), kFirstUserPresetId);
      return false;
    case PresetCommand::kApply: return ApplyPartPreset(family, decoded.part, decoded.index);
    case PresetCommand::kNone: break;
  }
  return false;
}

void FillCorrectionCombo(HWND page) { FillPresetCombo(page, kSelectivePresets); }
void SelectMatchingCorrection(HWND page) { SelectMatchingPreset(page, kSelectivePresets); }
bool OnCorrectionComboChange(HWND page) { return OnPresetComboChange(page, kSelectivePresets); }
bool ShowColourPresetMenu(HWND page, uint16_t colour) { return ShowPartPresetMenu(page, kSelectivePresets, colour); }
bool OnColourPresetCommand(HWND page, uint16_t commandId) {
  return OnPartPresetCommand(page, kSelectivePresets, commandId);
}

void FillCorrectionCombo12(HWND page) { FillPresetCombo(page, kColorMatrixPresets); }
void SelectMatchingCorrection12(HWND page) { SelectMatchingPreset(page, kColorMatrixPresets); }
bool OnCorrectionComboChange12(HWND page) { return OnPresetComboChange(page, kColorMatrixPresets); }
bool ShowSectorPresetMenu(HWND page, int sector) { return ShowPartPresetMenu(page, kColorMatrixPresets, sector); }
bool OnSectorPresetCommand(HWND page, uint32_t commandId) {
  return OnPartPresetCommand(page, kColorMatrixPresets, commandId);
}
