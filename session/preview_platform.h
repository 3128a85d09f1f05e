// The system's part of the preview store.
#pragma once

#include "foundation/global_dib.h"

// The whole source stretched over the target (both 32-bit) with the system's
// halftone stretching; false when it cannot be done.
bool StretchPreviewHalftone(const DibHeader* source, GlobalDib target);
