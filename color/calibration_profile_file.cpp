#include "color/calibration_profile_file.h"

#include <cstring>
#include <memory>

#include "color/calibration_tables.h"
#include "color/color_matrix.h"
#include "foundation/bits.h"
#include "foundation/file_io.h"

namespace {

void Swap(uint16_t* values, size_t n) {
  for (size_t i = 0; i < n; ++i) SwapBytes16(&values[i]);
}
void Swap(int16_t* values, size_t n) { Swap(reinterpret_cast<uint16_t*>(values), n); }
void Swap(uint32_t* values, size_t n) {
  for (size_t i = 0; i < n; ++i) SwapBytes32(&values[i]);
}
void Swap(int32_t* values, size_t n) { Swap(reinterpret_cast<uint32_t*>(values), n); }

template <typename T, size_t N>
constexpr size_t Count(const T (&)[N]) { return N; }

void SwapBlock(CalibrationFileBlock& b) {
  Swap(b.header, 4);
  for (CalibrationFilePatch& p : b.reference) Swap(p.values, 6);
  Swap(b.greyPassMeasured, Count(b.greyPassMeasured));
  Swap(b.colourPassMeasured, Count(b.colourPassMeasured));
  Swap(b.cubeHeader, 2);
  Swap(b.cube, Count(b.cube));
}

void FixedToDoubles(const int32_t* in, double* out, size_t n, int32_t scale) {
  for (size_t i = 0; i < n; ++i) out[i] = FixedToDouble(in[i], scale);
}
void DoublesToFixed(const double* in, int32_t* out, size_t n, int32_t scale) {
  for (size_t i = 0; i < n; ++i) out[i] = DoubleToFixed(in[i], scale);
}

// The version-2 block into the calibration tables; false when a header is not as written.
bool TakeBlock(const CalibrationFileBlock& b) {
  CalibrationTables& t = gCalibrationTables;
  t.format = b.header[0];
  t.channels = b.header[1];
  t.rows = b.header[2];
  t.columns = b.header[3];
  t.colourDone = b.colourDone;
  t.greyDone = b.greyDone;
  t.referenceHasXyz = b.referenceHasXyz;
  t.referenceHasLab = b.referenceHasLab;
  if (t.format != 3 || t.channels != 3 || t.rows != kCalibrationRows || t.columns != kCalibrationColumns) return false;
  It8Patch* reference = &t.reference[0][0];
  for (size_t i = 0; i < Count(b.reference); ++i) {
    const CalibrationFilePatch& p = b.reference[i];
    reference[i].present = p.present;
    double* v[6] = {&reference[i].X, &reference[i].Y, &reference[i].Z,
                    &reference[i].L, &reference[i].a, &reference[i].b};
    for (int k = 0; k < 6; ++k) *v[k] = FixedToDouble(p.values[k], kPatchValueScale);
  }
  FixedToDoubles(b.greyPassMeasured, &t.greyPassMeasured[0][0][0], Count(b.greyPassMeasured), kMeasurementScale);
  FixedToDoubles(b.colourPassMeasured, &t.colourPassMeasured[0][0][0], Count(b.colourPassMeasured),
                 kMeasurementScale);
  t.cubeChannels = b.cubeHeader[0];
  t.cubeNodes = b.cubeHeader[1];
  if (t.cubeChannels != 3 || t.cubeNodes != 33) return false;
  FixedToDoubles(b.cube, &t.cube[0][0][0][0], Count(b.cube), kMeasurementScale);
  return true;
}

void MakeBlock(CalibrationFileBlock& b) {
  const CalibrationTables& t = gCalibrationTables;
  std::memset(&b, 0, sizeof b);
  const uint16_t header[4] = {t.format, t.channels, t.rows, t.columns};
  std::memcpy(b.header, header, sizeof header);
  b.colourDone = t.colourDone;
  b.greyDone = t.greyDone;
  b.referenceHasXyz = t.referenceHasXyz;
  b.referenceHasLab = t.referenceHasLab;
  const It8Patch* reference = &t.reference[0][0];
  for (size_t i = 0; i < Count(b.reference); ++i) {
    const It8Patch& r = reference[i];
    b.reference[i].present = r.present;
    const double v[6] = {r.X, r.Y, r.Z, r.L, r.a, r.b};
    for (int k = 0; k < 6; ++k) b.reference[i].values[k] = DoubleToFixed(v[k], kPatchValueScale);
  }
  DoublesToFixed(&t.greyPassMeasured[0][0][0], b.greyPassMeasured, Count(b.greyPassMeasured), kMeasurementScale);
  DoublesToFixed(&t.colourPassMeasured[0][0][0], b.colourPassMeasured, Count(b.colourPassMeasured),
                 kMeasurementScale);
  b.cubeHeader[0] = t.cubeChannels;
  b.cubeHeader[1] = t.cubeNodes;
  DoublesToFixed(&t.cube[0][0][0][0], b.cube, Count(b.cube), kMeasurementScale);
}

bool ReadOpenFile(FileHandle file) {
  CalibrationFileHead head;
  if (!ReadBytesAt(file, 0, &head, sizeof head)) return false;
  const bool swap = std::memcmp(head.byteOrder, "MM", 2) == 0;
  if (!swap && std::memcmp(head.byteOrder, "II", 2) != 0) return false;
  if (swap) {
    Swap(&head.version, 1);
    Swap(&head.matrixCount, 3);
    Swap(head.matrix, Count(head.matrix));
    Swap(head.greyRow, Count(head.greyRow));
    Swap(head.patchValues, Count(head.patchValues));
  }
  if (head.version != 1 && head.version != 2) return false;
  if (head.matrixCount != 72 || head.greyRowCount != 88 || head.patchValueCount != 1584) return false;
  ColorMatrixLutSet& set = gCalibrationSet;
  std::memcpy(set.matrix, head.matrix, sizeof head.matrix);
  std::memcpy(set.greyRow, head.greyRow, sizeof head.greyRow);
  std::memcpy(set.patchValues, head.patchValues, sizeof head.patchValues);
  if (head.version == 1) return true;

  std::unique_ptr<CalibrationFileBlock> block(new (std::nothrow) CalibrationFileBlock);
  if (!block || !ReadBytesAt(file, sizeof head, block.get(), sizeof *block)) return false;
  if (swap) SwapBlock(*block);
  return TakeBlock(*block);
}

}  // namespace

bool ReadCalibrationProfileFile(const char* path) {
  FileHandle file = OpenFileForReading(path);
  if (!file) return false;
  const bool read = ReadOpenFile(file);
  CloseFile(file);
  return read;
}

bool WriteCalibrationProfileFile(const char* path) {
  CalibrationFileHead head;
  std::memcpy(head.byteOrder, "II", 2);
  head.version = 2;
  head.matrixCount = 72;
  head.greyRowCount = 88;
  head.patchValueCount = 1584;
  const ColorMatrixLutSet& set = gCalibrationSet;
  std::memcpy(head.matrix, set.matrix, sizeof head.matrix);
  std::memcpy(head.greyRow, set.greyRow, sizeof head.greyRow);
  std::memcpy(head.patchValues, set.patchValues, sizeof head.patchValues);
  std::unique_ptr<CalibrationFileBlock> block(new (std::nothrow) CalibrationFileBlock);
  if (!block) return false;
  MakeBlock(*block);
  FileHandle file = CreateFileForWriting(path);
  if (!file) return false;
  const bool written =
      WriteBytesAt(file, 0, &head, sizeof head) && WriteBytesAt(file, sizeof head, block.get(), sizeof *block);
  CloseFile(file);
  return written;
}
