// The preview's black, white and neutral point pipette: a click in tool
// mode 8 samples the unprocessed preview and sets the current frame's end
// points or neutral point from it.
#pragma once

#include <cstdint>

#include "foundation/geometry.h"
#include "records/frame_record.h"
#include "ui/densitometer_sample.h"

class FrameEditView;

constexpr int32_t kPipetteToolMode = 8;
enum : uint16_t { kPipetteBlack = 301, kPipetteWhite = 302, kPipetteNeutral = 303 };
// The markers of the frame's neutral points (its fixed measuring points), one bitmap each.
constexpr int16_t kNeutralPointMarkers = 4;
constexpr uint16_t kNeutralPointMarkerIds[kNeutralPointMarkers] = {461, 462, 463, 464};

// The pipette of the kind on the frame with the sample's base colour. False
// when the user declined a brightness alert: the frame is then unchanged.
// markerHalfWidth is half the neutral-point marker's width in pixels.
bool ApplyPipetteToFrame(FrameRecord* frame, uint16_t kind, const DensitometerSample& sample,
                         int16_t markerHalfWidth);

// The click at the point of the preview control: sample, apply to the
// current frame, and re-render its area when the preview follows changes.
void ApplyPreviewPipette(WinPoint press, FrameEditView& view);
