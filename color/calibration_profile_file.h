// The calibration profile file (".itp"): the calibration matrix, grey row and
// patch values of the calibration set, and (version 2) the calibration
// tables in fixed point. Byte order by the first two bytes ("II" or "MM");
// written little-endian, version 2.
#pragma once

#include <cstddef>
#include <cstdint>

struct CalibrationFileHead {
  char byteOrder[2];  // "II" or "MM"
  uint16_t version;   // 1 or 2
  uint32_t matrixCount, greyRowCount, patchValueCount;  // 72, 88, 1584
  int16_t matrix[72];
  int16_t greyRow[88];
  int16_t patchValues[1584];
};
static_assert(sizeof(CalibrationFileHead) == 3504, "end of a version-1 file");
static_assert(offsetof(CalibrationFileHead, matrix) == 16 && offsetof(CalibrationFileHead, greyRow) == 160 &&
                  offsetof(CalibrationFileHead, patchValues) == 336,
              "file head layout");

// A reference patch: the six values X, Y, Z, L, a, b x 2^24.
struct CalibrationFilePatch {
  uint8_t present;
  uint8_t zero[3];
  int32_t values[6];
};
static_assert(sizeof(CalibrationFilePatch) == 28, "flag, three zero bytes, six values");

// The version-2 block after the head (file offset 3504).
struct CalibrationFileBlock {
  uint16_t header[4];  // 3, 3, 13, 22
  uint8_t colourDone, greyDone, referenceHasXyz, referenceHasLab;
  CalibrationFilePatch reference[13 * 22];
  int32_t greyPassMeasured[13 * 22 * 3];    // x 2^30
  int32_t colourPassMeasured[13 * 22 * 3];  // x 2^30
  uint16_t cubeHeader[2];                   // 3, 33
  int32_t cube[33 * 33 * 33 * 3];           // x 2^30
};
static_assert(sizeof(CalibrationFileBlock) == 446132, "version-2 block");
static_assert(3504 + offsetof(CalibrationFileBlock, colourDone) == 3512 &&
                  3504 + offsetof(CalibrationFileBlock, reference) == 3516 &&
                  3504 + offsetof(CalibrationFileBlock, greyPassMeasured) == 11524 &&
                  3504 + offsetof(CalibrationFileBlock, colourPassMeasured) == 14956 &&
                  3504 + offsetof(CalibrationFileBlock, cubeHeader) == 18388 &&
                  3504 + offsetof(CalibrationFileBlock, cube) == 18392 &&
                  3504 + sizeof(CalibrationFileBlock) == 449636,
              "version-2 file offsets");

constexpr int32_t kPatchValueScale = 16777216;     // 2^24
constexpr int32_t kMeasurementScale = 1073741824;  // 2^30

// Reads the file into the calibration set and gCalibrationTables (which the
// caller has reset); false for a missing, short, foreign or inconsistent file,
// which may leave them partly read.
bool ReadCalibrationProfileFile(const char* path);
// Writes the current calibration; false when the file cannot be created or a write falls short.
bool WriteCalibrationProfileFile(const char* path);
