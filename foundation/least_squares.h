// A multivariate polynomial over a range of total degrees, fitted by least
// squares to samples and evaluated at any point. Models and sample sets are
// single blocks from AllocBlock.
//
// Term order: grouped by total degree from the minimum up; within a degree the
// LAST variable's exponent runs from 0 upwards, the remaining degree spread
// over the variables before it in the same way, the first taking what is
// left. Two variables, degrees 0..2: 1, x0, x1, x0^2, x0*x1, x1^2.
#pragma once

#include <cstddef>
#include <cstdint>

struct PolyModel {
  int32_t minDegree;
  int32_t maxDegree;
  int32_t variableCount;
  int32_t termCount;
  int32_t fittedCount;  // 0 until a fit succeeds, then termCount
  int32_t reserved;
  // termCount coefficients (doubles) follow.
};
static_assert(sizeof(PolyModel) == 24, "coefficients start at byte 24");

struct PolySampleSet {
  int32_t capacity;
  int32_t count;
  int32_t variableCount;
  int32_t reserved;
  // capacity samples follow: a target value, then one value per variable.
};
static_assert(sizeof(PolySampleSet) == 16, "samples start at byte 16");

inline double* PolyCoefficients(PolyModel* model) { return reinterpret_cast<double*>(model + 1); }
inline const double* PolyCoefficients(const PolyModel* model) { return reinterpret_cast<const double*>(model + 1); }

PolyModel* CreatePolyModel(int minDegree, int maxDegree, int variableCount);
PolySampleSet* CreatePolySampleSet(int capacity, int variableCount);
bool AddPolySample(PolySampleSet* set, const double* values, double target);
void FreePolyBlock(void* block);
// False when the term count does not fit the degrees and the set's variable
// count, when memory is short, or when the normal equations are singular.
bool FitPolynomialLeastSquares(PolyModel* model, const PolySampleSet* set);
double EvalPolyModel(const PolyModel* model, const double* point);

int CountPolyTerms(int minDegree, int maxDegree, int variableCount);
int CountMonomials(int degree, int variableCount);
int CountMonomialsRecursive(int degree, int variableCount);
void TermExponents(int minDegree, int maxDegree, int variableCount, int* exponents, int termIndex);
double EvalMonomial(int variableCount, const double* point, const int* exponents);
// Gauss elimination with partial pivoting; matrix (n x n, row by row) and
// right-hand side are overwritten. False for a missing argument or a pivot
// whose magnitude is below 1e-10.
bool SolveLinearSystem(double* solution, double* matrix, double* rhs, int n);

bool HasMonomialTable(int degree, int variableCount);
bool BuildMonomialTable(int degree, int variableCount);
void FreeMonomialTable();

uint32_t PolyModelSize(int termCount);
uint32_t PolySampleSetSize(int capacity, int variableCount);
uint32_t PolySampleSize(int variableCount);
// Sample i: its target value, then its variable values.
double* PolySampleAt(PolySampleSet* set, int index);
const double* PolySampleAt(const PolySampleSet* set, int index);
