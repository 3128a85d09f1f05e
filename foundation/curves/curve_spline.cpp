#include "foundation/curves/curve_spline.h"

#include <vector>

namespace {

// Negative values give 0, values above the top give the top, the others are
// truncated; a value that is no number (from repeated x values) gives 0.
template <typename Real>
uint32_t ClampToEntry(Real value, uint32_t top) {
  if (!(value >= 0)) return 0;
  if (value > static_cast<Real>(top)) return top;
  return static_cast<uint32_t>(value);
}

// The points are extended by one mirrored point at each end; the spline is
// the natural one through the extended points (second derivatives M = 0 at
// the two extra points), so the curve leaves its end points along the
// direction of the last interval instead of flattening out.
template <typename Real, typename In, typename Out>
void EvaluateSpline(const In* xs, const In* ys, int n, int m, Out* table, uint32_t top, bool fullScale255) {
  if (n <= 0 || m < 0) return;
  const int count = n + 2;
  std::vector<Real> X(count), Y(count), M(count, 0), c(count, 0), d(count, 0);
  for (int i = 0; i < n; ++i) {
    X[i + 1] = static_cast<Real>(xs[i]);
    Y[i + 1] = (fullScale255 && ys[i] == 255) ? Real(256) : static_cast<Real>(ys[i]);
  }
  const Real lastY = Y[n];
  if (n >= 2) {
    X[0] = 2 * X[1] - X[2];
    Y[0] = 2 * Y[1] - Y[2];
    X[n + 1] = 2 * X[n] - X[n - 1];
    Y[n + 1] = 2 * Y[n] - Y[n - 1];

    // Tridiagonal system for M[1..n]: forward elimination, back substitution.
    for (int i = 1; i <= n; ++i) {
      const Real hPrev = X[i] - X[i - 1];
      const Real hNext = X[i + 1] - X[i];
      const Real rhs = 6 * ((Y[i + 1] - Y[i]) / hNext - (Y[i] - Y[i - 1]) / hPrev);
      const Real diag = 2 * (X[i + 1] - X[i - 1]) - (i > 1 ? hPrev * c[i - 1] : Real(0));
      c[i] = hNext / diag;
      d[i] = (rhs - (i > 1 ? hPrev * d[i - 1] : Real(0))) / diag;
    }
    M[n] = d[n];
    for (int i = n - 1; i >= 1; --i) M[i] = d[i] - c[i] * M[i + 1];
  }

  const Real first = X[1];
  const Real last = X[n];
  const Real step = m > 0 ? (last - first) / static_cast<Real>(m) : Real(0);
  for (int k = 0; k < m; ++k) {
    const Real position = first + static_cast<Real>(k) * step;
    Real value = lastY;
    if (position < last) {
      int i = n - 1;
      while (i > 1 && X[i] > position) --i;
      const Real h = X[i + 1] - X[i];
      const Real t = position - X[i];
      const Real slope = (Y[i + 1] - Y[i]) / h;
      value = Y[i] + t * (slope - (2 * M[i] + M[i + 1]) * h / 6) + t * t * M[i] / 2 +
              t * t * t * (M[i + 1] - M[i]) / (6 * h);
    }
    table[k] = static_cast<Out>(ClampToEntry(value, top));
  }
  table[m] = static_cast<Out>(ClampToEntry(lastY, top));
}

}  // namespace

void CurveSpline(const uint16_t* x, const uint16_t* y, int n, int m, uint8_t* table) {
  EvaluateSpline<float>(x, y, n, m, table, 255, true);
}

void CurveSpline16(const uint16_t* x, const uint16_t* y, int n, int m, uint16_t* table) {
  EvaluateSpline<float>(x, y, n, m, table, 65535, true);
}

void CurveSplineWide(const int32_t* x, const int32_t* y, int n, int m, uint16_t* table) {
  EvaluateSpline<double>(x, y, n, m, table, 65535, false);
}
