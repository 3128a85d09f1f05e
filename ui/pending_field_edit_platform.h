// What a put-back field needs of the platform.
#pragma once

#include <cstdint>

// Gives the main window's field the focus with its whole text selected.
void FocusAndSelectField(uint16_t id);
