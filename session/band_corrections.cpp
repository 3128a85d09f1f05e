#include "session/band_corrections.h"

#include <algorithm>
#include <cstring>

#include "foundation/bits.h"
#include "records/defaults_block.h"
#include "records/frame_record.h"
#include "session/band_producer.h"
#include "session/band_services.h"
#include "session/reduction_tables.h"
#include "state/data_source_state.h"

namespace {

constexpr int16_t kOutputLab = 4;
constexpr int16_t kOutputTransform = 2;
constexpr int16_t kOutputSeparation = 3;
constexpr int16_t kOutputLabSeparation = 5;
constexpr int16_t kInputCalibration = 3;

bool SharpensBeforeOutput(const FrameRecord& frame) { return frame.filterMode != 0 && frame.filterMode != 2; }
bool SharpensAfterLab(const FrameRecord& frame) {
  switch (frame.filterMode) {
    case 1: case 4: case 5: case 6: case 9: case 10: case 11: case 12: return true;
    default: return false;
  }
}

void ReduceZirRows(const BandCorrectionJob& job, uint8_t* at, int32_t rows) {
  if (!GetDefault(gDefaults, kDefaultZirOutputReduction) || gScanReduction.table.empty()) return;
  uint16_t* samples = reinterpret_cast<uint16_t*>(at);
  const uint32_t columns = static_cast<uint32_t>(job.columns);
  const uint32_t rowSamples = static_cast<uint32_t>(job.planes) * columns;
  ApplyReductionTable(gScanReduction.table, gScanReduction.inBits, gScanReduction.outBits, samples, samples,
                      static_cast<uint32_t>(rows), columns, static_cast<uint32_t>(job.planes), rowSamples, columns,
                      rowSamples, columns, false);
}

// The scanner transform takes a row's planes as 4-byte pixels and gives them back.
void TranslateRowThroughScanner(const BandCorrectionJob& job, uint8_t* row) {
  const int32_t columns = job.columns;
  uint8_t* pixels = job.work;
  for (int32_t x = 0; x < columns; ++x) {
    pixels[4 * x] = row[x];
    pixels[4 * x + 1] = row[columns + x];
    pixels[4 * x + 2] = row[2 * columns + x];
    pixels[4 * x + 3] = 0;
  }
  job.services.translateLine8(pixels, columns, job.transformLine);
  for (int32_t x = 0; x < columns; ++x) {
    row[x] = pixels[4 * x];
    row[columns + x] = pixels[4 * x + 1];
    row[2 * columns + x] = pixels[4 * x + 2];
  }
}

// Three read planes into four CMYK planes.
void SeparateRows(const BandCorrectionJob& job, uint8_t* at, int32_t rows) {
  const BandServices& s = job.services;
  const int32_t columns = job.columns;
  const int16_t outputMode = GetDefault(gDefaults, kDefaultOutputCmsMode);
  const bool sixteen = job.bits == 16;
  const uint32_t lineBytes = job.lineBytes;
  const uint32_t rowBytes = job.rowBytes;
  uint8_t* work = job.work;
  std::memmove(work, at, static_cast<size_t>(rows) * lineBytes);

  const bool separate = outputMode == kOutputSeparation && GetDefault(gDefaults, kDefaultSeparationTablesInUse) &&
                        s.separationTablesReady();
  const bool transform = outputMode == kOutputTransform && s.outputTransformReady();
  const bool lab = outputMode == kOutputLabSeparation && job.labLine;
  uint16_t* labLine = static_cast<uint16_t*>(job.labLine);
  for (int32_t y = rows - 1; y >= 0; --y) {
    const uint8_t* in = work + static_cast<size_t>(y) * lineBytes;
    uint8_t* out = at + static_cast<size_t>(y) * rowBytes;
    if (sixteen) {
      const uint16_t* in16 = reinterpret_cast<const uint16_t*>(in);
      uint16_t* out16 = reinterpret_cast<uint16_t*>(out);
      if (transform) {
        s.translateOutput16(in16, out16, columns, true);
      } else if (lab) {
        s.rgb16ToLab16(in16, labLine, columns, 1, columns, 1, columns, false);
        s.separateLab16(labLine, out16, columns);
      } else {
        // No separation: the RGB planes stay and black stays empty.
        std::memcpy(out16, in16, lineBytes);
        std::fill(out16 + 3 * columns, out16 + 4 * columns, uint16_t{65535});
      }
    } else if (separate) {
      s.separatePlanar8(in, in + columns, in + 2 * columns, out, out + columns, out + 2 * columns,
                        out + 3 * columns, columns);
    } else if (transform) {
      s.translateOutput8(in, out, columns, true);
    } else if (lab) {
      s.rgb8ToLab16(in, labLine, columns, 1, columns, 1, columns);
      s.separateLab16To8(labLine, out, columns);
    } else {
      std::memcpy(out, in, lineBytes);
      std::memset(out + 3 * columns, 255, columns);
    }
  }
  if (!job.complementCmyk) return;
  const uint32_t samples = static_cast<uint32_t>(rows) * columns * 4;
  if (sixteen) {
    uint16_t* values = reinterpret_cast<uint16_t*>(at);
    for (uint32_t i = 0; i < samples; ++i) values[i] = static_cast<uint16_t>(65535 - values[i]);
  } else {
    InvertByteSpan(at, samples);
  }
}

}  // namespace

