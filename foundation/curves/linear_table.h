// A piecewise-linear table of doubles (the sharpening settings use it).
#pragma once

#include <cstdint>

struct LinearTable {
  int32_t count;
  double* x;
  double* y;
};

// Copies the points; false (and an empty table) when the arrays cannot be had.
bool InitLinearTable(LinearTable* table, int32_t count, const double* x, const double* y);
// Frees the arrays and sets the count to 0.
void FreeLinearTable(LinearTable* table);
// The piecewise-linear value at x; the first and last segments extend beyond
// the ends. Without a table or with fewer than 2 points, x itself.
double EvalLinearTable(const LinearTable* table, double x);
