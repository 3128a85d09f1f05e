// The arithmetic and text rules of the negative tool window and its two
// pages, kept apart from the windows so that they can be checked alone:
// film exposure and its controls, film names, saved negative settings, the
// extreme colours, the curve editing of the curves page and the mask rules
// of the expansion page.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "foundation/memory.h"
#include "sharpen/film_point_list.h"

// ---- film exposure: trackbar 0..100 and the edit in stops (-3.0 .. +3.0)

int32_t ExposureToSliderPosition(float exposure);
float SliderPositionToExposure(int32_t position);
// The edit's text for a position: (position - 50) x 0.06 with one decimal.
std::string ExposureEditText(int32_t position);

struct ExposureEdit {
  bool empty;       // nothing to read: the position of the frame's exposure stays
  int32_t position; // limited to 0..100
  bool outOfRange;  // the typed value lay beyond the trackbar: the edit is rewritten later
};
// A typed value ("1,5" reads as 1.5 stops) as a position, rounded to the nearest.
ExposureEdit ReadExposureEdit(const char* text);

// ---- film names: maker, film line and the rest, from the lists of strings 2270-2278

constexpr uint32_t kFilmMakerListString = 2270;

struct FilmNameParts {
  int maker;        // 1-based field of the maker list; 0 when the name begins with no listed maker
  std::string makerName;
  int line;         // 1-based field of the maker's film-line list; 0 when none
  std::string lineName;
};
// The longest listed maker that the name begins with, followed by a blank,
// and the longest listed line that the rest begins with, followed by a blank.
FilmNameParts ParseFilmName(ModuleHandle module, const char* name);
// The film lines of a maker (1-based), in list order.
std::vector<std::string> FilmLinesOf(ModuleHandle module, int maker);

struct FilmProfileFilter {
  std::string include;               // empty: every name qualifies
  std::vector<std::string> exclude;  // every prefix ends with a blank
};
// The profiles listed beside a frame's profile of this name.
FilmProfileFilter FilmProfileFilterFor(ModuleHandle module, const char* name);
bool FilmProfileListed(const FilmProfileFilter& filter, const char* name);

// ---- saved negative settings ("NgDt"): 8 bytes for 8-bit sources, 16 for high-bit ones

bool NegativeDataFits(uint32_t size, bool highBitSource);
// The largest ratio measured high / saved high over red, green, blue (a saved
// high of 0 is skipped); 0 when none counts.
double NegativeAdaptFactor(const uint16_t measuredHigh[3], const uint16_t saved[8]);
// Scales the six channel values by k (k > 0), rounded and limited to 0..65535; the master pair stays.
void AdaptNegativeData(uint16_t saved[8], double k);

// The positive fraction (high - sample) / (high - low) of each channel with
// the 16-bit parameters, limited to 0..1; false when a range is below 1e-10.
bool ExtremeColourFractions(const uint16_t sample[3], const uint16_t params[8], double out[3]);

// ---- curves page: point drags, smoothing and the colour fit

struct InputRange {
  double low, high;
};
// Single mode: between the neighbours, 2 % of the gap away from each; an
// empty range pins the input to x0.
InputRange SingleModeInputRange(double previous, double x0, double next);
// Warp mode: 0.1 x0 .. 1 - 0.1 (1 - x0).
InputRange WarpModeInputRange(double x0);

// Warp mode: the point of the colour (1-3) moves to the normalised (X, Y);
// every other inner point moves from its place on the curve as it was at the
// press (pressed, the same point count) by u + k u (1 - u), with k from the
// move of the dragged point. An input (or output) of the dragged point at 0
// or 1 leaves the other points' inputs (outputs) where they were.
void WarpFilmCurve(FilmCurve* curve, const FilmCurve* pressed, int point, int colour, double X, double Y);
// Smooths each colour of the curve towards the chords of the neighbours;
// false (nothing changed) unless the curve has 2 to 50 points and a last
// point of at least 1 in all six values.
bool SmoothFilmCurve(FilmCurve* curve);
// The colour fit's step: every inner point's output of the colour (1-3)
// through a 65536-entry correction table.
void RemapFilmCurveOutputs(FilmCurve* curve, int colour, const uint16_t* table);

// ---- expansion page: the histogram graph and the mask

int32_t LevelToGraphPosition(uint16_t level, double gamma);
uint16_t GraphPositionToLevel(int32_t position, double gamma);
// The marker pressed at pressPosition moved by offset, kept 20 positions from the other marker of its pair.
int32_t MoveHistogramMarker(int32_t pressPosition, int32_t offset, int32_t otherPosition);
// The mask from the darkest (a) and lightest (b) pixel and the shadow (c) and
// highlight (d) colours, all 16-bit: pairs 1-3 of mask become
// (trunc(H x 65535 + 0.5), trunc(L x 65535 + 0.5)). False, mask untouched, when
// a channel gives no valid range.
bool EdgeColoursToMask(const uint16_t a[3], const uint16_t b[3], const uint16_t c[3], const uint16_t d[3],
                       uint16_t mask[8]);
// The highlight tolerance of a slider fraction (f x f x 0.001) and back.
float ToleranceFromSliderFraction(double fraction);
double SliderFractionFromTolerance(float tolerance);
// The 8-bit automatic detection of one channel: T composes the positive and
// the complemented negative tone table; the pair is T at 255 - the last and
// 255 - the first non-empty bin. False when the histogram is empty.
bool DetectNegativePair8(const uint8_t T[256], const uint32_t histogram[256], uint8_t* low, uint8_t* high);
