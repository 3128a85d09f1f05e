// The screen the user interface lays its windows out on.
#pragma once

#include "ui/ui_rect.h"

// The whole primary screen in pixels, from (0, 0).
UiRect CurrentScreenRect();
// The part of the screen that windows may take (without the task bar).
UiRect CurrentWorkArea();
