#include "ui/pending_field_edit.h"

#include "foundation/system.h"
#include "frames/frame_panel.h"
#include "ui/pending_field_edit_platform.h"

uint16_t gPendingEditId = kNoPendingEdit;
int32_t gPendingEditDeadline = kNoPendingDeadline;

void NotePendingFieldEdit(bool start, uint16_t id) {
  if (start) {
    gPendingEditId = id;
    gPendingEditDeadline = static_cast<int32_t>(TickCountMs() + kPendingEditDelayMs);
  } else if (id == gPendingEditId || id == kNoPendingEdit) {
    gPendingEditId = kNoPendingEdit;
    gPendingEditDeadline = kNoPendingDeadline;
  }
}

bool PendingFieldEditDue() {
  // The difference stays right across the tick count's wrap.
  return gPendingEditId != kNoPendingEdit &&
         static_cast<int32_t>(TickCountMs() - static_cast<uint32_t>(gPendingEditDeadline)) >= 0;
}

void RejectPendingFieldEdit() {
  if (gPendingEditId != kNoPendingEdit) {
    ShowOriginalSize();
    ShowScaleFields();
    ShowOutputSize();
    FocusAndSelectField(gPendingEditId);
    PlayBeep(0);
  }
  NotePendingFieldEdit(false, kNoPendingEdit);
}

bool FlushPendingFieldEdit() {
  if (gPendingEditId == kNoPendingEdit) return true;
  RejectPendingFieldEdit();
  return false;
}

FieldEdit FieldEditOfControl(uint16_t id, bool swapAxes) {
  switch (id) {
    case 1035: return swapAxes ? FieldEdit::kOriginalHeight : FieldEdit::kOriginalWidth;
    case 1038: return swapAxes ? FieldEdit::kOriginalWidth : FieldEdit::kOriginalHeight;
    case 1036: return swapAxes ? FieldEdit::kScaleY : FieldEdit::kScaleX;
    case 1039: return swapAxes ? FieldEdit::kScaleX : FieldEdit::kScaleY;
    case 1037: return swapAxes ? FieldEdit::kOutputHeight : FieldEdit::kOutputWidth;
    case 1040: return swapAxes ? FieldEdit::kOutputWidth : FieldEdit::kOutputHeight;
    case 1041: return FieldEdit::kScreenRuling;
    case 1043: return FieldEdit::kOutputResolution;
    case 1054: return FieldEdit::kQFactor;
    default: return FieldEdit::kNone;
  }
}
