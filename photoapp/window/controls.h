// The common and standard controls the photo program's dialogs bind: thin
// objects over their messages.
#pragma once

#include <commctrl.h>

#include "photoapp/window/window.h"

class SliderCtrl : public Window {
 public:
  void SetRange(int minimum, int maximum, bool redraw = false) {
    SendMessageA(GetSafeHwnd(), TBM_SETRANGEMIN, FALSE, minimum);
    SendMessageA(GetSafeHwnd(), TBM_SETRANGEMAX, redraw, maximum);
  }
  void SetPos(int position) { SendMessageA(GetSafeHwnd(), TBM_SETPOS, TRUE, position); }
  int GetPos() const { return static_cast<int>(SendMessageA(GetSafeHwnd(), TBM_GETPOS, 0, 0)); }
  void SetTicFreq(int frequency) { SendMessageA(GetSafeHwnd(), TBM_SETTICFREQ, frequency, 0); }
};

class ProgressCtrl : public Window {
 public:
  void SetRange(int minimum, int maximum) {
    SendMessageA(GetSafeHwnd(), PBM_SETRANGE32, minimum, maximum);
  }
  void SetPos(int position) { SendMessageA(GetSafeHwnd(), PBM_SETPOS, position, 0); }
};

class StaticCtrl : public Window {};
