// The negative analysis of the preview: per-channel levels, the darkest and
// lightest pixel, the mean under the pointer and the expansion page's
// histograms, all measured on the prescan's 16-bit preview samples, and the
// frame's negative data derived from them.
//
// The preview buffers, their areas and orientation, the preview conversion
// table and the settings read here belong to the layers above; they reach
// this code through the services the data source installs at start-up.
// Without them every measurement fails.
#pragma once

#include <cstdint>

#include "records/frame_record.h"

// Rows of three planes: a row is the first channel's samples for the whole
// width, then the second's, then the third's.
struct PreviewSamples {
  const uint16_t* samples;
  int32_t width;
  int32_t height;
};

struct PreviewRect {
  int16_t top, left, bottom, right;
};

struct NegativePreviewServices {
  // Locks the main (large false) or large preview buffer; false when it does not exist.
  bool (*lockSamples)(bool large, PreviewSamples* out);
  void (*unlockSamples)(bool large);
  // The frame covers fewer than 10000 preview pixels (the large buffer is then read).
  bool (*isSmallFrame)(const FrameRecord* frame);
  // The frame's rectangle in the chosen buffer's area.
  PreviewRect (*frameToPreviewRect)(const FrameRecord* frame, bool large);
  // A point of the preview control into the main buffer's coordinates (orientation applied).
  void (*mapPreviewPoint)(int32_t* x, int32_t* y);
  // The preview conversion table of the image session's frame copy: 16-bit
  // samples of one pixel (three values) to display bytes.
  bool (*buildConversionLut)();
  bool (*applyConversionLut)(const uint16_t* in, uint8_t* out, int32_t pixels);
  void (*freeConversionLut)();
  FrameRecord* (*currentFrame)();
  // The negative mode flag, cleared while the analysis builds its table.
  uint8_t* (*negativeModeFlag)();
  uint8_t (*analysisInset)();      // percent
  uint8_t (*greyChannelChoice)();  // 0 average, 1-3 red, green, blue
  double (*currentGamma)();
};

// Null uninstalls.
void InstallNegativePreviewServices(const NegativePreviewServices* services);

// Per channel the minimum and maximum of the frame's samples (null: the whole
// preview), the rectangle trimmed by inset percent (at most 80) of its width
// and height in all; with clip fractions above 0 the levels where the counts
// from each end first exceed that fraction of the pixels.
bool ComputePreviewHistograms(uint16_t* low, uint16_t* high, const FrameRecord* frame, double clipLow, double clipHigh,
                              uint8_t inset);
// The raw samples of the darkest and lightest pixel whose channels all lie
// within the limits (null: 0 and 65535); 0 and 1 when none does.
bool FindPreviewExtremePoints(uint16_t* dark, uint16_t* light, const FrameRecord* frame, const uint16_t* lowLimits,
                              const uint16_t* highLimits);
// The mean of the main preview's square of radius r around a point of the preview control.
bool ReadPreviewPixel(uint16_t* out, int16_t x, int16_t y, int16_t radius);
// Histograms of the frame's samples raised to 1/gamma over bins entries
// (each table may be null); with invert the bins run backwards. The number
// of pixels counted.
int32_t ComputeExpansionHistograms(uint32_t* mean, uint32_t* channel1, uint32_t* channel2, uint32_t* channel3,
                                   int32_t bins, const FrameRecord* frame, double gamma, uint8_t invert);
// Measures the current frame: bytes 2-7 of levels8 get the display levels of
// the channels' low and high levels; data (if given) the eight fractions of
// the frame's negative data, the master pair from the grey-channel choice.
bool AnalyseNegativePreview(uint8_t* levels8, float* data, double clipFraction);
