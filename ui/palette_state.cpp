#include "ui/palette_state.h"

uint16_t gPipetteKind = 301;
