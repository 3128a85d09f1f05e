#include "tone/gamma_tables.h"

#include <algorithm>
#include <cmath>

#include "color/grey_row_curve.h"
#include "foundation/memory.h"
#include "foundation/round.h"
#include "sharpen/negative_curves.h"
#include "tone/table_utils.h"
#include "tone/tone_engine_state.h"

namespace {

constexpr double kToeThreshold = 1.1;   // gammas from here on get the linear toe when it is chosen
constexpr int kGreyBalancePoints = 24;

int32_t ClampEntry(int32_t v, int32_t n) { return std::min(std::max(v, 0), n - 1); }

DefaultsField<double> CurrentGammaField() {
  return ToneTransparentOriginal() ? kDefaultGammaTransparency : kDefaultGammaReflective;
}

// Power curve with a blended toe: below xc the curve S x + K (1 - (1 - x/xc)^1.5)
// starts at 0 and meets x^e at xc with the same value and slope.
double ToedPower(double x, double e) {
  const double xc = std::pow(10.0, 1.0 / (e - 1.0));
  if (x >= xc) return std::pow(x, e);
  const double s = 10.0 * e;
  const double k = xc * (10.0 - s);
  return s * x + k * (1.0 - std::pow(1.0 - x / xc, 1.5));
}

// The defaults' film limits of a channel (bytes 0..255, low then high).
void DefaultFilmLimits(int16_t channel, double gamma, double top, double* lo, double* hi) {
  const uint8_t* limits = DefaultsBytes(ToneDefaults(), kDefaultFilmLimits) + 2 * channel;
  *lo = std::pow(limits[0] / 255.0, gamma) * top;
  *hi = std::pow(limits[1] / 255.0, gamma) * top;
}

}  // namespace

double CurrentGamma() { return GetDefault(ToneDefaults(), CurrentGammaField()); }

void SetCurrentGamma(double gamma) { SetDefault(ToneDefaults(), CurrentGammaField(), gamma); }

void BuildGammaTable(uint16_t* table, int32_t n, int32_t levels, double gamma) {
  if (!table || n < 1) return;
  table[0] = 0;
  if (n < 2) return;
  // A gamma that is no positive number leaves the levels as they are.
  if (!(gamma > 0)) gamma = 1.0;
  const double max = levels - 1;
  const double e = 1.0 / gamma;
  const bool toe = gamma >= kToeThreshold && GetDefault(ToneDefaults(), kDefaultLimitGammaSlope) != 0;
  for (int32_t i = 1; i < n; ++i) {
    const double x = static_cast<double>(i) / (n - 1);
    const double y = toe ? ToedPower(x, e) : std::pow(x, e);
    table[i] = static_cast<uint16_t>(TruncRound(y * max));
  }
}

bool BuildGreyBalanceTable(uint16_t* table, int32_t n, int16_t channel) {
  if (!table || n < 1) return false;
  double x[kGreyBalancePoints], y[kGreyBalancePoints];
  int32_t count = 0;
  const int16_t calibrationChannel = channel >= 1 && channel <= 3 ? static_cast<int16_t>(channel - 1) : 2;
  GreyRowCurvePoints(x, y, &count, kGreyBalancePoints, n, calibrationChannel);
  if (count < 2) return false;
  for (int32_t k = 0; k + 1 < count; ++k) {
    if (!(x[k + 1] > x[k])) continue;
    const double slope = (y[k + 1] - y[k]) / (x[k + 1] - x[k]);
    const double offset = y[k + 1] - slope * x[k + 1];
    const int32_t first = std::max(static_cast<int32_t>(std::ceil(x[k])), 0);
    for (int32_t i = first; i < x[k + 1] && i < n; ++i) {
      table[i] = static_cast<uint16_t>(ClampEntry(TruncRound(i * slope + offset), n));
    }
  }
  return true;
}

