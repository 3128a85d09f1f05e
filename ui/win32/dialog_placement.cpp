#include "ui/win32/dialog_placement.h"

#include <algorithm>
#include <climits>
#include <vector>

static_assert(sizeof(RECT) == sizeof(UiRect), "a UiRect is a RECT");

namespace {

// The control's rectangle in the client coordinates of the parent.
RECT RectInParent(HWND control, HWND parent) {
  RECT rect;
  GetWindowRect(control, &rect);
  MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

HWND ParentOf(HWND control, HWND parent) { return parent ? parent : GetParent(control); }

void MoveBy(HWND control, const RECT& rect, int dx, int dy, bool repaint) {
  MoveWindow(control, rect.left + dx, rect.top + dy, rect.right - rect.left, rect.bottom - rect.top, repaint);
}

std::vector<HWND> ChildWindows(HWND dialog) {
  std::vector<HWND> children;
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    children.push_back(child);
  }
  return children;
}

RECT ToRect(const UiRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

}  // namespace

bool HideByOffscreen(HWND control, HWND parent, bool repaint) {
  const RECT rect = RectInParent(control, ParentOf(control, parent));
  const bool wasOffscreen = rect.left >= kOffscreenX;
  if (!wasOffscreen) MoveBy(control, rect, kOffscreenX, 0, repaint);
  ShowWindow(control, SW_HIDE);
  return wasOffscreen;
}

bool ShowFromOffscreen(HWND control, HWND parent, bool repaint) {
  const RECT rect = RectInParent(control, ParentOf(control, parent));
  if (rect.left < kOffscreenX) return true;
  MoveBy(control, rect, -kOffscreenX, 0, repaint);
  ShowWindow(control, SW_SHOW);
  return false;
}

bool IsOffscreen(HWND control, HWND parent) {
  return RectInParent(control, ParentOf(control, parent)).left >= kOffscreenX;
}

void CloseGapAtItem(HWND dialog, int itemId) {
  HWND item = GetDlgItem(dialog, itemId);
  if (!item) return;
  const int itemTop = RectInParent(item, dialog).top;
  struct Below {
    HWND window;
    RECT rect;
  };
  std::vector<Below> below;
  int gap = INT_MAX;
  for (HWND child : ChildWindows(dialog)) {
    if (child == item) continue;
    const RECT rect = RectInParent(child, dialog);
    if (rect.left >= kOffscreenX || rect.top <= itemTop) continue;
    gap = std::min(gap, static_cast<int>(rect.top - itemTop));
    below.push_back({child, rect});
  }
  for (const Below& control : below) MoveBy(control.window, control.rect, 0, -gap, true);
}

void FitDialogToChildren(HWND dialog, bool widthOnly, bool heightOnly, int margin) {
  LONG right = 0;
  LONG bottom = 0;
  bool any = false;
  for (HWND child : ChildWindows(dialog)) {
    const RECT rect = RectInParent(child, dialog);
    if (rect.left >= kOffscreenX) continue;
    right = std::max(right, rect.right);
    bottom = std::max(bottom, rect.bottom);
    any = true;
  }
  if (!any) return;

  RECT client;
  GetClientRect(dialog, &client);
  RECT wanted = {0, 0, heightOnly ? client.right : right + margin, widthOnly ? client.bottom : bottom + margin};
  RECT window;
  GetWindowRect(dialog, &window);
  // The frame around the client area stays as it is.
  const LONG frameWidth = (window.right - window.left) - client.right;
  const LONG frameHeight = (window.bottom - window.top) - client.bottom;
  SetWindowPos(dialog, nullptr, 0, 0, wanted.right + frameWidth, wanted.bottom + frameHeight,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CaptureLayout(HWND dialog, LayoutEntry* table, int count, UiRect* bounds) {
  bool first = true;
  for (int i = 0; i < count; ++i) {
    HWND control = table[i].id > 0 ? GetDlgItem(dialog, table[i].id) : nullptr;
    if (!control) continue;
    const RECT rect = RectInParent(control, dialog);
    const UiRect& r = table[i].recorded = UiRect{rect.left, rect.top, rect.right, rect.bottom};
    if (first) {
      *bounds = r;
      first = false;
    } else {
      bounds->left = std::min(bounds->left, r.left);
      bounds->top = std::min(bounds->top, r.top);
      bounds->right = std::max(bounds->right, r.right);
      bounds->bottom = std::max(bounds->bottom, r.bottom);
    }
  }
  if (first) *bounds = UiRect{0, 0, 0, 0};
}

void ApplyLayout(HWND dialog, const LayoutEntry* table, int count) {
  for (int i = 0; i < count; ++i) {
    HWND control = table[i].id > 0 ? GetDlgItem(dialog, table[i].id) : nullptr;
    if (!control) continue;
    const RECT target = ToRect(table[i].target);
    MoveWindow(control, target.left, target.top, target.right - target.left, target.bottom - target.top, TRUE);
    if (IsHiddenTarget(table[i].target)) ShowWindow(control, SW_HIDE);
  }
}
