#include "sharpen/negative_tool_rules.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "foundation/decimal.h"
#include "foundation/pstring.h"
#include "foundation/round.h"
#include "foundation/system.h"

namespace {

constexpr int32_t kSliderLow = 0;
constexpr int32_t kSliderHigh = 100;
constexpr double kStopsPerHalfSlider = 3.0;
constexpr double kSingleModeMargin = 0.02;
constexpr double kWarpMargin = 0.1;
constexpr int32_t kMarkerGap = 20;
constexpr double kTinyRange = 1e-10;
constexpr int kFieldSize = 256;

double Clamp01(double v) { return std::min(std::max(v, 0.0), 1.0); }

std::vector<std::string> StringFields(ModuleHandle module, uint32_t id) {
  std::vector<std::string> fields;
  char text[kFieldSize];
  for (int field = 1; LoadStringField(module, id, field, text, sizeof text) > 0; ++field) fields.emplace_back(text);
  return fields;
}

// The 1-based field of the longest entry that, followed by a blank, begins the text.
int LongestPrefixField(const std::vector<std::string>& entries, const std::string& text) {
  int best = 0;
  size_t bestLength = 0;
  for (size_t i = 0; i < entries.size(); ++i) {
    const std::string prefix = entries[i] + ' ';
    if (text.compare(0, prefix.size(), prefix) == 0 && entries[i].size() > bestLength) {
      best = static_cast<int>(i) + 1;
      bestLength = entries[i].size();
    }
  }
  return best;
}

bool BeginsWith(const char* name, const std::string& prefix) { return std::strncmp(name, prefix.c_str(), prefix.size()) == 0; }

// Normalised (input, output) of a point's colour (1-3) against the last point.
struct CurvePair {
  double u, v;
};

CurvePair Normalised(const FilmCurve* curve, int k, int colour) {
  const int n = FilmCurvePointCount(curve);
  const FilmPoint last = FilmCurvePoint(curve, n - 1);
  const FilmPoint p = FilmCurvePoint(curve, k);
  const int i = 2 * (colour - 1);
  return {static_cast<double>(p.value[i]) / last.value[i], static_cast<double>(p.value[i + 1]) / last.value[i + 1]};
}

void StoreNormalised(FilmCurve* curve, int k, int colour, CurvePair pair) {
  const int n = FilmCurvePointCount(curve);
  const FilmPoint last = FilmCurvePoint(curve, n - 1);
  FilmPoint p = FilmCurvePoint(curve, k);
  const int i = 2 * (colour - 1);
  p.value[i] = static_cast<uint16_t>(TruncRound(Clamp01(pair.u) * last.value[i]));
  p.value[i + 1] = static_cast<uint16_t>(TruncRound(Clamp01(pair.v) * last.value[i + 1]));
  SetFilmCurvePoint(curve, k, p);
}

bool HasScale(const FilmCurve* curve) {
  const int n = FilmCurvePointCount(curve);
  if (n < 2) return false;
  for (uint16_t v : FilmCurvePoint(curve, n - 1).value)
    if (v < 1) return false;
  return true;
}

}  // namespace

int32_t ExposureToSliderPosition(float exposure) {
  const double e = Clamp01(exposure);
  return TruncRound(e * (kSliderHigh - kSliderLow) + kSliderLow);
}

float SliderPositionToExposure(int32_t position) {
  if (kSliderHigh <= kSliderLow) return 0.0f;
  return static_cast<float>(Clamp01(static_cast<double>(position - kSliderLow) / (kSliderHigh - kSliderLow)));
}

std::string ExposureEditText(int32_t position) {
  PString text;
  FormatDecimal(text, (position - 50) * 0.02 * kStopsPerHalfSlider, 1);
  return PStrToC(text);
}

ExposureEdit ReadExposureEdit(const char* text) {
  ExposureEdit edit = {true, 0, false};
  if (!text || !*text) return edit;
  PString number;
  PStrFromC(number, text);
  // Far beyond the trackbar every value acts alike; the bound keeps the position an int.
  const double value = std::min(std::max(ParseDecimal(number), -1e6), 1e6);
  // Rounded to the nearest position also below 0 stops (-1.5 gives 25).
  const auto position = static_cast<int32_t>(std::floor(value * (50.0 / kStopsPerHalfSlider) + 0.5)) + 50;
  edit.empty = false;
  edit.position = std::min(std::max(position, kSliderLow), kSliderHigh);
  edit.outOfRange = position != edit.position;
  return edit;
}

