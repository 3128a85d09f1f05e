#include "tone/tone_curve.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "foundation/memory.h"
#include "foundation/round.h"
#include "sharpen/negative_curves.h"
#include "tone/tone_engine_state.h"

namespace {

constexpr uint16_t kUnranked = 65535;
constexpr int kFilmScale = 16384;   // resolution of the negative curve that remaps the point tones

// Some channel of a is above b's and some other channel below it.
enum class Relation { kNotAbove, kAbove, kCrossing };

Relation Compare(const CurvePoint& a, const CurvePoint& b) {
  bool above = false, below = false;
  for (int c = 0; c < 4; ++c) {
    if (a.source[c] > b.source[c]) above = true;
    if (a.source[c] < b.source[c]) below = true;
  }
  if (above && below) return Relation::kCrossing;
  return above ? Relation::kAbove : Relation::kNotAbove;
}

// Read and write an entry of a table of either width.
struct TableView {
  void* table;
  bool wide;
  int32_t Get(int32_t i) const {
    return wide ? static_cast<uint16_t*>(table)[i] : static_cast<uint8_t*>(table)[i];
  }
  void Set(int32_t i, int32_t v) const {
    if (wide) {
      static_cast<uint16_t*>(table)[i] = static_cast<uint16_t>(v);
    } else {
      static_cast<uint8_t*>(table)[i] = static_cast<uint8_t>(v);
    }
  }
};

int32_t ClampLevel(int32_t v, int32_t levels) { return std::min(std::max(v, 0), levels - 1); }

bool RemapThroughFilm(std::vector<double>* values, int32_t n, int32_t lo, int32_t hi, FrameRecord* frame,
                      int16_t channel) {
  const int32_t step = kFilmScale / (hi - lo + 1);
  const int32_t last = (hi - lo) * step;
  uint16_t* film = static_cast<uint16_t*>(AllocBlock(static_cast<uint32_t>(last + 1) * sizeof(uint16_t)));
  if (!film) return false;
  ComputeNegativeCurves(film, 0, last, 0, last, channel, frame, 0.0);
  for (double& v : *values) {
    const int32_t i = std::min(std::max(TruncRound(((n - 1) * v - lo) * step), 0), last);
    v = (static_cast<double>(film[i]) / step + lo) / (n - 1);
  }
  FreeBlock(film);
  return true;
}

}  // namespace

bool FilmRemapsPoints(const FrameRecord* frame) {
  const FrameRecord* current = ToneCurrentFrame();
  return ToneNegativeOriginal() && gNegativeConversionOn && gFixedPointFilmRemap && !gFilmCurvesInGamma &&
         current && current->colorMode == kColorModeRgb && frame;
}

ToneCurve::ToneCurve(int16_t capacity) : capacity_(0), points_(nullptr) {
  if (capacity < 1) return;
  points_ = static_cast<CurvePoint*>(AllocBlock(static_cast<uint32_t>(capacity) * sizeof(CurvePoint)));
  if (points_) capacity_ = capacity;
  ClearCurvePoints();
}

ToneCurve::~ToneCurve() {
  FreeBlock(points_);
  points_ = nullptr;
  capacity_ = 0;
}

bool ToneCurve::IsCurvePointActive(const CurvePoint* point) {
  if (!point) return false;
  for (int c = 0; c < 4; ++c) {
    if (point->source[c] > 0 || point->target[c] > 0) return true;
  }
  return false;
}

void ToneCurve::ClearCurvePointRecord(CurvePoint* point) {
  if (point) std::memset(point, 0, sizeof(CurvePoint));
}

void ToneCurve::ClearCurvePoint(int16_t index) {
  if (points_ && index >= 0 && index < capacity_) ClearCurvePointRecord(&points_[index]);
}

void ToneCurve::ClearCurvePoints() {
  for (int16_t i = 0; i < capacity_; ++i) ClearCurvePoint(i);
}

