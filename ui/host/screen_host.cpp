#include "ui/screen.h"

// The host checks have no screen; they see one of 1024 x 768 pixels.
UiRect CurrentScreenRect() { return UiRect{0, 0, 1024, 768}; }
UiRect CurrentWorkArea() { return CurrentScreenRect(); }
