// The nine draw styles of frame outlines: 8 x 8 monochrome patterns, styles
// 0-7 diagonal stripes that move by one pixel from style to style (the
// marching outline of the current frame), style 8 a checker for the others.
#pragma once

#include <cstdint>

constexpr int kFrameStyleCount = 9;
constexpr uint16_t kOtherFrameStyle = 8;

// Row r (0-7) of style s: the low byte of (0xF0F0F0F0 >> s) >> (7 - r), and of
// 0xAAAA >> (7 - r) for style 8.
uint8_t FrameStylePatternRow(int style, int row);
