#include <gtest/gtest.h>

#include "frames/frame_outline_style.h"

namespace {

// Diagonal stripes that move by one pixel from style to style; style 8 a checker.
TEST(FrameOutlineStyle, PatternRows) {
  const uint8_t style0[8] = {0xE1, 0xC3, 0x87, 0x0F, 0x1E, 0x3C, 0x78, 0xF0};
  for (int r = 0; r < 8; ++r) {
    EXPECT_EQ(FrameStylePatternRow(0, r), style0[r]) << r;
    EXPECT_EQ(FrameStylePatternRow(8, r), r % 2 == 0 ? 0x55 : 0xAA) << r;
    for (int s = 1; s < 8; ++s) EXPECT_EQ(FrameStylePatternRow(s, r), FrameStylePatternRow(s - 1, r) >> 1 |
                                                                          (FrameStylePatternRow(s - 1, r) & 1) << 7)
                                    << s << " " << r;
  }
}

}  // namespace
