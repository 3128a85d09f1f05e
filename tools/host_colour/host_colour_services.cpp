#include "tools/host_colour/host_colour_services.h"

#include <algorithm>

namespace {

// An answer "with no ink" is 255: each ink comes back as 255 - ink.
void RgbToCmyk(ColourServicesRequest* request) {
  int ink[4];
  for (int i = 0; i < 3; ++i) ink[i] = 255 - request->components[i];
  ink[3] = std::min({ink[0], ink[1], ink[2]});
  for (int i = 0; i < 3; ++i) ink[i] -= ink[3];
  for (int i = 0; i < 4; ++i) request->components[i] = static_cast<int16_t>(255 - ink[i]);
  request->gamutValid = 1;
  request->inGamut = ink[0] + ink[1] + ink[2] + ink[3] <= kHostInkLimit ? 1 : 0;
}

int16_t Product(int a, int b) { return static_cast<int16_t>((a * b + 127) / 255); }

// The components are 255 - ink; the key darkens every channel.
void CmykToRgb(ColourServicesRequest* request) {
  const int key = request->components[3];
  for (int i = 0; i < 3; ++i) request->components[i] = Product(request->components[i], key);
  request->components[3] = 0;
}

void RgbToHsl(ColourServicesRequest* request) {
  const int r = request->components[0], g = request->components[1], b = request->components[2];
  const int high = std::max({r, g, b}), low = std::min({r, g, b}), range = high - low;
  const int sum = high + low;
  double hue = 0.0;  // degrees
  if (range > 0) {
    if (high == r) hue = 60.0 * (g - b) / range;
    else if (high == g) hue = 120.0 + 60.0 * (b - r) / range;
    else hue = 240.0 + 60.0 * (r - g) / range;
    if (hue < 0) hue += 360.0;
  }
  const double saturation = range == 0 ? 0.0 : static_cast<double>(range) / (sum <= 255 ? sum : 510 - sum);
  request->components[0] = static_cast<int16_t>(hue * 256 / 360 + 0.5) & 0xFF;
  request->components[1] = static_cast<int16_t>(saturation * 255 + 0.5);
  request->components[2] = static_cast<int16_t>((sum + 1) / 2);
}

int16_t Convert(ColourServicesRequest* request) {
  HostColourRequests().colours.push_back(*request);
  if (request->selector != kConvertColourSelector) return -1;
  const int16_t from = request->sourceSpace, to = request->resultSpace;
  if (from == kColourSpaceRgb && to == kColourSpaceCmyk) RgbToCmyk(request);
  else if (from == kColourSpaceCmyk && to == kColourSpaceRgb) CmykToRgb(request);
  else if (from == kColourSpaceRgb && to == kColourSpaceHsl) RgbToHsl(request);
  else return -1;
  return 0;
}

}  // namespace

HostColourRecord& HostColourRequests() {
  static HostColourRecord record;
  return record;
}

int16_t HostColourServices(void* request, const HostRect* rect, int32_t top, int32_t left, void* dc) {
  if (!request) return -1;
  if (*static_cast<const int32_t*>(request) == kColourRequestSize)
    return Convert(static_cast<ColourServicesRequest*>(request));
  const HostPixelBlock& block = *static_cast<const HostPixelBlock*>(request);
  if (block.version != 1 || !rect) return -1;
  HostColourRequests().blocks.push_back(block);
  HostColourRequests().rects.push_back(*rect);
  DrawHostPixelBlock(block, top, left, dc);
  return 0;
}
