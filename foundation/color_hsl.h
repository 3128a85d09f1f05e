// RGB and HSL conversion (all values 0..1) and grey palettes.
#pragma once

#include <cstdint>

// Hue keeps defaultHue and saturation 0 for a grey or black colour.
void RgbToHsl(double r, double g, double b, double* hue, double* saturation, double* lightness, double defaultHue);
void HslToRgb(double hue, double saturation, double lightness, double* r, double* g, double* b);

// The bytes of one colour-table entry of a bitmap (blue, green, red, reserved).
struct PaletteEntry {
  uint8_t blue, green, red, reserved;
};
static_assert(sizeof(PaletteEntry) == 4, "RGBQUAD layout");

// 2 colours: the first entry white (the second left as it is); 256 colours: entry i is grey i.
void FillGreyPalette(PaletteEntry* palette, int colorCount);
