#include "ui/densitometer_readout.h"

#include <cstring>

#include "color/separation_tables.h"

namespace {

ReadoutConversions gConversions;

struct ShownReadout {
  uint8_t model = 255;
  bool optionsOpen = false;
  uint8_t colours[3][3] = {};
};
ShownReadout gShown;

int32_t Percent(uint8_t ink) { return ink * 100 / 255; }

void Lab(const uint8_t rgb[3], uint8_t lab[3]) {
  std::memset(lab, 0, 3);
  if (gConversions.rgbToLab) gConversions.rgbToLab(rgb, lab);
}

// The separation tables when loaded, else the session's colour readout.
void Separate(const uint8_t rgb[3], uint8_t cmyk[4], uint8_t* outOfGamut) {
  *outOfGamut = 0;
  if (AreSeparationTablesReady()) {
    SeparateLinePlanar8(&rgb[0], &rgb[1], &rgb[2], &cmyk[0], &cmyk[1], &cmyk[2], &cmyk[3], 1);
    return;
  }
  std::memset(cmyk, 0, 4);
  if (gConversions.rgbToCmyk) gConversions.rgbToCmyk(rgb, cmyk, outOfGamut);
}

}  // namespace

void InstallReadoutConversions(const ReadoutConversions& conversions) { gConversions = conversions; }

ReadoutValues ReadoutOfColour(uint8_t model, const uint8_t rgb[3]) {
  ReadoutValues out{};
  out.count = 3;
  switch (model) {
    case kReadoutCmyk: {
      uint8_t cmyk[4];
      uint8_t outOfGamut = 0;
      Separate(rgb, cmyk, &outOfGamut);
      out.count = 4;
      for (int i = 0; i < 4; ++i) {
        out.values[i] = Percent(cmyk[i]);
        out.totalInk += out.values[i];
      }
      out.outOfGamut = outOfGamut != 0;
      break;
    }
    case kReadoutLab: {
      uint8_t lab[3];
      Lab(rgb, lab);
      for (int i = 0; i < 3; ++i) out.values[i] = i == 0 ? lab[0] : lab[i] - 128;
      break;
    }
    case kReadoutCmy:
      for (int i = 0; i < 3; ++i) out.values[i] = (255 - rgb[i]) * 100 / 255;
      break;
    case kReadoutHsl: {
      int16_t hsl[3] = {};
      if (gConversions.rgbToHsl) gConversions.rgbToHsl(rgb, hsl);
      for (int i = 0; i < 3; ++i) out.values[i] = hsl[i];
      break;
    }
    case kReadoutGrey:
      out.count = 1;
      out.values[0] = static_cast<int32_t>((765 - (rgb[0] + rgb[1] + rgb[2])) * 100 / 765.0 + 0.5);
      break;
    case kReadoutLch: {
      uint8_t lab[3];
      Lab(rgb, lab);
      uint8_t lightness = 0, chroma = 0;
      uint16_t hue = 0;
      if (gConversions.labToLch)
        gConversions.labToLch(lab[0], static_cast<int8_t>(lab[1] - 128), static_cast<int8_t>(lab[2] - 128),
                              &lightness, &chroma, &hue);
      out.values[0] = lightness;
      out.values[1] = chroma;
      out.values[2] = hue;
      break;
    }
    default:
      for (int i = 0; i < 3; ++i) out.values[i] = rgb[i];
      break;
  }
  return out;
}

bool ReadoutChanged(uint8_t model, bool optionsOpen, const uint8_t colours[3][3]) {
  if (gShown.model == model && gShown.optionsOpen == optionsOpen &&
      std::memcmp(gShown.colours, colours, sizeof gShown.colours) == 0)
    return false;
  gShown.model = model;
  gShown.optionsOpen = optionsOpen;
  std::memcpy(gShown.colours, colours, sizeof gShown.colours);
  return true;
}

void ForceReadoutRedraw() { gShown.model = 255; }
