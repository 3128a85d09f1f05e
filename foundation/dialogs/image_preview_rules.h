// What the open-image dialog shows beside the file list: the image fitted
// into the preview box, and the file's size.
#pragma once

#include <cstdint>

#include "foundation/geometry.h"

// The largest rectangle of the image's aspect ratio inside the box, centred
// on it; false (nothing written) for an empty image.
bool FitAspectRect(int32_t width, int32_t height, const WinRect& box, WinRect* fitted);

// "%luK" of the rounded kilobytes, or from 1048576 bytes on megabytes with
// one decimal and "M" ("1.5M"). text holds at least 32 bytes.
void FormatFileSizeText(uint32_t size, char* text);
