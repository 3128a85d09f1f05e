#include "frames/frame_outline_style.h"

uint8_t FrameStylePatternRow(int style, int row) {
  const uint32_t base = style == 8 ? 0xAAAAu : 0xF0F0F0F0u >> style;
  return static_cast<uint8_t>(base >> (7 - row));
}
