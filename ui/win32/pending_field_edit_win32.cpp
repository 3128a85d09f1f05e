#include <windows.h>

#include "state/data_source_state.h"
#include "ui/pending_field_edit_platform.h"

void FocusAndSelectField(uint16_t id) {
  HWND field = gMainDialog ? GetDlgItem(static_cast<HWND>(gMainDialog), id) : nullptr;
  if (!field) return;
  SetFocus(field);
  SendMessageA(field, EM_SETSEL, 0, -1);
}
