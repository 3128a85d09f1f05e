// The resolution bounds of the frame panel's fields and the handlers of the
// fields that change the output resolution: resolution, screen ruling and
// quality factor. Pure arithmetic over the current FrameRecord and the
// device's resolution range; the window part reads the fields and shows them.
#pragma once

#include <cstdint>

#include "records/frame_record.h"

// The device's resolution list ends and its scaling range in percent.
struct PanelLimits {
  double firstResolution = 0.0;
  double lastResolution = 0.0;
  int minPercent = 0;
  int maxPercent = 0;
};

// What the user typed into a number field; not valid when the text is not a number.
struct TypedNumber {
  bool valid = false;
  double value = 0.0;
};

// Filter kinds 2 and 3 descreen: their scan resolution is bound by the original's ruling.
bool IsDescreeningKind(uint8_t kind);
// Highest needed scan resolution x 100 (resolution x percent): last list
// resolution x maxPercent, or 200 x the original ruling when descreening.
double MaxNeededResolution(const FrameRecord& frame, const PanelLimits& limits);
// Lowest: first list resolution x minPercent.
double MinNeededResolution(const PanelLimits& limits);

// Each handler stores the bounded value into the frame and returns whether
// the field stays pending (shown as typed until the palette's timer rewrites it).
// resolution field 1043; unitFactor: resolution units per inch.
bool ApplyOutputResolutionEdit(FrameRecord* frame, const PanelLimits& limits, TypedNumber typed, double unitFactor);
// screen-ruling field 1041; unitFactor: ruling units per inch.
bool ApplyScreenRulingEdit(FrameRecord* frame, const PanelLimits& limits, TypedNumber typed, double unitFactor);
// quality-factor field 1054.
bool ApplyQualityFactorEdit(FrameRecord* frame, const PanelLimits& limits, TypedNumber typed);

// After a change of resolution, ruling or quality factor: scales that follow
// the list take last x 100 / resolution; otherwise both scales shrink (grow)
// by one factor until the needed scan resolution lies inside the range.
// True when a scale changed.
bool ClampScalesToResolutionRange(FrameRecord* frame, const PanelLimits& limits);
// The output resolution bounded by the range at the frame's larger and
// smaller scale, the screen ruling following it (after a scan-type change).
void ClampOutputResolutionToScales(FrameRecord* frame, const PanelLimits& limits);
