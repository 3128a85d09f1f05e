#include "ui/dialog_shell.h"

#include "ui/ui_state_records.h"

// The host checks have no windows: the user interface starts from the
// working state the window's creation sets up.
bool CreateMainDialog() {
  ResetUiState();
  return true;
}
void DestroyMainDialog() {}
bool TranslateMainAccelerator(void*) { return false; }
void RelayoutMainPreview() {}
void RefreshMainEditor() {}
