#include "tone/point_marker_platform.h"

// The host build has no windows: nothing is drawn or invalidated.
void DrawMarkerBitmap(void*, uint16_t, int32_t, int32_t) {}
void InvalidateWindowRect(void*, const WinRect&) {}
