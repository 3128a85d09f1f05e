#include "foundation/curves/linear_table.h"

#include <cmath>
#include <cstring>
#include <new>

bool InitLinearTable(LinearTable* table, int32_t count, const double* x, const double* y) {
  table->count = 0;
  table->x = nullptr;
  table->y = nullptr;
  if (count <= 0) return true;
  table->x = new (std::nothrow) double[count];
  table->y = new (std::nothrow) double[count];
  if (table->x == nullptr || table->y == nullptr) {
    FreeLinearTable(table);
    return false;
  }
  std::memcpy(table->x, x, sizeof(double) * count);
  std::memcpy(table->y, y, sizeof(double) * count);
  table->count = count;
  return true;
}

void FreeLinearTable(LinearTable* table) {
  delete[] table->x;
  delete[] table->y;
  table->x = nullptr;
  table->y = nullptr;
  table->count = 0;
}

double EvalLinearTable(const LinearTable* table, double x) {
  if (table == nullptr || table->count < 2) return x;
  int i = table->count - 2;
  while (i > 0 && !(x >= table->x[i])) --i;
  const double dx = table->x[i + 1] - table->x[i];
  const double slope = std::fabs(dx) < 1e-10 ? 0.0 : (table->y[i + 1] - table->y[i]) / dx;
  return table->y[i] + (x - table->x[i]) * slope;
}
