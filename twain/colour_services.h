// The host's colour services (the SessionBlock's colourServices slot) and the
// densitometer's colour readouts built on them, each with a fallback of its
// own for when the slot is null or the host fails.
#pragma once

#include <cstdint>

#include "records/host_colour_services.h"

// The host's answer (0 success); 0xFFFF, calling nothing, when the slot is null.
uint16_t ConvertColorViaHost(ColourServicesRequest* request);

// L 0..100, a and b with an offset of 128.
bool RgbToLabReadout(const uint8_t rgb[3], uint8_t lab[3]);
// H in degrees, S and L in percent; true when the host answered.
bool RgbToHslReadout(const uint8_t rgb[3], int16_t hsl[3]);
// Ink levels (0 no ink); true when the host answered.
bool RgbToCmykReadout(const uint8_t rgb[3], uint8_t cmyk[4], uint8_t* outOfGamut);
bool CmykToRgbReadout(const uint8_t cmyk[4], uint8_t rgb[3]);
// Chroma truncated, hue in whole degrees.
void LabToLchReadout(uint8_t lightness, int8_t a, int8_t b, uint8_t* outLightness, uint8_t* chroma, uint16_t* hue);
