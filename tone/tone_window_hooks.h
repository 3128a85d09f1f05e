// What the tone engine needs of the main window and the frames above it: the
// preview images and their geometry, the histogram smoothing, the colour
// sampler, the automatic adjustment's settings and the redraws. The main
// window installs them at module attach; until then there is no preview (so
// no analysis runs), no smoothing, no sample, zero settings and no redraw.
#pragma once

#include <cstdint>

#include "foundation/dib.h"
#include "foundation/geometry.h"
#include "records/frame_record.h"

// The automatic adjustment's settings that live beside the defaults record.
struct AutoAdjustSettings {
  int16_t lowPercent = 0;    // outputLow = round(2.56 x lowPercent)
  int16_t highPercent = 0;   // outputHigh = 255 - round(2.56 x highPercent)
  float darkOffset = 0.0f;   // added to the dark mid-tone weight / 10
  float brightOffset = 0.0f; // added to the bright mid-tone weight / 10
};

struct ToneWindowHooks {
  // The uncorrected or the corrected preview image; null when there is none.
  const DibHeader* (*previewImage)(bool corrected) = [](bool) -> const DibHeader* { return nullptr; };
  // The preview's client rectangle in main-window coordinates with the preview
  // orientation applied: the one stored with the preview state, or control 1047's.
  WinRect (*previewClientRect)(bool stored) = [](bool) { return WinRect{}; };
  // The frame's rectangle (scan-area inches) in preview pixels inside area.
  WinRect (*frameToPreviewRect)(const FrameRecord& frame, const WinRect& area) =
      [](const FrameRecord&, const WinRect&) { return WinRect{}; };
  // The part of the scan area (inches) the preview shows while zoomed; false while it shows all of it.
  bool (*zoomBox)(DRect* box) = [](DRect*) { return false; };
  // A place given as fractions of the preview (image axes) in preview-control
  // pixels, turned and mirrored as the preview is when orient is set.
  WinPoint (*previewPoint)(double x, double y, bool orient) = [](double, double, bool) { return WinPoint{}; };
  // Fills runs of empty bins from their non-empty neighbours.
  void (*fillHistogramGaps)(uint32_t* histogram, int count) = [](uint32_t*, int) {};
  // The mean colour of the preview pixels inside the current frame whose grey
  // lies in lowGrey..highGrey; false when none does.
  bool (*sampleFramePreview)(uint8_t rgb[3], int lowGrey, int highGrey, bool storedRect) =
      [](uint8_t*, int, int, bool) { return false; };
  AutoAdjustSettings (*autoAdjustSettings)() = [] { return AutoAdjustSettings{}; };
  // The live-preview option: re-render the preview after tone edits.
  bool (*livePreview)() = [] { return false; };
  void (*redrawFrames)() = [] {};
  // Renders the preview of the current frame again: exactly, or quickly
  // through the colour lattice while a slider or drag gesture runs.
  void (*refreshFramePreview)(bool throughLattice) = [](bool) {};
};

void InstallToneWindowHooks(const ToneWindowHooks& hooks);
const ToneWindowHooks& ToneWindow();
