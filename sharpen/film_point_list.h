// The point lists of film profiles: the data of an "NgFm" record.
//
// Layout (the store's byte order, little-endian):
//   0  u32  header word, always 0
//   4  i16  number of curves, 1..9
//   6       the curves one after another: i16 point count n, then n points of
//           six u16 values (input, output for red, then green, then blue)
// Values run 0..32767; the last point of a curve is the scale of all its points.
#pragma once

#include <cstdint>

// The record's bytes; only reached through the functions below, which read
// and write the fields bytewise so that any block alignment will do.
struct FilmPointList;
// One curve inside a list: its point count, then its points.
struct FilmCurve;

struct FilmPoint {
  uint16_t value[6];  // input red, output red, input green, output green, input blue, output blue
};
static_assert(sizeof(FilmPoint) == 12, "stored size");

constexpr uint32_t kFilmListHeaderSize = 6;
constexpr uint32_t kFilmCurveCountOffset = 4;
constexpr uint32_t kFilmCurveHeaderSize = 2;
constexpr int16_t kFilmMaxCurves = 9;

uint32_t FilmListHeader(const FilmPointList* list);
int16_t FilmCurveCount(const FilmPointList* list);
// 6 + the curve sizes; 6 for a null list or one without curves.
uint32_t FilmPointListSize(const FilmPointList* list);
// Whether every curve of the list lies inside size bytes (a stored record
// may be cut or damaged).
bool FilmPointListFits(const FilmPointList* list, uint32_t size);
// The curve at index (below 1: the first), found by walking the curve sizes.
FilmCurve* FilmCurveAt(FilmPointList* list, int index);
const FilmCurve* FilmCurveAt(const FilmPointList* list, int index);
// 2 + 12 n; 2 for null.
uint32_t FilmCurveSize(const FilmCurve* curve);
int16_t FilmCurvePointCount(const FilmCurve* curve);
FilmPoint FilmCurvePoint(const FilmCurve* curve, int k);
void SetFilmCurvePoint(FilmCurve* curve, int k, const FilmPoint& point);

// A one-curve list of n points (null for n below 2 or no memory): point k has
// all six values trunc(k value / (n - 1) + 0.5). (2, 32767) is the linear film.
FilmPointList* NewFilmPointList(int n, int32_t value);
// A new list (header 0) with the list's curves and a copy of the curve at
// index, clamped to 0..count; from a null list a one-curve list. Null when
// memory is short.
FilmPointList* InsertFilmCurve(const FilmPointList* list, const FilmCurve* curve, int index);
// A copy of FilmPointListSize bytes; null for null or no memory.
FilmPointList* CopyFilmPointList(const FilmPointList* list);
// Frees a list from the functions above (FreeBlock); null is ignored.
void FreeFilmPointList(FilmPointList* list);
