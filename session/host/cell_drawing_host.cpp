#include "session/cell_thumbnail.h"

bool DrawThumbnailCell(int, void*, int32_t, int32_t, void*) { return false; }