void BuildGammaGreyBalanceTable(uint16_t* table, int32_t n, double gamma, int16_t channel) {
  if (!table || n < 1) return;
  const uint32_t bytes = static_cast<uint32_t>(n) * sizeof(uint16_t);
  uint16_t* power = static_cast<uint16_t*>(AllocBlock(bytes));
  uint16_t* grey = static_cast<uint16_t*>(AllocBlock(bytes));
  if (power && grey) {
    BuildGammaTable(power, n, n, gamma);
    const bool balanced = BuildGreyBalanceTable(grey, n, channel);
    // Without a grey balance the power table stands alone rather than an all-black one.
    for (int32_t i = 0; i < n; ++i) table[i] = balanced ? grey[power[i]] : power[i];
  }
  FreeBlock(power);
  FreeBlock(grey);
}

void BuildNegativeGammaTable(uint16_t* table, int32_t n, double gamma, int16_t channel, FrameRecord* frame) {
  if (!table || n < 2 || channel < 0 || channel > 3) return;
  const int32_t last = n - 1;
  const double top = last;
  const bool film = gFilmCurvesInGamma != 0;

  double lo = 0, hi = 0;
  if (film && frame) {
    lo = frame->negativeLimits[2 * channel] * top;
    hi = frame->negativeLimits[2 * channel + 1] * top;
  }
  if (!(hi * 0.99 > lo)) DefaultFilmLimits(channel, gamma, top, &lo, &hi);
  // Limits outside the table would write beyond it.
  lo = std::min(std::max(lo, 0.0), top);
  hi = std::min(std::max(hi, 0.0), top);

  const double white = film ? top : 0.95 * n;
  const double black = film ? 0.0 : 0.05 * n;
  const int32_t i0 = lo <= 0 ? 0 : static_cast<int32_t>(lo);
  const int32_t i1 = static_cast<int32_t>(std::ceil(hi));

  // Head: from full scale at 0 down to white at the film's low limit.
  if (i0 > 0) {
    for (int32_t i = 0; i <= i0; ++i) table[i] = static_cast<uint16_t>(ClampEntry(TruncRound(top + i * (white - top) / lo), n));
  } else {
    table[0] = static_cast<uint16_t>(TruncRound(white));
  }

  // Middle: the film's range from white down to black.
  if (film) {
    ComputeNegativeCurves(table, i0 + 1, i1 - 1, black, white, channel, frame, gamma);
    if (i1 - i0 - 1 > 0) ReverseTable16(table + i0 + 1, i1 - i0 - 1);
  } else if (hi > lo) {
    const double s = (black - white) / (hi - lo);
    for (int32_t i = i0 + 1; i < i1; ++i) table[i] = static_cast<uint16_t>(ClampEntry(TruncRound(i * s + (white - s * lo)), n));
  }

  // Tail: from black at the film's high limit down to 0 at the end.
  if (i1 < last) {
    const double t = -black / (top - hi);
    for (int32_t i = i1; i <= last; ++i) table[i] = static_cast<uint16_t>(ClampEntry(TruncRound(i * t + (black - t * hi)), n));
  } else {
    table[last] = static_cast<uint16_t>(TruncRound(black));
  }
}

void BuildGammaTableForMode(uint16_t* table, int16_t n, double gamma, int16_t channel, uint8_t useNegative,
                            FrameRecord* frame) {
  if (!table || n < 1) return;
  const bool calibrated = ToneCalibrationInForce();
  if (ToneNegativeOriginal() && useNegative) {
    if (calibrated) {
      const uint32_t bytes = static_cast<uint32_t>(n) * sizeof(uint16_t);
      uint16_t* balance = static_cast<uint16_t*>(AllocBlock(bytes));
      uint16_t* negative = static_cast<uint16_t*>(AllocBlock(bytes));
      const bool composed = balance && negative;
      if (composed) {
        BuildGammaGreyBalanceTable(balance, n, 1.0, channel);
        BuildNegativeGammaTable(negative, n, gamma, channel, frame);
        ComposeTables16(table, negative, balance, n, n, n, n, n, n);
      }
      FreeBlock(balance);
      FreeBlock(negative);
      if (composed) return;
    }
    BuildNegativeGammaTable(table, n, gamma, channel, frame);
    return;
  }
  if (calibrated && channel != 0) {
    BuildGammaGreyBalanceTable(table, n, gamma, channel);
  } else {
    BuildGammaTable(table, n, n, gamma);
  }
}
