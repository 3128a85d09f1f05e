// Off-screen drawing over a target context: everything drawn into the
// MemoryDC lands in a bitmap of the rectangle's size, and the whole rectangle
// goes to the target at once when the MemoryDC ends, so nothing flickers.
// While the target is printing it is drawn into directly.
#pragma once

#include "photoapp/gdi/gdi_objects.h"
#include "photoapp/window/dc.h"

class MemoryDC : public DC {
 public:
  MemoryDC(DC& target, const RECT& rect);
  ~MemoryDC() override;

 private:
  DC& target_;
  RECT rect_;
  bool off_screen_;
  Bitmap bitmap_;
  HGDIOBJ previous_bitmap_ = nullptr;
};