int32_t CorrectBandRows(const BandCorrectionJob& job, uint8_t* at, int32_t rows) {
  const FrameRecord& frame = job.frame;
  const BandServices& s = job.services;
  const int32_t columns = job.columns;
  const bool negative = GetDefault(gDefaults, kDefaultNegativeMode) != 0;
  const int16_t outputMode = GetDefault(gDefaults, kDefaultOutputCmsMode);

  if (job.zir) {
    ReduceZirRows(job, at, rows);
    return rows;
  }
  if (job.bits == 1) return rows;
  if (job.planes == 1) {
    if (SharpensBeforeOutput(frame)) rows = s.sharpenB(at, job.sampleFactor, job.lineBytes, rows);
    return rows;
  }

  const uint32_t lineBytes = job.lineBytes;
  if (job.bits == 8) {
    // The device layer delivers 8-bit rows as red, green, blue planes, so no
    // plane exchange is left to do; the scanner transform takes them as pixels.
    const bool cube = !gSixteenBitColorOption && GetDefault(gDefaults, kDefaultInputCmsMode) == kInputCalibration &&
                      !negative;
    for (int32_t y = 0; y < rows; ++y) {
      uint8_t* row = at + static_cast<size_t>(y) * lineBytes;
      if (job.transformLine) TranslateRowThroughScanner(job, row);
      if (cube) s.colorCube8(row, columns, columns);
    }
  }

  const bool sixteen = job.bits == 16;
  if (negative && s.selectiveColorReady())
    for (int32_t y = 0; y < rows; ++y) {
      uint8_t* row = at + static_cast<size_t>(y) * lineBytes;
      if (sixteen)
        s.selectiveColor16(reinterpret_cast<uint16_t*>(row), columns, columns, job.regionX, job.regionY + y, false);
      else
        s.selectiveColor8(row, columns, columns, job.regionX, job.regionY + y, false);
    }
  if (SharpensBeforeOutput(frame) && outputMode != kOutputLab)
    rows = s.sharpenA(at, job.sampleFactor, lineBytes, rows);
  if (s.regionCorrectionsReady()) {
    const bool selective = frame.selectiveColorMode == 1;
    for (int32_t y = 0; y < rows; ++y) {
      uint8_t* row = at + static_cast<size_t>(y) * lineBytes;
      uint16_t* row16 = reinterpret_cast<uint16_t*>(row);
      const int32_t gridY = job.regionY + y;
      if (selective && sixteen) s.selectiveColor16(row16, columns, columns, job.regionX, gridY, true);
      else if (selective) s.selectiveColor8(row, columns, columns, job.regionX, gridY, true);
      else if (sixteen) s.colorMatrix16(row16, columns, columns, job.regionX, gridY, true);
      else s.colorMatrix8(row, columns, columns, job.regionX, gridY, true);
    }
  }
  return rows;
}

int32_t ConvertBandRows(const BandCorrectionJob& job, uint8_t* at, int32_t rows) {
  if (job.outputPlanes == 4) {
    SeparateRows(job, at, rows);
    return rows;
  }
  if (job.planes != 3) return rows;
  const BandServices& s = job.services;
  const int16_t outputMode = GetDefault(gDefaults, kDefaultOutputCmsMode);
  const int32_t columns = job.columns;
  const uint32_t lineBytes = job.lineBytes;
  const bool sixteen = job.bits == 16;
  if (outputMode == kOutputLab) {
    if (sixteen)
      for (int32_t y = 0; y < rows; ++y) {
        uint16_t* row = reinterpret_cast<uint16_t*>(at + static_cast<size_t>(y) * lineBytes);
        s.rgb16ToLab16(row, row, columns, 1, columns, 1, columns, false);
      }
    else
      s.rgb8ToLab8(at, rows, columns, job.signedLab8);
    if (SharpensAfterLab(job.frame)) rows = s.sharpenB(at, job.sampleFactor, lineBytes, rows);
  } else if (outputMode == kOutputTransform && s.outputTransformReady()) {
    for (int32_t y = 0; y < rows; ++y) {
      uint8_t* row = at + static_cast<size_t>(y) * lineBytes;
      if (sixteen)
        s.translateOutput16(reinterpret_cast<uint16_t*>(row), reinterpret_cast<uint16_t*>(row), columns, false);
      else
        s.translateOutput8(row, row, columns, false);
    }
  }
  return rows;
}
