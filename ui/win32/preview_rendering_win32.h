// Drawing the preview's images (GlobalDibs) into windows and bitmaps: fitted or
// at an exact size, mirrored and turned a quarter clockwise as the preview's
// orientation asks, and matched for the monitor on the way to the screen.
#pragma once

#include <windows.h>

#include <cstdint>

#include "foundation/global_dib.h"

// StretchDIBits in halftone mode, with a halftone palette while shrinking.
void StretchDibHalftone(const DibHeader* image, HDC dc, const RECT& source, const RECT& destination);
// The source rectangle at exactly the destination's size into an existing bitmap (no fitting).
bool RenderImageToBitmap(const DibHeader* image, const RECT& source, HBITMAP destination, const RECT& destinationRect,
                         bool flipX, bool flipY, bool swapAxes);
// Fitted and centred into a 32-bit DIB section whose bits are given.
bool RenderImageFitted(const DibHeader* image, const RECT& source, HBITMAP section, uint8_t* bits,
                       const RECT& destination, bool flipX, bool flipY, bool swapAxes);
// The same over the whole destination rectangle instead of the fitted size.
bool RenderThumbnailFitted(const DibHeader* image, const RECT& source, HBITMAP section, uint8_t* bits,
                           const RECT& destination, bool flipX, bool flipY, bool swapAxes);
bool DrawImageIntoWindow(const DibHeader* image, const RECT& source, HWND window, HDC dc, const RECT& destination,
                         bool flipX, bool flipY, bool swapAxes);
// As DrawImageIntoWindow; framed adds a black one-pixel frame round the picture.
bool DrawThumbnailIntoWindow(const DibHeader* image, const RECT& source, HWND window, const RECT& destination,
                             bool flipX, bool flipY, bool swapAxes, bool framed);
// Draws a 32-bit top-down DIB section matched for the monitor: through the
// host's colour services (matching mode 2) or the ICC monitor transform (mode
// 1, the bits translated in place). False when it drew nothing.
bool MatchBitmapForMonitor(HBITMAP bitmap, uint8_t* bits, const RECT& bitmapRect, HWND window, HDC dc,
                           const RECT& destination);

// The colour-matched path of the GlobalDib drawing: a rectangle of the preview
// image, in the image's axes, drawn at its place in the oriented preview of
// the main dialog's control 1047.
void DrawPreviewRectMatched(const DibHeader* image, HDC dc, const RECT& rect);
// Hands that path to the GlobalDib drawing below: at module attach.
void InstallPreviewDrawing();
