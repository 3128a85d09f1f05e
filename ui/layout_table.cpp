#include "ui/layout_table.h"

#include <algorithm>

void ResetLayoutTargets(LayoutEntry* table, int count) {
  for (int i = 0; i < count; ++i) table[i].target = table[i].recorded;
}

int FindLayoutEntry(int32_t id, const LayoutEntry* table, int count) {
  if (id <= 0) return -1;
  for (int i = 0; i < count; ++i) {
    if (table[i].id == id) return i;
  }
  return -1;
}

bool GetLayoutTarget(int32_t id, UiRect* target, const LayoutEntry* table, int count) {
  const int index = FindLayoutEntry(id, table, count);
  if (index < 0) return false;
  *target = table[index].target;
  return true;
}

void AdjustLayoutTarget(int32_t id, int32_t dl, int32_t dt, int32_t dr, int32_t db, LayoutEntry* table, int count) {
  const int index = FindLayoutEntry(id, table, count);
  if (index < 0) return;
  UiRect& target = table[index].target;
  target.left += dl;
  target.top += dt;
  target.right = std::max(target.left, target.right + dr);
  target.bottom = std::max(target.top, target.bottom + db);
}

bool HideLayoutTarget(int32_t id, LayoutEntry* table, int count) {
  const int index = FindLayoutEntry(id, table, count);
  if (index < 0 || IsHiddenTarget(table[index].target)) return false;
  table[index].target.left += kLayoutHiddenX;
  table[index].target.right += kLayoutHiddenX;
  return true;
}

int32_t RelayoutAfterHide(int32_t id, LayoutEntry* table, int count) {
  const int index = FindLayoutEntry(id, table, count);
  if (index < 0) return 0;
  const int32_t top = table[index].target.top;
  int32_t gap = 32767;
  for (int i = 0; i < count; ++i) {
    const UiRect& other = table[i].target;
    if (i != index && !IsHiddenTarget(other) && other.top > top) gap = std::min(gap, other.top - top);
  }
  if (gap == 32767) return 0;
  for (int i = 0; i < count; ++i) {
    UiRect& other = table[i].target;
    if (i != index && !IsHiddenTarget(other) && other.top > top) {
      other.top -= gap;
      other.bottom -= gap;
    }
  }
  return gap;
}

void HideLayoutPair(int32_t id1, int32_t id2, LayoutEntry* table, int count) {
  for (int32_t id : {id1, id2}) {
    if (HideLayoutTarget(id, table, count)) RelayoutAfterHide(id, table, count);
  }
}
