#include "tools/host_colour/host_colour_services.h"

// The host build has no display: the block is only recorded.
void DrawHostPixelBlock(const HostPixelBlock&, int32_t, int32_t, void*) {}
