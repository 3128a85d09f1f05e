#include "ui/pending_field_edit_platform.h"

// The host checks have no window to focus.
void FocusAndSelectField(uint16_t) {}
