// Frame outlines on the preview: a pattern-brush frame in copy mode, or,
// while the mouse tracks a frame, four lines with the inverting mix (drawn
// twice they erase themselves).
#pragma once

#include <windows.h>

#include <cstdint>

void SetFrameDrawStyle(uint16_t style);
// The line mode: set for the time of a mouse tracking or drag.
void SetFrameLineMode(bool on);
void DrawFrameOutline(HDC dc, const RECT* rect);
// The XOR pen selected with the inverting mix, in the animated style of the current frame.
void BeginXorPen(HDC dc, uint16_t animatedStyle);
void EndXorPen(HDC dc);
// The pattern brushes, made on first use, freed at the end of the window.
void FreeFrameBrushes();
