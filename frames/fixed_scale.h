// Whole percent values as 16.16 fixed point, as the frame's fixed-point
// scales hold them (the ratio value / 1).
#pragma once

#include <cstdint>

#include "frames/frame_record.h"

// The 16-bit value's bit pattern taken as a signed whole number, like a
// 16-bit fixed-point ratio over 1.
inline Fixed WholeToFixed(uint16_t value) {
  return static_cast<Fixed>(static_cast<uint32_t>(static_cast<int32_t>(static_cast<int16_t>(value))) << 16);
}
