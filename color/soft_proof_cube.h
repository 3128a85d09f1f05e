// The preview's soft proof of the CMYK output as an 8-bit colour cube, and the
// twelve-colour dialog's refresh of the current frame's preview.
#pragma once

#include "foundation/memory.h"

// *out receives a new 8-bit cube (kept even when a later step fails): the
// identity run through the CMYK side of the colour-management mode (2 the
// output transform and back, 5 the separation tables and their proof), or a
// single proof ink as grey; any other mode leaves the identity. The caller disposes it.
void BuildSoftProofCube(MemHandle* out);

// The twelve-colour selective colour dialog's refresh of the current frame's
// preview (overlay erased, the frame's area re-rendered, overlay drawn again).
void RefreshCurrentFrameCallback();
