#include "sharpen/film_point_list.h"

#include <cstring>

#include "foundation/memory.h"
#include "foundation/round.h"

namespace {

const uint8_t* Bytes(const void* p) { return static_cast<const uint8_t*>(p); }
uint8_t* Bytes(void* p) { return static_cast<uint8_t*>(p); }

int16_t ReadI16(const uint8_t* at) {
  int16_t v;
  std::memcpy(&v, at, sizeof v);
  return v;
}

void WriteI16(uint8_t* at, int16_t v) { std::memcpy(at, &v, sizeof v); }

// A negative count (a damaged record) walks like an empty curve.
uint32_t PointBytes(int16_t n) { return n > 0 ? 12u * static_cast<uint32_t>(n) : 0u; }

}  // namespace

uint32_t FilmListHeader(const FilmPointList* list) {
  uint32_t header = 0;
  if (list) std::memcpy(&header, list, sizeof header);
  return header;
}

int16_t FilmCurveCount(const FilmPointList* list) {
  return list ? ReadI16(Bytes(list) + kFilmCurveCountOffset) : 0;
}

uint32_t FilmPointListSize(const FilmPointList* list) {
  uint32_t size = kFilmListHeaderSize;
  const int16_t count = FilmCurveCount(list);
  for (int i = 1; i <= count; ++i) size += FilmCurveSize(FilmCurveAt(list, i - 1));
  return size;
}

bool FilmPointListFits(const FilmPointList* list, uint32_t size) {
  if (!list || size < kFilmListHeaderSize) return false;
  uint32_t end = kFilmListHeaderSize;
  const int16_t count = FilmCurveCount(list);
  for (int i = 0; i < count; ++i) {
    if (end + kFilmCurveHeaderSize > size) return false;
    end += FilmCurveSize(reinterpret_cast<const FilmCurve*>(Bytes(list) + end));
    if (end > size) return false;
  }
  return true;
}

const FilmCurve* FilmCurveAt(const FilmPointList* list, int index) {
  if (!list) return nullptr;
  const uint8_t* at = Bytes(list) + kFilmListHeaderSize;
  for (int i = 0; i < index; ++i) at += FilmCurveSize(reinterpret_cast<const FilmCurve*>(at));
  return reinterpret_cast<const FilmCurve*>(at);
}

FilmCurve* FilmCurveAt(FilmPointList* list, int index) {
  return const_cast<FilmCurve*>(FilmCurveAt(static_cast<const FilmPointList*>(list), index));
}

uint32_t FilmCurveSize(const FilmCurve* curve) {
  return kFilmCurveHeaderSize + (curve ? PointBytes(FilmCurvePointCount(curve)) : 0u);
}

int16_t FilmCurvePointCount(const FilmCurve* curve) { return curve ? ReadI16(Bytes(curve)) : 0; }

FilmPoint FilmCurvePoint(const FilmCurve* curve, int k) {
  FilmPoint point;
  std::memcpy(&point, Bytes(curve) + kFilmCurveHeaderSize + 12u * k, sizeof point);
  return point;
}

void SetFilmCurvePoint(FilmCurve* curve, int k, const FilmPoint& point) {
  std::memcpy(Bytes(curve) + kFilmCurveHeaderSize + 12u * k, &point, sizeof point);
}

FilmPointList* NewFilmPointList(int n, int32_t value) {
  if (n < 2) return nullptr;
  const uint32_t size = kFilmListHeaderSize + kFilmCurveHeaderSize + PointBytes(static_cast<int16_t>(n));
  auto* list = static_cast<FilmPointList*>(AllocBlock(size));
  if (!list) return nullptr;
  WriteI16(Bytes(list) + kFilmCurveCountOffset, 1);
  FilmCurve* curve = FilmCurveAt(list, 0);
  WriteI16(Bytes(curve), static_cast<int16_t>(n));
  for (int k = 0; k < n; ++k) {
    const auto v = static_cast<uint16_t>(TruncRound(static_cast<double>(k) * value / (n - 1)));
    SetFilmCurvePoint(curve, k, FilmPoint{{v, v, v, v, v, v}});
  }
  return list;
}

FilmPointList* InsertFilmCurve(const FilmPointList* list, const FilmCurve* curve, int index) {
  const int16_t count = FilmCurveCount(list);
  if (index < 0) index = 0;
  if (index > count) index = count;
  const uint32_t oldSize = FilmPointListSize(list);
  const uint32_t curveSize = FilmCurveSize(curve);
  auto* result = static_cast<FilmPointList*>(AllocBlock(oldSize + curveSize));
  if (!result) return nullptr;
  WriteI16(Bytes(result) + kFilmCurveCountOffset, static_cast<int16_t>(count + 1));
  uint8_t* out = Bytes(result) + kFilmListHeaderSize;
  const uint8_t* before = Bytes(FilmCurveAt(list, 0));
  const uint8_t* split = Bytes(FilmCurveAt(list, index));
  const uint32_t head = list ? static_cast<uint32_t>(split - before) : 0u;
  if (head) std::memcpy(out, before, head);
  if (curve) std::memcpy(out + head, curve, curveSize);
  const uint32_t tail = oldSize - kFilmListHeaderSize - head;
  if (tail) std::memcpy(out + head + curveSize, split, tail);
  return result;
}

FilmPointList* CopyFilmPointList(const FilmPointList* list) {
  if (!list) return nullptr;
  const uint32_t size = FilmPointListSize(list);
  auto* copy = static_cast<FilmPointList*>(AllocBlock(size));
  if (copy) std::memcpy(copy, list, size);
  return copy;
}

void FreeFilmPointList(FilmPointList* list) { FreeBlock(list); }