FilmNameParts ParseFilmName(ModuleHandle module, const char* name) {
  FilmNameParts parts = {0, "", 0, ""};
  const std::string text = name ? name : "";
  const std::vector<std::string> makers = StringFields(module, kFilmMakerListString);
  parts.maker = LongestPrefixField(makers, text);
  if (!parts.maker) return parts;
  parts.makerName = makers[parts.maker - 1];
  const std::vector<std::string> lines = FilmLinesOf(module, parts.maker);
  parts.line = LongestPrefixField(lines, text.substr(parts.makerName.size() + 1));
  if (parts.line) parts.lineName = lines[parts.line - 1];
  return parts;
}

std::vector<std::string> FilmLinesOf(ModuleHandle module, int maker) {
  if (maker < 1) return {};
  return StringFields(module, kFilmMakerListString + static_cast<uint32_t>(maker));
}

FilmProfileFilter FilmProfileFilterFor(ModuleHandle module, const char* name) {
  FilmProfileFilter filter;
  const FilmNameParts parts = ParseFilmName(module, name);
  if (!parts.maker) {
    for (const std::string& maker : StringFields(module, kFilmMakerListString)) filter.exclude.push_back(maker + ' ');
    return filter;
  }
  const std::string maker = parts.makerName + ' ';
  const std::vector<std::string> lines = FilmLinesOf(module, parts.maker);
  if (!parts.line) {
    filter.include = maker;
    for (const std::string& line : lines) filter.exclude.push_back(maker + line + ' ');
    return filter;
  }
  filter.include = maker + parts.lineName + ' ';
  // A longer line that begins like this one (Optima II beside Optima) has its own list.
  for (const std::string& line : lines) {
    if (line.size() > parts.lineName.size() && line.compare(0, parts.lineName.size(), parts.lineName) == 0)
      filter.exclude.push_back(maker + line + ' ');
  }
  return filter;
}

bool FilmProfileListed(const FilmProfileFilter& filter, const char* name) {
  if (!name || !BeginsWith(name, filter.include)) return false;
  for (const std::string& prefix : filter.exclude)
    if (BeginsWith(name, prefix)) return false;
  return true;
}

bool NegativeDataFits(uint32_t size, bool highBitSource) { return size == (highBitSource ? 16u : 8u); }

double NegativeAdaptFactor(const uint16_t measuredHigh[3], const uint16_t saved[8]) {
  double k = 0;
  for (int c = 0; c < 3; ++c) {
    const uint16_t high = saved[3 + 2 * c];
    if (high != 0) k = std::max(k, static_cast<double>(measuredHigh[c]) / high);
  }
  return k;
}

void AdaptNegativeData(uint16_t saved[8], double k) {
  if (!(k > 0)) return;
  for (int i = 2; i < 8; ++i) saved[i] = static_cast<uint16_t>(std::min(TruncRound(saved[i] * k), 65535));
}

bool ExtremeColourFractions(const uint16_t sample[3], const uint16_t params[8], double out[3]) {
  for (int c = 0; c < 3; ++c) {
    const double low = params[2 + 2 * c] / 65535.0;
    const double high = params[3 + 2 * c] / 65535.0;
    if (high - low < kTinyRange) return false;
    out[c] = Clamp01((high - sample[c] / 65535.0) / (high - low));
  }
  return true;
}

InputRange SingleModeInputRange(double previous, double x0, double next) {
  const double margin = (next - previous) * kSingleModeMargin;
  InputRange range = {previous + margin, next - margin};
  if (!(range.high > range.low)) range = {x0, x0};
  return range;
}

InputRange WarpModeInputRange(double x0) { return {kWarpMargin * x0, 1 - kWarpMargin * (1 - x0)}; }

void WarpFilmCurve(FilmCurve* curve, const FilmCurve* pressed, int point, int colour, double X, double Y) {
  const int n = FilmCurvePointCount(curve);
  if (!curve || !pressed || FilmCurvePointCount(pressed) != n || point < 1 || point >= n - 1 || colour < 1 ||
      colour > 3 || !HasScale(pressed))
    return;
  const CurvePair start = Normalised(pressed, point, colour);
  // At an end of the axis the bend is not defined: that axis stays as it was.
  const double inSpan = (1 - start.u) * start.u;
  const double outSpan = (1 - start.v) * start.v;
  const double kIn = inSpan != 0 ? (X - start.u) / inSpan : 0.0;
  const double kOut = outSpan != 0 ? (Y - start.v) / outSpan : 0.0;
  for (int k = 1; k < n - 1; ++k) {
    if (k == point) {
      StoreNormalised(curve, k, colour, {X, Y});
      continue;
    }
    const CurvePair p = Normalised(pressed, k, colour);
    StoreNormalised(curve, k, colour, {p.u + kIn * p.u * (1 - p.u), p.v + kOut * p.v * (1 - p.v)});
  }
}

