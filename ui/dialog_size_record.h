// The main window's stored size ("DSiz") is kept per mode: light source,
// option slot, preview turn, the scan area's shape and zoom.
#pragma once

#include <cstdint>

#include "foundation/record_type.h"

constexpr RecordType kDialogSizeRecordType = TagFromString("DSiz");

// Base 50 reflective, 51 transparency, slot + 1 for option slots 1..9 (1 for
// any other slot); + 100 when the preview is turned a quarter, + 1000 when
// the scan area is wider than high in device pixels, + 4000 when zoomed.
int32_t DialogSizeRecordId(bool transparency, bool optionMode, int16_t slot, bool zoomed);
