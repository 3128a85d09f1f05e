// The scan geometry of a frame: the scan resolution and scale it needs from
// the device's resolution list, its size in scan pixels, the scan area in
// inches and the device's margins.
#pragma once

#include <cstdint>

#include "foundation/geometry.h"
#include "state/data_source_state.h"

struct FrameRecord;
struct DeviceScaleLimits;

// Picks the scan resolution of each axis from the list for the frame's output
// resolution and scales, sets the frame's scan scales (16.16, whole percent
// and its low byte) within the device's limits, then its scan pixel sizes.
void ChooseScanResolution(FrameRecord* frame);
// The same over a given list and limits; an empty list leaves the frame as it is.
void ChooseScanResolutionFrom(FrameRecord* frame, const ResolutionList& list, const DeviceScaleLimits& limits);

// The frame's origin in scan pixels and its scan pixel width and height for
// the rectangle (inches). Sizes are kept within [min, max] of their axis and
// the origin at most max - size.
void ComputeFramePixelSizes(double x, double y, double width, double height, FrameRecord* frame, int32_t minX,
                            int32_t minY, int32_t maxX, int32_t maxY);

// The scan area in inches: the device's extent in pixels over its largest
// resolution, into gScanAreaInches.
void ComputeScanAreaInches();
// The same for a given extent and list; 0 x 0 without a resolution.
ScanAreaInches ScanAreaInchesOf(int32_t widthPixels, int32_t heightPixels, const ResolutionList& list);

// Puts the frame inside the device's margins where they leave room on an axis.
void ApplyScanAreaMargins(FrameRecord* frame);
// The same for given margins (inches) and scan area.
void ApplyMarginsWithin(FrameRecord* frame, double left, double top, double right, double bottom,
                        const ScanAreaInches& area);

// The context rows and columns of the frame's sharpening: 2 or 3 for the
// sharpening filter modes by their matrix setting, else 1.
int ImageModeSampleFactor(const FrameRecord* frame);

// The preview pass of a preview of width x height pixels (axes given as the
// control shows them): the resolution and scale that fit the scan area's
// height into the height times the magnification, the preview size, and the
// origin of the frame's rectangle at that scale.
void SetupPrescanFrame(FrameRecord* frame, int32_t width, int32_t height);
// The same over a given list, limits, integer-scale flag and magnification,
// with the axes already swapped.
void SetupPrescanFrameFrom(FrameRecord* frame, int32_t width, int32_t height, const ResolutionList& list,
                           const DeviceScaleLimits& limits, bool integerScales, uint16_t magnification,
                           double scanAreaHeight);
// The zoomed preview of a frame (its rectangle in inches) in a preview of
// width x height pixels: the part of the scan area it shows (the frame grown
// by a fifth, centred on it, inside the scan area), the resolution step and
// scale of its pass and the part's pixel origin at them.
struct ZoomGeometry {
  DRect area;            // inches
  uint16_t step;         // resolution
  double percent;        // within the device's scale limits
  int32_t wholePercent;  // truncated, within the limits
  int32_t left;          // pixel origin of the area, never so far that the preview passes the scan area
  int32_t top;
};
ZoomGeometry ComputeZoomGeometry(const DRect& frame, int32_t width, int32_t height, double scanWidth,
                                 double scanHeight, const ResolutionList& list, const DeviceScaleLimits& limits,
                                 bool wholePercent);
// The prescan frame set up for the zoomed preview of the frame in a preview
// control of width x height (axes exchanged under a quarter turn) over the
// session's resolution list and scan area: its rectangle, resolution, scale,
// pixel origin and size.
void ComputePreviewGeometry(const DRect& frame, int32_t width, int32_t height, FrameRecord* prescanFrame);

// The part of a stored prescan of W x H pixels over prescanArea (inches) that
// a zoomed area covers, and the steps through it for a box of boxWidth x
// boxHeight; zoomHint 1 when the box has more pixels than the part offers, else 2.
struct PrescanCutOut {
  int32_t left, top, right, bottom;
  double stepX, stepY;
  uint8_t zoomHint;
};
PrescanCutOut CutOutOfPrescan(const DRect& area, const DRect& prescanArea, uint32_t W, uint32_t H, int32_t boxWidth,
                              int32_t boxHeight);

// The image device's preview factors A and B and its magnification word: no
// image file gives others.
constexpr uint16_t kPreviewFactorA = 1;
constexpr uint16_t kPreviewFactorB = 1;
constexpr uint16_t kPreviewMagnification = 1;
