// State of the floating palette that the main window's tools read.
#pragma once

#include <cstdint>

// The pipette the palette's button 1066 chose: 301 black point, 302 white
// point, 303 neutral point.
extern uint16_t gPipetteKind;
