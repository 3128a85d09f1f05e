// The one rounding rule of the data source: truncation toward zero of x + 0.5.
// Every subsystem rounds through this, so that host and product agree.
#pragma once

#include <cstdint>

inline int32_t TruncRound(double x) { return static_cast<int32_t>(x + 0.5); }
