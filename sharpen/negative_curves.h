// The negative conversion: the film curves that turn a colour negative into
// a positive inside a frame's tone tables, and the negative tool's switches
// that decide where the tone engine applies them.
#pragma once

#include <cstdint>

#include "records/frame_record.h"

// The film limits of the frame shape the negative gamma table through the
// film curve, and the finished tone tables get no negative pass of their own.
extern uint8_t gFilmCurvesInGamma;
// The negative passes of the finished tone tables and the film remapping of
// fixed-point tones are on.
extern uint8_t gNegativeConversionOn;
// The fixed-point tones are moved through the film curve.
extern uint8_t gFixedPointFilmRemap;
// Set while preview conversion tables or analysis tables are built: the
// 16-bit tone table then skips its negative pass.
extern uint8_t gPreviewTableBuild;

// Writes table[i] for i from ceil(x0) while i <= x1: the channel's film curve
// mapped from x0..x1 onto y0..y1. A gamma of 0 takes the current gamma.
void ComputeNegativeCurves(uint16_t* table, double x0, double x1, double y0, double y1, int16_t channel,
                           FrameRecord* frame, double gamma);

// Compose the film curve into a finished channel table of size entries in place.
void BuildNegativeTable8(uint8_t* table, FrameRecord* frame, int32_t size, int16_t channel);
void BuildNegativeTable16(uint16_t* table, FrameRecord* frame, int32_t size, int16_t channel);
