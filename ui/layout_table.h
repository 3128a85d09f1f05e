// Layout tables: the controls of a dialog with the rectangle each had when
// recorded and the one it is to take, so that a dialog can switch between
// layouts. A target at x >= 10000 is hidden. The tables are plain data; the
// window side (recording and applying) is in ui/win32/dialog_placement.h.
#pragma once

#include <cstddef>
#include <cstdint>

#include "ui/ui_rect.h"

constexpr int32_t kLayoutHiddenX = 10000;

struct LayoutEntry {
  int32_t id;  // control id; entries with ids <= 0 are not looked up
  UiRect recorded;
  UiRect target;
};

static_assert(sizeof(LayoutEntry) == 36, "table rows of 36 bytes");
static_assert(offsetof(LayoutEntry, recorded) == 4 && offsetof(LayoutEntry, target) == 20, "row layout");

inline bool IsHiddenTarget(const UiRect& target) { return target.left >= kLayoutHiddenX; }

// Every target back to its recorded rectangle.
void ResetLayoutTargets(LayoutEntry* table, int count);
// Index of the entry; -1 when absent or for ids <= 0.
int FindLayoutEntry(int32_t id, const LayoutEntry* table, int count);
bool GetLayoutTarget(int32_t id, UiRect* target, const LayoutEntry* table, int count);
// Moves the target's edges; right stays >= left and bottom >= top.
void AdjustLayoutTarget(int32_t id, int32_t dl, int32_t dt, int32_t dr, int32_t db, LayoutEntry* table, int count);
// Moves the target 10000 to the right unless it is hidden already; true when it moved.
bool HideLayoutTarget(int32_t id, LayoutEntry* table, int count);
// Closes the gap a hidden entry leaves: every visible target below it moves
// up by the smallest distance from its top to theirs. The distance moved, 0
// when nothing lies below.
int32_t RelayoutAfterHide(int32_t id, LayoutEntry* table, int count);
// Hides up to two entries (ids <= 0 are skipped), closing the gap after each
// one that was not hidden before.
void HideLayoutPair(int32_t id1, int32_t id2, LayoutEntry* table, int count);
