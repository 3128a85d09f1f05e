#include "twain/transfer_rows.h"

#include <cstring>

#include "color/pixel_layout.h"
#include "foundation/bits.h"
#include "twain/capabilities.h"

MemoryRowFormat MemoryRowFormatOf(const SessionBlock& session) {
  MemoryRowFormat format = {session.planes, session.depth, false};
  if (session.planes == 1) {
    format.invert = (session.depth == 1 && gPixelFlavor[TWPT_BW] == TWPF_CHOCOLATE) ||
                    (session.depth == 8 && gPixelFlavor[TWPT_GRAY] == TWPF_VANILLA);
  } else if (session.planes == 3) {
    format.invert = gPixelFlavor[TWPT_RGB] == TWPF_VANILLA;
  }
  return format;
}

uint32_t BandRowBytes(int16_t planes, int16_t depth, int32_t width) {
  if (depth == 1) return static_cast<uint32_t>(planes) * ((width + 7) / 8);
  return static_cast<uint32_t>(planes) * width * (depth / 8);
}

void ConvertRowForMemory(const MemoryRowFormat& format, const uint8_t* bandRow, int32_t width, uint8_t* hostRow) {
  const uint32_t bytes = BandRowBytes(format.planes, format.depth, width);
  switch (format.planes) {
    case 1:
      std::memcpy(hostRow, bandRow, bytes);
      break;
    case 3:
      if (format.depth == 16) {
        Planar3ToInterleaved16(reinterpret_cast<const uint16_t*>(bandRow), reinterpret_cast<uint16_t*>(hostRow), 1,
                               width);
      } else {
        Planar3ToInterleaved8(bandRow, hostRow, 1, width);
      }
      break;
    case 4:
      Planar4ToInterleaved8(bandRow, hostRow, 1, width);
      break;
    default:
      return;
  }
  if (format.invert) InvertByteSpan(hostRow, bytes);
}

void ConvertRowForDib(int16_t imageMode, const uint8_t* bandRow, int32_t width, uint8_t* dibRow) {
  switch (imageMode) {
    case 0:
      std::memcpy(dibRow, bandRow, BandRowBytes(1, 1, width));
      break;
    case 1:
      std::memcpy(dibRow, bandRow, static_cast<uint32_t>(width));
      break;
    case 3:
      Planar3ToBgr8(bandRow, dibRow, 1, width);
      break;
    default:
      break;
  }
}
