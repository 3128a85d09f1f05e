#include "foundation/least_squares.h"

#include <cmath>
#include <utility>

#include "foundation/memory.h"

namespace {

// Monomial counts: entry [d][v] is the count of degree d in v + 1 variables.
struct MonomialTable {
  int maxDegree = -1;
  int variableCount = 0;
  int* counts = nullptr;
};
MonomialTable gMonomialTable;

}  // namespace

bool HasMonomialTable(int degree, int variableCount) {
  return gMonomialTable.counts && degree <= gMonomialTable.maxDegree && variableCount <= gMonomialTable.variableCount;
}

bool BuildMonomialTable(int degree, int variableCount) {
  if (degree < 0 || variableCount < 1) return false;
  auto* counts = static_cast<int*>(AllocBlock(static_cast<uint32_t>((degree + 1) * variableCount * sizeof(int))));
  if (!counts) return false;
  for (int d = 0; d <= degree; ++d) {
    for (int v = 0; v < variableCount; ++v) {
      int* entry = counts + d * variableCount + v;
      *entry = d == 0 || v == 0 ? 1 : entry[-1] + counts[(d - 1) * variableCount + v];
    }
  }
  FreeMonomialTable();
  gMonomialTable = MonomialTable{degree, variableCount, counts};
  return true;
}

void FreeMonomialTable() {
  FreeBlock(gMonomialTable.counts);
  gMonomialTable = MonomialTable{};
}

int CountMonomialsRecursive(int degree, int variableCount) {
  if (degree < 0 || variableCount < 1) return 0;
  if (degree == 0 || variableCount == 1) return 1;
  int sum = 0;
  for (int k = degree; k >= 0; --k) sum += CountMonomialsRecursive(k, variableCount - 1);
  return sum;
}

int CountMonomials(int degree, int variableCount) {
  if (degree >= 0 && variableCount >= 1 && HasMonomialTable(degree, variableCount))
    return gMonomialTable.counts[degree * gMonomialTable.variableCount + variableCount - 1];
  return CountMonomialsRecursive(degree, variableCount);
}

int CountPolyTerms(int minDegree, int maxDegree, int variableCount) {
  int terms = 0;
  for (int d = minDegree; d <= maxDegree; ++d) terms += CountMonomials(d, variableCount);
  return terms;
}

void TermExponents(int minDegree, int maxDegree, int variableCount, int* exponents, int termIndex) {
  int sum = 0;
  int degree = minDegree;
  for (; degree < maxDegree; ++degree) {
    int count = CountMonomials(degree, variableCount);
    if (sum + count > termIndex) break;
    sum += count;
  }
  if (variableCount == 1) {
    exponents[0] = degree;
    return;
  }
  int remaining = degree;
  for (int v = variableCount - 1; v >= 1; --v) {
    int e = 0;
    while (e < remaining) {
      int count = CountMonomials(remaining - e, v);
      if (sum + count > termIndex) break;
      sum += count;
      ++e;
    }
    exponents[v] = e;
    remaining -= e;
  }
  exponents[0] = remaining;
}

double EvalMonomial(int variableCount, const double* point, const int* exponents) {
  double value = 1.0;
  for (int i = 0; i < variableCount; ++i)
    for (int k = 0; k < exponents[i]; ++k) value *= point[i];
  return value;
}

bool SolveLinearSystem(double* solution, double* matrix, double* rhs, int n) {
  if (!solution || !matrix || !rhs || n < 1) return false;
  auto at = [matrix, n](int row, int column) -> double& { return matrix[row * n + column]; };
  for (int column = 0; column < n; ++column) {
    int pivot = column;
    for (int row = column + 1; row < n; ++row)
      if (std::fabs(at(row, column)) > std::fabs(at(pivot, column))) pivot = row;
    if (std::fabs(at(pivot, column)) < 1e-10) return false;
    if (pivot != column) {
      for (int k = 0; k < n; ++k) std::swap(at(pivot, k), at(column, k));
      std::swap(rhs[pivot], rhs[column]);
    }
    for (int row = column + 1; row < n; ++row) {
      double factor = at(row, column) / at(column, column);
      for (int k = column; k < n; ++k) at(row, k) -= factor * at(column, k);
      rhs[row] -= factor * rhs[column];
    }
  }
  for (int row = n - 1; row >= 0; --row) {
    double value = rhs[row];
    for (int k = row + 1; k < n; ++k) value -= at(row, k) * solution[k];
    solution[row] = value / at(row, row);
  }
  return true;
}

uint32_t PolyModelSize(int termCount) { return static_cast<uint32_t>(termCount) * 8 + sizeof(PolyModel); }

