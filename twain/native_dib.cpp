#include "twain/native_dib.h"

#include <cstdlib>
#include <cstring>

#include "foundation/color_hsl.h"
#include "foundation/dib.h"

NativeDibLayout NativeDibLayoutOf(const SessionBlock& session) {
  NativeDibLayout layout = {};
  layout.bitCount = static_cast<uint16_t>(session.planes * session.depth);
  layout.stride = ((static_cast<uint32_t>(layout.bitCount) * static_cast<uint16_t>(session.columns) + 31) >> 3) & ~3u;
  layout.imageSize = static_cast<uint32_t>(std::abs(session.rows)) * layout.stride;
  layout.colors = layout.bitCount == 1 ? 2 : layout.bitCount == 8 ? 256 : 0;
  return layout;
}

uint32_t NativeDibBlockSize(const NativeDibLayout& layout) {
  return sizeof(DibHeader) + 4 * layout.colors + layout.imageSize;
}

int32_t PixelsPerMetre(int32_t resolution) {
  return static_cast<int32_t>((resolution >> 16) * 100 * 0.39370078740157477);
}

uint8_t* WriteNativeDibHeader(const SessionBlock& session, const NativeDibLayout& layout, uint8_t* block) {
  DibHeader header = {};
  header.size = sizeof(DibHeader);
  header.width = session.columns;
  header.height = session.rows;  // positive: the rows run bottom-up
  header.planes = 1;
  header.bitCount = layout.bitCount;
  header.sizeImage = layout.imageSize;
  header.xPelsPerMeter = PixelsPerMetre(session.horizontalResolution);
  header.yPelsPerMeter = PixelsPerMetre(session.verticalResolution);
  header.colorsUsed = layout.colors;
  std::memcpy(block, &header, sizeof header);

  auto* palette = reinterpret_cast<PaletteEntry*>(block + sizeof header);
  FillGreyPalette(palette, static_cast<int>(layout.colors));
  // The ramp helper leaves the second entry of a two-colour table alone: set bits are black.
  if (layout.colors == 2) palette[1] = PaletteEntry{0, 0, 0, 0};

  uint8_t* pixels = block + sizeof header + 4 * layout.colors;
  std::memset(pixels, 0, layout.imageSize);
  return pixels;
}
