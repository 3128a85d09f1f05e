#include "ui/job_thumbnail_platform.h"

// The host build draws no bitmaps: the thumbnail stays as created.
bool RenderPreviewThumbnail(const WinRect&, uint8_t, uint8_t, uint8_t, void*, const WinRect&) { return false; }
bool DrawMatchedThumbnail(void*, void*, void*, uint32_t*, const WinRect&, const WinRect&) { return false; }
