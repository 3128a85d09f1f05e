// The header record a reader fills from an image file.
#pragma once

#include <cstddef>
#include <cstdint>

struct ImageFileInfo {
  uint32_t width;
  uint32_t height;
  uint32_t xResolution;  // dots per inch, rounded
  uint32_t yResolution;
  uint16_t samplesPerPixel;
  uint16_t bitsPerSample;
  char documentName[512];  // zero-terminated
  char artist[512];        // zero-terminated
};

static_assert(sizeof(ImageFileInfo) == 1044, "ImageFileInfo is a fixed 1044-byte record");
static_assert(offsetof(ImageFileInfo, xResolution) == 8, "");
static_assert(offsetof(ImageFileInfo, samplesPerPixel) == 16, "");
static_assert(offsetof(ImageFileInfo, bitsPerSample) == 18, "");
static_assert(offsetof(ImageFileInfo, documentName) == 20, "");
static_assert(offsetof(ImageFileInfo, artist) == 532, "");
