#include <windows.h>

#include "ui/screen.h"

UiRect CurrentScreenRect() {
  return UiRect{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

UiRect CurrentWorkArea() {
  RECT work;
  if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0)) return CurrentScreenRect();
  return UiRect{work.left, work.top, work.right, work.bottom};
}