bool SmoothFilmCurve(FilmCurve* curve) {
  const int n = FilmCurvePointCount(curve);
  if (!curve || n < 2 || n > 50 || !HasScale(curve)) return false;
  for (int colour = 1; colour <= 3; ++colour) {
    std::vector<CurvePair> p(n);
    for (int k = 0; k < n; ++k) p[k] = Normalised(curve, k, colour);
    p[0] = {0, 0};
    p[n - 1] = {1, 1};
    std::vector<CurvePair> D(n, CurvePair{0, 0});
    for (int i = 1; i < n - 1; ++i) {
      const CurvePair c = {p[i + 1].u - p[i - 1].u, p[i + 1].v - p[i - 1].v};
      const CurvePair u = {p[i].u - p[i - 1].u, p[i].v - p[i - 1].v};
      const double cc = c.u * c.u + c.v * c.v;
      if (cc == 0) continue;
      const double t = (u.u * c.u + u.v * c.v) / cc;
      D[i] = {0.5 * (t * c.u - u.u), 0.5 * (t * c.v - u.v)};
    }
    for (int i = 1; i < n - 1; ++i) {
      StoreNormalised(curve, i, colour,
                      {p[i].u + (2 * D[i].u - D[i - 1].u - D[i + 1].u) / 3,
                       p[i].v + (2 * D[i].v - D[i - 1].v - D[i + 1].v) / 3});
    }
  }
  return true;
}

void RemapFilmCurveOutputs(FilmCurve* curve, int colour, const uint16_t* table) {
  const int n = FilmCurvePointCount(curve);
  if (!curve || !table || n < 3 || colour < 1 || colour > 3 || !HasScale(curve)) return;
  for (int k = 1; k < n - 1; ++k) {
    CurvePair p = Normalised(curve, k, colour);
    p.v = table[TruncRound(65535 * Clamp01(p.v))] / 65535.0;
    StoreNormalised(curve, k, colour, p);
  }
}

int32_t LevelToGraphPosition(uint16_t level, double gamma) {
  return TruncRound((1 - std::pow(level / 65535.0, 1 / gamma)) * 255);
}

uint16_t GraphPositionToLevel(int32_t position, double gamma) {
  return static_cast<uint16_t>(TruncRound(std::pow(1 - Clamp01(position / 255.0), gamma) * 65535));
}

int32_t MoveHistogramMarker(int32_t pressPosition, int32_t offset, int32_t otherPosition) {
  const int32_t moved = pressPosition + offset;
  if (pressPosition < otherPosition) return std::min(std::max(moved, 0), otherPosition - kMarkerGap);
  return std::min(std::max(moved, otherPosition + kMarkerGap), 255);
}

bool EdgeColoursToMask(const uint16_t a[3], const uint16_t b[3], const uint16_t c[3], const uint16_t d[3],
                       uint16_t mask[8]) {
  uint16_t pairs[6];
  for (int k = 0; k < 3; ++k) {
    const double A = a[k] / 65535.0, B = b[k] / 65535.0, C = c[k] / 65535.0, D = d[k] / 65535.0;
    if (std::fabs(A - B) < kTinyRange || std::fabs(D - C) < kTinyRange) return false;
    const double L = (A * D - C * B) / (D - C);
    const double H = L - (A - B) / (D - C);
    if (H < 0 || L >= 1) return false;
    // The high end may pass full scale; the stored levels stop there.
    pairs[2 * k] = static_cast<uint16_t>(std::min(TruncRound(H * 65535), 65535));
    pairs[2 * k + 1] = static_cast<uint16_t>(std::min(std::max(TruncRound(L * 65535), 0), 65535));
  }
  std::memcpy(mask + 2, pairs, sizeof pairs);
  return true;
}

float ToleranceFromSliderFraction(double fraction) {
  const double f = Clamp01(fraction);
  return static_cast<float>(f * f * 0.001);
}

double SliderFractionFromTolerance(float tolerance) { return std::sqrt(std::max(tolerance, 0.0f) / 0.001); }

bool DetectNegativePair8(const uint8_t T[256], const uint32_t histogram[256], uint8_t* low, uint8_t* high) {
  int first = -1, last = -1;
  for (int bin = 0; bin < 256; ++bin) {
    if (!histogram[bin]) continue;
    if (first < 0) first = bin;
    last = bin;
  }
  if (first < 0) return false;
  *low = T[255 - last];
  *high = T[255 - first];
  return true;
}
