// The polynomial least-squares model.
#include <gtest/gtest.h>

#include <vector>

#include "foundation/least_squares.h"

namespace {

std::vector<std::vector<int>> AllTerms(int minDegree, int maxDegree, int variables) {
  std::vector<std::vector<int>> terms;
  PolyModel* model = CreatePolyModel(minDegree, maxDegree, variables);
  for (int t = 0; t < model->termCount; ++t) {
    std::vector<int> e(static_cast<size_t>(variables));
    TermExponents(minDegree, maxDegree, variables, e.data(), t);
    terms.push_back(e);
  }
  FreePolyBlock(model);
  return terms;
}

TEST(PolyTerms, OrderByDegreeThenLastVariable) {
  using T = std::vector<std::vector<int>>;
  EXPECT_EQ(AllTerms(0, 2, 2), (T{{0, 0}, {1, 0}, {0, 1}, {2, 0}, {1, 1}, {0, 2}}));
  EXPECT_EQ(AllTerms(1, 1, 3), (T{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}));
  EXPECT_EQ(AllTerms(2, 2, 3), (T{{2, 0, 0}, {1, 1, 0}, {0, 2, 0}, {1, 0, 1}, {0, 1, 1}, {0, 0, 2}}));
}

TEST(PolyTerms, CountsFromTableAndRecursionAgree) {
  FreeMonomialTable();
  EXPECT_FALSE(HasMonomialTable(3, 3));
  int recursive = CountMonomials(3, 3);
  ASSERT_TRUE(BuildMonomialTable(4, 3));
  EXPECT_TRUE(HasMonomialTable(3, 3));
  EXPECT_EQ(CountMonomials(3, 3), recursive);
  EXPECT_EQ(CountMonomials(3, 3), 10);
  EXPECT_EQ(CountPolyTerms(0, 3, 3), 20);
  EXPECT_EQ(CountPolyTerms(2, 1, 3), 0);
  EXPECT_EQ(CountMonomialsRecursive(-1, 2), 0);
  EXPECT_EQ(PolyModelSize(6), 6u * 8 + 24);
  EXPECT_EQ(PolySampleSetSize(10, 3), 10u * 32 + 16);
}

TEST(PolyFit, FitsALineAndEvaluates) {
  PolyModel* model = CreatePolyModel(0, 1, 1);
  PolySampleSet* set = CreatePolySampleSet(3, 1);
  for (double x : {0.0, 1.0, 2.0}) ASSERT_TRUE(AddPolySample(set, &x, 1 + 2 * x));
  double extra = 9;
  EXPECT_FALSE(AddPolySample(set, &extra, 0)) << "the set is full";
  EXPECT_EQ(set->count, 3);
  ASSERT_TRUE(FitPolynomialLeastSquares(model, set));
  EXPECT_EQ(model->fittedCount, 2);
  EXPECT_NEAR(PolyCoefficients(model)[0], 1.0, 1e-12);
  EXPECT_NEAR(PolyCoefficients(model)[1], 2.0, 1e-12);
  double three = 3;
  EXPECT_NEAR(EvalPolyModel(model, &three), 7.0, 1e-12);
  FreePolyBlock(model);
  FreePolyBlock(set);
}

TEST(PolyFit, RecoversAQuadraticInTwoVariables) {
  // z = 1 - x0 + 0.5 x1 + 2 x0^2 - x0 x1 + 3 x1^2 on a 4 x 4 grid.
  const double c[6] = {1, -1, 0.5, 2, -1, 3};
  PolyModel* model = CreatePolyModel(0, 2, 2);
  PolySampleSet* set = CreatePolySampleSet(16, 2);
  for (int i = 0; i < 4; ++i) {
    for (int j = 0; j < 4; ++j) {
      double p[2] = {i * 0.5, j * 0.25 - 0.3};
      AddPolySample(set, p, c[0] + c[1] * p[0] + c[2] * p[1] + c[3] * p[0] * p[0] + c[4] * p[0] * p[1] +
                                c[5] * p[1] * p[1]);
    }
  }
  ASSERT_TRUE(FitPolynomialLeastSquares(model, set));
  for (int t = 0; t < 6; ++t) EXPECT_NEAR(PolyCoefficients(model)[t], c[t], 1e-9) << "term " << t;
  FreePolyBlock(model);
  FreePolyBlock(set);
}

TEST(PolyFit, FailsCleanlyOnSingularOrMismatchedInput) {
  PolyModel* model = CreatePolyModel(0, 2, 1);
  PolySampleSet* set = CreatePolySampleSet(2, 1);
  double x = 1;
  AddPolySample(set, &x, 1);
  x = 2;
  AddPolySample(set, &x, 4);
  EXPECT_FALSE(FitPolynomialLeastSquares(model, set)) << "two samples for three terms";
  EXPECT_EQ(model->fittedCount, 0);
  FreePolyBlock(model);

  PolyModel* threeVariables = CreatePolyModel(0, 1, 3);
  PolySampleSet* twoVariables = CreatePolySampleSet(4, 2);
  EXPECT_FALSE(FitPolynomialLeastSquares(threeVariables, twoVariables)) << "4 terms against 3";
  FreePolyBlock(threeVariables);
  FreePolyBlock(twoVariables);
  FreePolyBlock(set);

  double matrix[4] = {1, 2, 2, 4}, rhs[2] = {1, 2}, solution[2] = {0, 0};
  EXPECT_FALSE(SolveLinearSystem(solution, matrix, rhs, 2));
  EXPECT_FALSE(SolveLinearSystem(nullptr, matrix, rhs, 2));
  EXPECT_EQ(EvalPolyModel(nullptr, &x), 0.0);
}

TEST(PolyFit, SolverPivotsOnTheLargestValue) {
  double matrix[4] = {0, 1, 1, 1}, rhs[2] = {2, 3}, solution[2];
  ASSERT_TRUE(SolveLinearSystem(solution, matrix, rhs, 2));
  EXPECT_DOUBLE_EQ(solution[0], 1.0);
  EXPECT_DOUBLE_EQ(solution[1], 2.0);
}

}  // namespace
