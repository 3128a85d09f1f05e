// The frame panel's size fields: which axis a field shows when the preview's
// axes are swapped, the original-size edit, and the data size.
#pragma once

#include <cstdint>

#include "frames/panel_bounds.h"
#include "records/frame_record.h"

enum PanelFieldId : int {
  kOriginalWidthField = 1035,
  kScaleXField = 1036,
  kOutputWidthField = 1037,
  kOriginalHeightField = 1038,
  kScaleYField = 1039,
  kOutputHeightField = 1040,
  kScreenRulingField = 1041,
  kOutputResolutionField = 1043,
  kDataSizeField = 1050,
  kQualityFactorField = 1054,
  kFrameNameField = 1234,
};

// True when the field works on the frame's width: 1035-1037 normally, 1038-1040
// while the preview shows its axes swapped.
bool FieldShowsWidth(int fieldId, bool axesSwapped);

// The original-size field of an axis: the typed size in the size unit
// (unitFactor units per inch; for pixels the output resolution) becomes the
// frame's extent, kept inside the scan area from its origin and at least 0.1
// inch. True when the field stays pending.
bool ApplyOriginalSizeEdit(FrameRecord* frame, bool width, TypedNumber typed, double unitFactor, double scanAreaExtent);

// The main window's limit of a new scale of one axis (percent): by the
// resolution range alone, or, with the two scales linked, in proportion.
using PanelScaleLimiter = double (*)(float scale, bool xAxis, bool linked, const FrameRecord* frame);

// The scale field of an axis (1036, 1039 or their swapped places): the typed
// percent, limited by the clamp unless the scales follow the resolution list,
// and for descreening to 200 x the original ruling / resolution. Linked
// scales keep their ratio; scales that follow the list both take the value and
// the resolution follows them. True when the field stays pending.
bool ApplyScaleEdit(FrameRecord* frame, const PanelLimits& limits, bool width, TypedNumber typed, bool linked,
                    PanelScaleLimiter clamp);
// The output-size field of an axis: the typed size in the size unit sets the
// scale of that axis as the scale field would.
bool ApplyOutputSizeEdit(FrameRecord* frame, const PanelLimits& limits, bool width, TypedNumber typed,
                         double unitFactor, bool linked, PanelScaleLimiter clamp);

// Output colour-management modes that write CMYK.
bool IsCmykOutputMode(int outputCmsMode);
// Megabytes of a frame of that many scan pixels by its colour mode and depth.
double DataSizeMegabytes(uint32_t width, uint32_t height, const FrameRecord& frame, int outputCmsMode);
// As field 1050 shows it: two decimals below 1000, one from 1000 on (a PString).
void FormatDataSize(unsigned char* out, double megabytes);
