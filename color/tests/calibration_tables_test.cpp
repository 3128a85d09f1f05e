// The calibration's tables in their reset form and the fixed-point forms of the profile file.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "color/calibration_tables.h"
#include "color/color_cubes.h"
#include "color/color_matrix.h"

TEST(CalibrationTables, ResetFormHoldsTheIdentityCube) {
  std::vector<uint8_t> block(sizeof(CalibrationTables), 0xAB);
  CalibrationTables* t = reinterpret_cast<CalibrationTables*>(block.data());
  ResetCalibrationTables(t);
  ResetCalibrationTables(nullptr);
  EXPECT_EQ(t->format, 3);
  EXPECT_EQ(t->channels, 3);
  EXPECT_EQ(t->rows, 13);
  EXPECT_EQ(t->columns, 22);
  EXPECT_EQ(t->cubeChannels, 3);
  EXPECT_EQ(t->cubeNodes, 33);
  EXPECT_EQ(t->colourDone, 0);
  EXPECT_EQ(t->reference[12][21].present, 0);
  EXPECT_EQ(t->colourPassMeasured[5][5][2], 0.0);
  std::vector<double> identity(kCubeEntries * 3);
  InitIdentityCubeDoubles(identity.data());
  EXPECT_EQ(std::vector<double>(&t->cube[0][0][0][0], &t->cube[0][0][0][0] + identity.size()), identity);
  // The global tables start in the reset form, and their cube is the calibration cube.
  EXPECT_TRUE(CalibrationHoldsCube());
  EXPECT_EQ(CalibrationCubeTable(), &gCalibrationTables.cube[0][0][0][0]);
  EXPECT_EQ(CalibrationCubeTable()[3 * kCubeEntries - 1], 1.0);
}

TEST(CalibrationTables, GreyRowResetRunsFromWhiteToBlack) {
  ResetGreyRowTable(0, 87);
  EXPECT_EQ(gCalibrationSet.greyRow[0], 255);
  EXPECT_EQ(gCalibrationSet.greyRow[3], 255);
  EXPECT_EQ(gCalibrationSet.greyRow[4], 243);  // 255 - 255 / 21
  EXPECT_EQ(gCalibrationSet.greyRow[43], 255 - (10 * 255) / 21);
  EXPECT_EQ(gCalibrationSet.greyRow[87], 0);
  gCalibrationSet.greyRow[5] = 1;
  ResetGreyRowTable(6, 5);
  EXPECT_EQ(gCalibrationSet.greyRow[5], 1) << "an empty range changes nothing";
  ResetGreyRowTable(5, 5);
  EXPECT_EQ(gCalibrationSet.greyRow[5], 243);
}

TEST(CalibrationTables, FixedPoint) {
  const int32_t k24 = 1 << 24, k30 = 1 << 30;
  EXPECT_EQ(FixedToDouble(k30, k30), 1.0);
  EXPECT_EQ(DoubleToFixed(1.0, k30), k30);
  EXPECT_EQ(DoubleToFixed(0.25, k24), k24 / 4);
  EXPECT_EQ(DoubleToFixed(-0.5, k30), -536870911);  // -2^29 + 0.5 truncates toward zero
  // Beyond the range: the largest or smallest representable value.
  EXPECT_EQ(DoubleToFixed(5.0, k30), 2147483647);
  EXPECT_EQ(DoubleToFixed(-5.0, k30), -2147483646);
  EXPECT_EQ(DoubleToFixed(1e9, k24), 2147483647);
  EXPECT_EQ(DoubleToFixed(NAN, k24), 0);
  EXPECT_NEAR(FixedToDouble(DoubleToFixed(0.123456, k30), k30), 0.123456, 1.0 / k30);
}
