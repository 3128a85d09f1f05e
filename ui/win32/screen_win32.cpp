#include <windows.h>

#include "ui/screen.h"

UiRect CurrentScreenRect() {
  return UiRect{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}
