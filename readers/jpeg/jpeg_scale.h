// Size and resolution of a decoded JPEG.
#pragma once

#include <cstdint>

// The denominator (1, 2, 4 or 8) of the smallest power-of-two reduction of a
// width x height image that is not smaller than target in both dimensions.
uint32_t ChooseScaleDenominator(uint32_t width, uint32_t height, uint32_t target);

// Dots per inch from the JFIF density: per inch as stored, per centimetre
// converted; 72 without a usable density. Divided by the scale denominator.
uint32_t JfifResolution(bool sawJfif, int densityUnit, uint32_t xDensity, uint32_t scaleDenominator);
