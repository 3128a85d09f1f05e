// The test host's colour services, as a host hands them to a plug-in in its
// session record: colours converted by plain formulas (RGB to CMYK with full
// under-colour removal, CMYK to RGB, RGB to HSL with the hue in 256ths of the
// circle), pixel blocks drawn unchanged at their destination. Every request is
// recorded.
#pragma once

#include <vector>

#include "records/host_colour_services.h"

// Ink above this total (of 4 x 255) counts as out of the printable gamut.
constexpr int kHostInkLimit = 300;

struct HostColourRecord {
  std::vector<ColourServicesRequest> colours;  // as asked
  std::vector<HostPixelBlock> blocks;
  std::vector<HostRect> rects;
};

int16_t HostColourServices(void* request, const HostRect* rect, int32_t top, int32_t left, void* dc);
HostColourRecord& HostColourRequests();

// Draws a pixel block into the device context (nothing without a platform display).
void DrawHostPixelBlock(const HostPixelBlock& block, int32_t top, int32_t left, void* dc);
