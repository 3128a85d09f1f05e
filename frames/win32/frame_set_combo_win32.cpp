#include "frames/win32/frame_set_combo_win32.h"

#include "foundation/dialogs/win32/combo_win32.h"
#include "foundation/record_store.h"
#include "frames/frame_sets.h"
#include "frames/frame_storage.h"
#include "frames/win32/record_cleanup_win32.h"
#include "state/data_source_state.h"

void FillFrameSetCombo(HWND dialog, int combo) {
  ComboClear(dialog, combo);
  for (const std::string& name : FrameSetNames(gAppStore, CurrentFrameSetType()))
    ComboAddText(dialog, combo, name.c_str());
  for (uint32_t id : {kFrameSetImportString, kFrameSetDeleteString, kFrameSetSaveString})
    ComboInsertStringId(dialog, combo, -1, id);
  ComboFitWidth(dialog, combo);
}

void OnFrameSetComboChange(HWND dialog, int combo) {
  const int selection = ComboSelection(dialog, combo);
  switch (FrameSetComboActionOf(ComboCount(dialog, combo), selection)) {
    case FrameSetComboAction::kNone:
      return;
    case FrameSetComboAction::kLoad:
      LoadFrameSet(dialog, combo, selection);
      return;
    case FrameSetComboAction::kImport:
      ImportFrameSets();
      break;
    case FrameSetComboAction::kCleanUp:
      RunRecordCleanupDialog(dialog, gAppStore, CurrentFrameSetType(), 0, false, nullptr, nullptr);
      break;
    case FrameSetComboAction::kSave:
      SaveFrameSetAsPreset();
      break;
  }
  FillFrameSetCombo(dialog, combo);
}

bool LoadFrameSet(HWND dialog, int combo, int selection) {
  char name[256];
  ComboItemText(dialog, combo, selection, name);
  return LoadFrameSetNamed(name);
}
