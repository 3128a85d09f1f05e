#include "foundation/color_hsl.h"

#include <algorithm>

void RgbToHsl(double r, double g, double b, double* hue, double* saturation, double* lightness, double defaultHue) {
  *hue = defaultHue;
  *saturation = 0.0;
  double max = std::max({r, g, b});
  double min = std::min({r, g, b});
  double l = (max + min) / 2.0;
  *lightness = l;
  double delta = max - min;
  if (l <= 0.0 || delta <= 0.0) return;
  *saturation = l <= 0.5 ? delta / (max + min) : delta / (2.0 - max - min);
  double rc = (max - r) / delta, gc = (max - g) / delta, bc = (max - b) / delta;
  double h;
  if (r == max)
    h = g == min ? 5.0 + bc : 1.0 - gc;
  else if (g == max)
    h = b == min ? 1.0 + rc : 3.0 - bc;
  else
    h = r == min ? 3.0 + gc : 5.0 - rc;
  h /= 6.0;
  if (defaultHue == 0.0 && h >= 1.0) h -= 1.0;
  *hue = h;
}

void HslToRgb(double hue, double saturation, double lightness, double* r, double* g, double* b) {
  if (hue >= 1.0) hue -= 1.0;
  double v = lightness <= 0.5 ? lightness * (1.0 + saturation) : lightness + saturation - lightness * saturation;
  if (v <= 0.0) {
    *r = *g = *b = 0.0;
    return;
  }
  double m = 2.0 * lightness - v;
  int sextant = static_cast<int>(6.0 * hue);
  double f = 6.0 * hue - sextant;
  double t = v * ((v - m) / v) * f;
  double mid1 = m + t, mid2 = v - t;
  switch (sextant) {
    case 0: *r = v, *g = mid1, *b = m; break;
    case 1: *r = mid2, *g = v, *b = m; break;
    case 2: *r = m, *g = v, *b = mid1; break;
    case 3: *r = m, *g = mid2, *b = v; break;
    case 4: *r = mid1, *g = m, *b = v; break;
    case 5: *r = v, *g = m, *b = mid2; break;
    default: break;  // a hue outside 0..1 leaves the outputs as they are
  }
}

void FillGreyPalette(PaletteEntry* palette, int colorCount) {
  if (colorCount == 2) {
    palette[0] = PaletteEntry{255, 255, 255, 0};
  } else if (colorCount == 256) {
    for (int i = 0; i < 256; ++i) {
      uint8_t grey = static_cast<uint8_t>(i);
      palette[i] = PaletteEntry{grey, grey, grey, 0};
    }
  }
}