bool ToneCurve::SetCurvePoint(const CurvePoint* point, int16_t index) {
  if (!point || !points_ || index < 0 || index >= capacity_ || !IsCurvePointActive(point)) return false;
  points_[index] = *point;
  return true;
}

int16_t ToneCurve::FindFreeCurvePoint() {
  for (int16_t i = 0; i < capacity_; ++i) {
    if (!IsCurvePointActive(&points_[i])) return i;
  }
  return -1;
}

bool ToneCurve::GetCurvePoint(CurvePoint* out, int16_t index) {
  if (!out) return false;
  if (!points_ || index < 0 || index >= capacity_) {
    ClearCurvePointRecord(out);
    return false;
  }
  *out = points_[index];
  return true;
}

void ToneCurve::CompactCurvePoints() {
  for (int16_t i = 0; i < capacity_; ++i) {
    if (IsCurvePointActive(&points_[i])) continue;
    for (int16_t j = i + 1; j < capacity_; ++j) {
      if (IsCurvePointActive(&points_[j])) {
        points_[i] = points_[j];
        ClearCurvePoint(j);
        break;
      }
    }
  }
}

int16_t ToneCurve::FindNearestCurvePoint(double x, double y, double dx, double dy) {
  int16_t nearest = -1;
  double best = 0;
  for (int16_t i = 0; i < capacity_; ++i) {
    const double ex = std::fabs(x - points_[i].x);
    const double ey = std::fabs(y - points_[i].y);
    if (ex >= dx || ey >= dy) continue;
    const double distance = std::sqrt(ex * ex + ey * ey);
    if (nearest < 0 || distance < best) {
      nearest = i;
      best = distance;
    }
  }
  return nearest;
}

// A point's rank is the number of earlier active points that are not above
// it; every earlier point is checked, so that a crossing is never missed
// behind a point that lies above in all channels.
bool ToneCurve::OrderCurvePoints(uint16_t* order) {
  if (!points_) return false;
  std::vector<uint16_t> own;
  if (!order) {
    own.resize(static_cast<size_t>(capacity_));
    order = own.data();
  }
  for (int16_t i = 0; i < capacity_; ++i) order[i] = kUnranked;
  for (int16_t i = 0; i < capacity_; ++i) {
    const CurvePoint& point = points_[i];
    if (!IsCurvePointActive(&point)) continue;
    int16_t rank = 0;
    for (int16_t j = 0; j < i; ++j) {
      if (!IsCurvePointActive(&points_[j])) continue;
      const Relation relation = Compare(points_[j], point);
      if (relation == Relation::kCrossing) return false;
      if (relation == Relation::kNotAbove) ++rank;
    }
    for (int16_t m = 0; m < i; ++m) {
      if (static_cast<int16_t>(order[m]) >= rank) ++order[m];
    }
    order[i] = static_cast<uint16_t>(rank);
  }
  return true;
}

bool ToneCurve::AddCurvePoint(const CurvePoint* point) {
  const int16_t index = FindFreeCurvePoint();
  if (index < 0 || !SetCurvePoint(point, index)) return false;
  if (!OrderCurvePoints(nullptr)) {
    ClearCurvePoint(index);
    return false;
  }
  return true;
}

