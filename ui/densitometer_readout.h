// The densitometer's readout: the values each colour model shows for a
// colour, and the cache that keeps the fields from being rewritten while
// nothing changed.
#pragma once

#include <cstdint>

enum ReadoutModel : uint8_t {
  kReadoutRgb = 0,
  kReadoutCmyk = 1,
  kReadoutLab = 2,
  kReadoutCmy = 3,
  kReadoutHsl = 4,
  kReadoutGrey = 5,
  kReadoutLch = 6,
};

// The session's colour readouts, which the TWAIN side installs at attach
// (they ask the host's colour services, with fallbacks of their own).
struct ReadoutConversions {
  bool (*rgbToLab)(const uint8_t rgb[3], uint8_t lab[3]) = nullptr;
  bool (*rgbToHsl)(const uint8_t rgb[3], int16_t hsl[3]) = nullptr;
  bool (*rgbToCmyk)(const uint8_t rgb[3], uint8_t cmyk[4], uint8_t* outOfGamut) = nullptr;
  void (*labToLch)(uint8_t lightness, int8_t a, int8_t b, uint8_t* outLightness, uint8_t* chroma,
                   uint16_t* hue) = nullptr;
};
void InstallReadoutConversions(const ReadoutConversions& conversions);

struct ReadoutValues {
  int32_t values[4];
  int count;            // 1 grey, 3 most models, 4 CMYK
  int32_t totalInk;     // CMYK: the sum of the four percentages
  bool outOfGamut;      // CMYK: the colour lies outside the output gamut
};

ReadoutValues ReadoutOfColour(uint8_t model, const uint8_t rgb[3]);

// True when the fields must be written: the model, the options dialog's open
// state or one of the three colours differs from the last call (which is then remembered).
bool ReadoutChanged(uint8_t model, bool optionsOpen, const uint8_t colours[3][3]);
// The next ReadoutChanged answers true (paint and sizing of the main window).
void ForceReadoutRedraw();
