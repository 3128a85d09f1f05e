// The piecewise-linear table.
#include <gtest/gtest.h>

#include "foundation/curves/linear_table.h"

namespace {

struct EvalCase {
  double x;
  double expected;
};

class EvalLinearTableCases : public ::testing::TestWithParam<EvalCase> {};

TEST_P(EvalLinearTableCases, InterpolatesAndExtendsTheEndSegments) {
  const double xs[] = {0.0, 10.0, 20.0, 40.0};
  const double ys[] = {1.0, 3.0, 3.0, -1.0};
  LinearTable table;
  ASSERT_TRUE(InitLinearTable(&table, 4, xs, ys));
  EXPECT_DOUBLE_EQ(EvalLinearTable(&table, GetParam().x), GetParam().expected);
  FreeLinearTable(&table);
  EXPECT_EQ(table.count, 0);
  EXPECT_EQ(table.x, nullptr);
}

INSTANTIATE_TEST_SUITE_P(Points, EvalLinearTableCases,
                         ::testing::Values(EvalCase{0.0, 1.0}, EvalCase{5.0, 2.0}, EvalCase{10.0, 3.0},
                                           EvalCase{15.0, 3.0}, EvalCase{30.0, 1.0}, EvalCase{40.0, -1.0},
                                           EvalCase{-10.0, -1.0},   // first segment extended
                                           EvalCase{50.0, -3.0}));  // last segment extended

TEST(EvalLinearTable, FewerThanTwoPointsReturnX) {
  const double xs[] = {5.0};
  const double ys[] = {9.0};
  LinearTable table;
  ASSERT_TRUE(InitLinearTable(&table, 1, xs, ys));
  EXPECT_EQ(EvalLinearTable(&table, 2.5), 2.5);
  EXPECT_EQ(EvalLinearTable(nullptr, -4.0), -4.0);
  FreeLinearTable(&table);
}

TEST(EvalLinearTable, EqualXGivesTheFirstY) {
  const double xs[] = {3.0, 3.0};
  const double ys[] = {7.0, 11.0};
  LinearTable table;
  ASSERT_TRUE(InitLinearTable(&table, 2, xs, ys));
  for (double x : {-100.0, 3.0, 3.5, 1000.0}) EXPECT_EQ(EvalLinearTable(&table, x), 7.0);
  FreeLinearTable(&table);
}

}  // namespace
