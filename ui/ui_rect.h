// A rectangle laid out as the system's RECT (left, top, right, bottom), as
// the records and layout tables of the user interface keep it.
#pragma once

#include <cstddef>
#include <cstdint>

struct UiRect {
  int32_t left;
  int32_t top;
  int32_t right;
  int32_t bottom;
};

static_assert(sizeof(UiRect) == 16, "RECT layout");
static_assert(offsetof(UiRect, top) == 4 && offsetof(UiRect, right) == 8 && offsetof(UiRect, bottom) == 12,
              "RECT layout");

inline bool operator==(const UiRect& a, const UiRect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
