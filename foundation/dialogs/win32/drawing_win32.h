// Small drawing routines on a dialog or one of its items. Each gets and
// releases its own device context unless the caller gives one.
#pragma once

#include <windows.h>

#include <cstdint>

// A one-pixel frame with the black stock brush (item 0: the dialog).
void FrameItemRect(HWND dialog, int item, const RECT& rect);
// Left and top edges in the button-shadow colour, right and bottom in white,
// one pixel each, inside right - 1 and bottom - 1.
void DrawSunkenFrame(HWND dialog, int item, int left, int top, int right, int bottom);
// An outline drawn with the NOT raster operation: drawing it again erases it.
void DrawInvertedRect(HWND dialog, int item, int left, int top, int right, int bottom);
// Fills the rectangle (null: the client area) with a solid colour.
void FillItemRect(HWND dialog, int item, HDC dc, const RECT* rect, COLORREF colour);
// The text drawn transparently in the box, single line and unclipped.
void DrawTextInBox(HWND window, const char* text, int x, int y, int width, int height, HFONT font, HDC dc,
                   UINT format);
// Copies the bitmap (or the bitmap resource of the id, loaded for the call as
// a plain bitmap or with asImage as a DIB section) into the rectangle (null:
// the client area) from the source point with the raster operation.
void DrawBitmapPart(HWND window, HDC dc, HBITMAP bitmap, uint32_t bitmapId, const RECT* rect, int sourceX,
                    int sourceY, DWORD rasterOperation, bool asImage);
void DrawBitmapInRect(HWND window, HDC dc, HBITMAP bitmap, uint32_t bitmapId, const RECT* rect,
                      DWORD rasterOperation, bool asImage);
// Draws the bitmap at the rectangle's top-left (null: the client area's)
// through a monochrome mask: the mask's white pixels show the background, its
// black pixels the bitmap. The mask is deleted afterwards, also one the
// caller gave; so is a bitmap loaded here from its id.
void DrawMaskedBitmap(HWND window, HBITMAP bitmap, uint32_t bitmapId, const RECT* rect, uint32_t maskId,
                      HBITMAP mask);
