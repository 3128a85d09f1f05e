// The negative conversion: the film curves that turn a colour negative into
// a positive inside a frame's tone tables, and the negative tool's switches
// that decide where the tone engine applies them.
#pragma once

#include <cstdint>

#include "records/frame_record.h"
#include "sharpen/film_point_list.h"

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

// The negative tool's profile while its curves page edits one (null when it
// holds none), the tool's copy of the film exposure, and the page's linear
// switch, set only for one of its own table computations. The tool owns the list.
extern FilmPointList* gNegativeToolProfile;
extern float gNegativeToolExposure;
extern uint8_t gNegativeToolLinear;

// The current gamma of the tone engine, which installs it when it is bound;
// without it a gamma of 0 stays 0.
extern double (*gNegativeCurrentGamma)();

float ClampFilmExposure(float value);

// Only while the tool holds a profile: frees *list, then stores the linear
// list and exposure 0 (linear switch on) or a copy of the tool's list and its
// exposure (as f32 bits). False, with nothing changed, when the tool holds no
// list or list is null.
bool CopyNegativeSourceData(FilmPointList** list, uint32_t* exposureBits);

// Writes table[i] for i from ceil(x0) while i <= x1 from one film curve,
// mapped from x0..x1 onto y0..y1. Channel 1-3 picks the red, green or blue
// pair, any other the average of the three. A gamma above 0 raises the
// curve's outputs to 1/gamma. Without a usable curve the range gets the
// straight (gamma 0) or the gamma line.
void ComputeFilmCurveTable(const FilmCurve* curve, uint16_t* table, double x0, double x1, double y0, double y1,
                           int16_t channel, double gamma);

// The same range from the film profile in force (the tool's, else the frame's
// at the frame's film exposure, blending the two nearest curves). A gamma of
// 0 takes the current gamma for 8-bit sources. Nothing is written without a
// profile.
void ComputeNegativeCurves(uint16_t* table, double x0, double x1, double y0, double y1, int16_t channel,
                           FrameRecord* frame, double gamma);

// Compose the film curve into a finished channel table of size entries (256
// or 65536) in place, between the channel's input limits.
void BuildNegativeTable8(uint8_t* table, FrameRecord* frame, int32_t size, int16_t channel);
void BuildNegativeTable16(uint16_t* table, FrameRecord* frame, int32_t size, int16_t channel);
