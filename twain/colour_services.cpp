#include "twain/colour_services.h"

#include <cmath>

#include "color/lab_rows.h"
#include "foundation/color_hsl.h"
#include "foundation/round.h"
#include "state/data_source_state.h"
#include "state/module_state.h"

namespace {

// Degrees per hue unit of the host's HSL, measured once on cyan (180 degrees).
double gHueFactor = 0.0;

int16_t Percent(double unit) { return static_cast<int16_t>(TruncRound(unit * 100)); }

// A conversion of one colour; the components come back in the request.
uint16_t ConvertColour(ColourServicesRequest* request, int16_t from, int16_t to, const int16_t components[4]) {
  *request = ColourServicesRequest{};
  request->size = kColourRequestSize;
  request->selector = kConvertColourSelector;
  request->sourceSpace = from;
  request->resultSpace = to;
  for (int i = 0; i < 4; ++i) request->components[i] = components[i];
  return ConvertColorViaHost(request);
}

}  // namespace

uint16_t ConvertColorViaHost(ColourServicesRequest* request) {
  if (!gSession || !gSession->colourServices.value) return 0xFFFF;
  const auto procedure = reinterpret_cast<ColourServicesProc>(gSession->colourServices.value);
  return static_cast<uint16_t>(procedure(request, nullptr, 0, 0, nullptr));
}

bool RgbToLabReadout(const uint8_t rgb[3], uint8_t lab[3]) {
  uint8_t pixel[3] = {rgb[0], rgb[1], rgb[2]};
  BuildLabTables(GetDefault(gDefaults, kDefaultDisplayGamma));
  ConvertRgb8ToLab8(pixel, 1, 1, true);
  FreeLabTables();
  lab[0] = static_cast<uint8_t>(TruncRound(pixel[0] * 100 * (1.0 / 255)));
  lab[1] = static_cast<uint8_t>(pixel[1] + 128);
  lab[2] = static_cast<uint8_t>(pixel[2] + 128);
  return true;
}

bool RgbToHslReadout(const uint8_t rgb[3], int16_t hsl[3]) {
  ColourServicesRequest request;
  if (gHueFactor == 0.0) {
    const int16_t cyan[4] = {0, 255, 255, 0};
    // A host whose cyan has hue 0 has no usable hue scale: the local conversion stays.
    if (ConvertColour(&request, kColourSpaceRgb, kColourSpaceHsl, cyan) == 0 && request.components[0] > 0)
      gHueFactor = 180.0 / request.components[0];
  }
  const int16_t colour[4] = {rgb[0], rgb[1], rgb[2], 0};
  if (ConvertColour(&request, kColourSpaceRgb, kColourSpaceHsl, colour) == 0 && gHueFactor > 0.0) {
    hsl[0] = static_cast<int16_t>(TruncRound(request.components[0] * gHueFactor));
    hsl[1] = Percent(request.components[1] * (1.0 / 255));
    hsl[2] = Percent(request.components[2] * (1.0 / 255));
    return true;
  }
  double h, s, l;
  RgbToHsl(rgb[0] / 255.0, rgb[1] / 255.0, rgb[2] / 255.0, &h, &s, &l, 0.0);
  hsl[0] = static_cast<int16_t>(TruncRound(h * 360));
  hsl[1] = Percent(s);
  hsl[2] = Percent(l);
  return false;
}

bool RgbToCmykReadout(const uint8_t rgb[3], uint8_t cmyk[4], uint8_t* outOfGamut) {
  ColourServicesRequest request;
  const int16_t colour[4] = {rgb[0], rgb[1], rgb[2], 0};
  const bool answered = ConvertColour(&request, kColourSpaceRgb, kColourSpaceCmyk, colour) == 0;
  // The host answers 255 for no ink.
  for (int i = 0; i < 4; ++i)
    cmyk[i] = answered ? static_cast<uint8_t>(~request.components[i]) : (i < 3 ? static_cast<uint8_t>(~rgb[i]) : 0);
  if (outOfGamut) *outOfGamut = answered && request.gamutValid && !request.inGamut ? 1 : 0;
  return answered;
}

bool CmykToRgbReadout(const uint8_t cmyk[4], uint8_t rgb[3]) {
  ColourServicesRequest request;
  const int16_t colour[4] = {static_cast<int16_t>(255 - cmyk[0]), static_cast<int16_t>(255 - cmyk[1]),
                             static_cast<int16_t>(255 - cmyk[2]), static_cast<int16_t>(255 - cmyk[3])};
  const bool answered = ConvertColour(&request, kColourSpaceCmyk, kColourSpaceRgb, colour) == 0;
  for (int i = 0; i < 3; ++i)
    rgb[i] = answered ? static_cast<uint8_t>(request.components[i]) : static_cast<uint8_t>(~cmyk[i]);
  return true;
}

void LabToLchReadout(uint8_t lightness, int8_t a, int8_t b, uint8_t* outLightness, uint8_t* chroma, uint16_t* hue) {
  *outLightness = lightness;
  *chroma = static_cast<uint8_t>(std::sqrt(static_cast<double>(a * a + b * b)));
  if (a == 0) {
    *hue = b == 0 ? 0 : (b > 0 ? 90 : 270);
    return;
  }
  const double t = std::atan(std::fabs(static_cast<double>(b)) / std::fabs(static_cast<double>(a))) * 180 / 3.1415926535;
  double degrees;
  if (b >= 0) {
    degrees = a > 0 ? t : 180 - t;
  } else {
    degrees = a < 0 ? 180 + t : 360 - t;
  }
  *hue = static_cast<uint16_t>(degrees);
}