bool ToneCurve::BuildPointCorrectionTable(void* table, uint8_t wide, int32_t n, int32_t levels, int32_t lo,
                                          int32_t hi, int32_t outLo, int32_t outHi, FrameRecord* frame,
                                          int16_t channel) {
  if (!table || !points_ || channel < 0 || channel > 3 || n < 2 || levels < 2) return false;
  std::vector<uint16_t> order(static_cast<size_t>(capacity_));
  if (!OrderCurvePoints(order.data())) return false;
  lo = std::min(std::max(lo, 0), n - 1);
  hi = std::min(std::max(hi, lo), n - 1);
  const TableView view{table, wide != 0};

  // The active points' tones of the channel, in rank order.
  std::vector<int16_t> ranked;
  for (int16_t i = 0; i < capacity_; ++i) {
    if (order[i] != kUnranked) ranked.push_back(i);
  }
  std::stable_sort(ranked.begin(), ranked.end(), [&](int16_t a, int16_t b) { return order[a] < order[b]; });
  std::vector<double> tones;   // source, target of each point in turn
  for (int16_t i : ranked) {
    tones.push_back(points_[i].source[channel]);
    tones.push_back(points_[i].target[channel]);
  }
  if (FilmRemapsPoints(frame) && hi > lo && !RemapThroughFilm(&tones, n, lo, hi, frame, channel)) return false;

  // Knots: the two ends of the range and one per point, each with its wanted value.
  const size_t m = ranked.size();
  std::vector<int32_t> index(m + 2);
  std::vector<double> wanted(m + 2);
  const double scale = static_cast<double>(outHi - outLo) / (levels - 1);
  index[0] = lo;
  wanted[0] = outLo + view.Get(lo) * scale;
  for (size_t k = 1; k <= m; ++k) {
    index[k] = std::min(std::max(TruncRound((n - 1) * tones[2 * (k - 1)]), lo), hi);
    const int32_t at = std::min(std::max(TruncRound((n - 1) * tones[2 * (k - 1) + 1]), 0), n - 1);
    wanted[k] = outLo + view.Get(at) * scale;
  }
  index[m + 1] = hi;
  wanted[m + 1] = outLo + view.Get(hi) * scale;

  std::vector<double> slope(m + 1), offset(m + 1);
  for (size_t k = 0; k <= m; ++k) {
    const int32_t t0 = view.Get(index[k]);
    const int32_t t1 = view.Get(index[k + 1]);
    slope[k] = t1 == t0 ? 0.0 : (wanted[k + 1] - wanted[k]) / (t1 - t0);
    offset[k] = wanted[k] - t0 * slope[k];
  }
  for (size_t k = 0; k <= m; ++k) {
    for (int32_t i = index[k]; i < index[k + 1]; ++i) {
      view.Set(i, ClampLevel(TruncRound(view.Get(i) * slope[k] + offset[k]), levels));
    }
  }
  view.Set(hi, ClampLevel(TruncRound(wanted[m + 1]), levels));
  return true;
}

void LoadCurvePointsFromFrame(FrameRecord* frame, ToneCurve* curve) {
  if (!frame || !curve) return;
  curve->ClearCurvePoints();
  for (int p = 0; p < kFrameCurvePoints; ++p) {
    CurvePoint point;
    point.x = frame->fixedPoints[p].x;
    point.y = frame->fixedPoints[p].y;
    for (int c = 0; c < 4; ++c) {
      point.source[c] = frame->tone[c].fixedPointValues[p].source / 255.0;
      point.target[c] = frame->tone[c].fixedPointValues[p].target / 255.0;
    }
    if (!curve->IsCurvePointActive(&point)) curve->ClearCurvePointRecord(&point);
    curve->AddCurvePoint(&point);
  }
}

void StoreCurvePointsToFrame(ToneCurve* curve, FrameRecord* frame) {
  if (!frame) return;
  for (int p = 0; p < kFrameCurvePoints; ++p) {
    frame->fixedPoints[p] = FramePoint{0, 0};
    for (int c = 0; c < 4; ++c) frame->tone[c].fixedPointValues[p] = ToneFixedPointValue{0, 0};
  }
  if (!curve) return;
  curve->CompactCurvePoints();
  for (int16_t p = 0; p < kFrameCurvePoints; ++p) {
    CurvePoint point;
    if (!curve->GetCurvePoint(&point, p) || !curve->IsCurvePointActive(&point)) continue;
    frame->fixedPoints[p] = FramePoint{point.x, point.y};
    for (int c = 0; c < 4; ++c) {
      frame->tone[c].fixedPointValues[p].source = static_cast<int16_t>(TruncRound(point.source[c] * 255));
      frame->tone[c].fixedPointValues[p].target = static_cast<int16_t>(TruncRound(point.target[c] * 255));
    }
  }
}