uint32_t PolySampleSize(int variableCount) { return static_cast<uint32_t>(variableCount) * 8 + 8; }

uint32_t PolySampleSetSize(int capacity, int variableCount) {
  return static_cast<uint32_t>(capacity) * PolySampleSize(variableCount) + sizeof(PolySampleSet);
}

double* PolySampleAt(PolySampleSet* set, int index) {
  return reinterpret_cast<double*>(set + 1) + static_cast<size_t>(index) * (set->variableCount + 1);
}

const double* PolySampleAt(const PolySampleSet* set, int index) {
  return reinterpret_cast<const double*>(set + 1) + static_cast<size_t>(index) * (set->variableCount + 1);
}

PolyModel* CreatePolyModel(int minDegree, int maxDegree, int variableCount) {
  if (maxDegree >= 0 && variableCount >= 1 && !HasMonomialTable(maxDegree, variableCount))
    BuildMonomialTable(maxDegree, variableCount);
  int terms = CountPolyTerms(minDegree, maxDegree, variableCount);
  auto* model = static_cast<PolyModel*>(AllocBlock(PolyModelSize(terms)));
  if (!model) return nullptr;
  *model = PolyModel{minDegree, maxDegree, variableCount, terms, 0, 0};
  return model;
}

PolySampleSet* CreatePolySampleSet(int capacity, int variableCount) {
  if (capacity < 0 || variableCount < 1) return nullptr;
  auto* set = static_cast<PolySampleSet*>(AllocBlock(PolySampleSetSize(capacity, variableCount)));
  if (!set) return nullptr;
  *set = PolySampleSet{capacity, 0, variableCount, 0};
  return set;
}

bool AddPolySample(PolySampleSet* set, const double* values, double target) {
  if (!set || set->count >= set->capacity) return false;
  double* sample = PolySampleAt(set, set->count++);
  sample[0] = target;
  for (int i = 0; i < set->variableCount; ++i) sample[1 + i] = values[i];
  return true;
}

void FreePolyBlock(void* block) { FreeBlock(block); }

bool FitPolynomialLeastSquares(PolyModel* model, const PolySampleSet* set) {
  if (!model || !set) return false;
  int variables = set->variableCount;
  if (!HasMonomialTable(model->maxDegree, variables) && !BuildMonomialTable(model->maxDegree, variables)) return false;
  const int terms = model->termCount;
  if (terms < 1 || terms != CountPolyTerms(model->minDegree, model->maxDegree, variables)) return false;
  const int samples = set->count;
  auto* design = static_cast<double*>(AllocBlock(static_cast<uint32_t>(samples * terms * 8)));
  auto* normal = static_cast<double*>(AllocBlock(static_cast<uint32_t>(terms * terms * 8)));
  auto* rhs = static_cast<double*>(AllocBlock(static_cast<uint32_t>(terms * 8)));
  auto* exponents = static_cast<int*>(AllocBlock(static_cast<uint32_t>(variables * sizeof(int))));
  bool solved = false;
  if (design && normal && rhs && exponents) {
    for (int t = 0; t < terms; ++t) {
      TermExponents(model->minDegree, model->maxDegree, variables, exponents, t);
      for (int s = 0; s < samples; ++s)
        design[s * terms + t] = EvalMonomial(variables, PolySampleAt(set, s) + 1, exponents);
    }
    for (int i = 0; i < terms; ++i) {
      for (int j = 0; j < terms; ++j) {
        double sum = 0.0;
        for (int s = 0; s < samples; ++s) sum += design[s * terms + i] * design[s * terms + j];
        normal[i * terms + j] = sum;
      }
      double sum = 0.0;
      for (int s = 0; s < samples; ++s) sum += design[s * terms + i] * PolySampleAt(set, s)[0];
      rhs[i] = sum;
    }
    solved = SolveLinearSystem(PolyCoefficients(model), normal, rhs, terms);
  }
  FreeBlock(design);
  FreeBlock(normal);
  FreeBlock(rhs);
  FreeBlock(exponents);
  model->fittedCount = solved ? terms : 0;
  return solved;
}

double EvalPolyModel(const PolyModel* model, const double* point) {
  if (!model) return 0.0;
  auto* exponents = static_cast<int*>(AllocBlock(static_cast<uint32_t>(model->variableCount * sizeof(int))));
  if (!exponents) return 0.0;
  double value = 0.0;
  for (int t = 0; t < model->termCount; ++t) {
    TermExponents(model->minDegree, model->maxDegree, model->variableCount, exponents, t);
    value += PolyCoefficients(model)[t] * EvalMonomial(model->variableCount, point, exponents);
  }
  FreeBlock(exponents);
  return value;
}
