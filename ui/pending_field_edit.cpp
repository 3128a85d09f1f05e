#include "ui/pending_field_edit.h"

#include "foundation/system.h"
#include "frames/frame_panel.h"
#include "frames/panel_sizes.h"
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
  // The frame panel decides which axis a size field shows.
  const bool width = FieldShowsWidth(id, swapAxes);
  switch (id) {
    case kOriginalWidthField:
    case kOriginalHeightField: return width ? FieldEdit::kOriginalWidth : FieldEdit::kOriginalHeight;
    case kScaleXField:
    case kScaleYField: return width ? FieldEdit::kScaleX : FieldEdit::kScaleY;
    case kOutputWidthField:
    case kOutputHeightField: return width ? FieldEdit::kOutputWidth : FieldEdit::kOutputHeight;
    case kScreenRulingField: return FieldEdit::kScreenRuling;
    case kOutputResolutionField: return FieldEdit::kOutputResolution;
    case kQualityFactorField: return FieldEdit::kQFactor;
    default: return FieldEdit::kNone;
  }
}
