#include "photoapp/views/memory_dc.h"

MemoryDC::MemoryDC(DC& target, const RECT& rect) : target_(target), rect_(rect), off_screen_(!target.IsPrinting()) {
  if (!off_screen_) {
    dc_ = target.GetSafeHdc();
    return;
  }
  dc_ = CreateCompatibleDC(target.GetSafeHdc());
  bitmap_.CreateCompatibleBitmap(target.GetSafeHdc(), rect.right - rect.left, rect.bottom - rect.top);
  previous_bitmap_ = SelectObject(bitmap_.GetSafeHandle());
  // Drawing uses the target's coordinates.
  SetWindowOrgEx(dc_, rect.left, rect.top, nullptr);
}

MemoryDC::~MemoryDC() {
  if (!off_screen_) return;
  target_.BitBlt(rect_.left, rect_.top, rect_.right - rect_.left, rect_.bottom - rect_.top, *this, rect_.left,
                 rect_.top, SRCCOPY);
  SelectObject(previous_bitmap_);
  DeleteDC(dc_);
}
