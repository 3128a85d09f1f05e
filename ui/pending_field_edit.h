// A typed value in a frame-panel field is applied 2000 ms after the last
// keystroke; until then the field is pending. A click elsewhere first puts
// the field back (with a beep) instead of acting.
#pragma once

#include <cstdint>

constexpr uint16_t kNoPendingEdit = 0x8300;
constexpr int32_t kNoPendingDeadline = -32000;
constexpr uint32_t kPendingEditDelayMs = 2000;

extern uint16_t gPendingEditId;
extern int32_t gPendingEditDeadline;  // tick count in milliseconds

// start: the field becomes pending with the deadline now + 2000 ms. Not
// start: the pending edit is cleared when the id is the pending one or none.
void NotePendingFieldEdit(bool start, uint16_t id);
// A pending edit whose deadline has passed.
bool PendingFieldEditDue();
// With an edit pending the panel is refreshed from the frame, the field
// focused and selected and a beep sounds. The edit is cleared.
void RejectPendingFieldEdit();
// True when nothing was pending; otherwise the pending field is put back.
bool FlushPendingFieldEdit();

// Which of the panel's value fields an id means, with the axes of a turned
// preview exchanged (1035 is the height then, and so on).
enum class FieldEdit {
  kNone,
  kOriginalWidth,
  kOriginalHeight,
  kScaleX,
  kScaleY,
  kOutputWidth,
  kOutputHeight,
  kScreenRuling,
  kOutputResolution,
  kQFactor,
};
FieldEdit FieldEditOfControl(uint16_t id, bool swapAxes);
