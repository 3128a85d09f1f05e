#include "session/band_producer.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "color/lab_rows.h"
#include "color/line_transforms.h"
#include "foundation/bits.h"
#include "foundation/dialogs/alerts.h"
#include "foundation/log/log_file.h"
#include "foundation/memory.h"
#include "foundation/round.h"
#include "frames/orientation/orient_image_block.h"
#include "frames/orientation/preview_orientation.h"
#include "records/defaults_block.h"
#include "records/frame_record.h"
#include "session/band_services.h"
#include "session/frame_geometry.h"
#include "session/reduction_tables.h"
#include "session/scan_progress.h"
#include "session/scan_read.h"
#include "session/user_interface_hooks.h"
#include "sharpen/band_filters.h"
#include "sharpen/scaling_window.h"
#include "state/data_source_state.h"
#include "state/module_state.h"

ScanReduction gScanReduction;
Rect16 gBandRect = {};

namespace {

constexpr uint32_t kNoScanMemoryString = 119;  // "Nicht genügend Speicher zum Scannen."
constexpr int16_t kOutputLab = 4;
constexpr int16_t kOutputTransform = 2;
constexpr int16_t kOutputSeparation = 3;
constexpr int16_t kOutputLabSeparation = 5;
constexpr int16_t kInputScannerProfiles = 2;
constexpr int16_t kInputCalibration = 3;

// The session keeps sizes in 16 bits; images up to 65535 pixels read them unsigned.
int32_t Unsigned16(int16_t value) { return static_cast<uint16_t>(value); }

uint8_t* Data(MemHandle handle) { return handle ? static_cast<uint8_t*>(handle->data) : nullptr; }

bool HalvedFilterMode(const FrameRecord& frame) { return IsDescreenKind(frame.filterMode); }
bool SharpensBeforeOutput(const FrameRecord& frame) { return frame.filterMode != 0 && frame.filterMode != 2; }
bool SharpensAfterLab(const FrameRecord& frame) {
  switch (frame.filterMode) {
    case 1: case 4: case 5: case 6: case 9: case 10: case 11: case 12: return true;
    default: return false;
  }
}

bool UsesScannerTransform(const FrameRecord& frame) {
  return !gSixteenBitColorOption && GetDefault(gDefaults, kDefaultInputCmsMode) == kInputScannerProfiles &&
         frame.colorMode == 2 && CurrentBandServices().scannerTransformReady();
}

bool labTablesBuilt = false;

// Everything one call of RunScan works with, in the frame's orientation.
struct BandJob {
  FrameRecord& frame;
  SessionBlock& session;
  const BandServices& services;
  int32_t columns;
  int32_t planes;       // read planes: 3 for RGB, else 1
  int32_t bits;         // 1, 8 or 16
  int32_t sampleFactor;
  bool zir;
  BandReadPlan plan;
  int32_t regionX;
};

// Corrections by the kind of data, on the rows of one read; the rows handed on.
int32_t CorrectRead(BandJob& job, uint8_t* at, int32_t rows) {
  const FrameRecord& frame = job.frame;
  const BandServices& s = job.services;
  ScanBandState& band = gBand;
  const int32_t columns = job.columns;
  const bool negative = GetDefault(gDefaults, kDefaultNegativeMode) != 0;
  const int16_t outputMode = GetDefault(gDefaults, kDefaultOutputCmsMode);
  const int32_t firstRow = Unsigned16(gBandRect.bottom);

  if (job.zir) {
    if (GetDefault(gDefaults, kDefaultZirOutputReduction) && !gScanReduction.table.empty()) {
      uint16_t* samples = reinterpret_cast<uint16_t*>(at);
      const uint32_t rowSamples = static_cast<uint32_t>(job.planes * columns);
      ApplyReductionTable(gScanReduction.table, gScanReduction.inBits, gScanReduction.outBits, samples, samples,
                          static_cast<uint32_t>(rows), static_cast<uint32_t>(columns),
                          static_cast<uint32_t>(job.planes), rowSamples, static_cast<uint32_t>(columns), rowSamples,
                          static_cast<uint32_t>(columns), false);
    }
    return rows;
  }
  if (job.bits == 1) return rows;
  if (job.planes == 1) {
    if (SharpensBeforeOutput(frame))
      rows = s.sharpenB(at, job.sampleFactor, job.plan.lineBytes, rows);
    return rows;
  }

  const uint32_t lineBytes = job.plan.lineBytes;
  if (job.bits == 8) {
    // The device layer delivers 8-bit rows as red, green, blue planes, so no
    // plane exchange is left to do; the scanner transform takes them as pixels.
    const bool cube = !gSixteenBitColorOption && GetDefault(gDefaults, kDefaultInputCmsMode) == kInputCalibration &&
                      !negative;
    uint8_t* pixels = Data(band.workBuffer);
    for (int32_t y = 0; y < rows; ++y) {
      uint8_t* row = at + static_cast<size_t>(y) * lineBytes;
      if (band.transformLineBuffer) {
        for (int32_t x = 0; x < columns; ++x) {
          pixels[4 * x] = row[x];
          pixels[4 * x + 1] = row[columns + x];
          pixels[4 * x + 2] = row[2 * columns + x];
          pixels[4 * x + 3] = 0;
        }
        s.translateLine8(pixels, columns, band.transformLineBuffer);
        for (int32_t x = 0; x < columns; ++x) {
          row[x] = pixels[4 * x];
          row[columns + x] = pixels[4 * x + 1];
          row[2 * columns + x] = pixels[4 * x + 2];
        }
      }
      if (cube) s.colorCube8(row, columns, columns);
    }
  }

  const bool sixteen = job.bits == 16;
  if (negative && s.selectiveColorReady())
    for (int32_t y = 0; y < rows; ++y) {
      uint8_t* row = at + static_cast<size_t>(y) * lineBytes;
      if (sixteen)
        s.selectiveColor16(reinterpret_cast<uint16_t*>(row), columns, columns, job.regionX, firstRow + y, false);
      else
        s.selectiveColor8(row, columns, columns, job.regionX, firstRow + y, false);
    }
  if (SharpensBeforeOutput(frame) && outputMode != kOutputLab)
    rows = s.sharpenA(at, job.sampleFactor, lineBytes, rows);
  if (s.regionCorrectionsReady()) {
    const bool selective = frame.selectiveColorMode == 1;
    for (int32_t y = 0; y < rows; ++y) {
      uint8_t* row = at + static_cast<size_t>(y) * lineBytes;
      uint16_t* row16 = reinterpret_cast<uint16_t*>(row);
      const int32_t gridY = firstRow + y;
      if (selective && sixteen) s.selectiveColor16(row16, columns, columns, job.regionX, gridY, true);
      else if (selective) s.selectiveColor8(row, columns, columns, job.regionX, gridY, true);
      else if (sixteen) s.colorMatrix16(row16, columns, columns, job.regionX, gridY, true);
      else s.colorMatrix8(row, columns, columns, job.regionX, gridY, true);
    }
  }
  return rows;
}

// Three read planes into four CMYK planes, then complemented.
void SeparateRead(BandJob& job, uint8_t* at, int32_t rows) {
  const BandServices& s = job.services;
  ScanBandState& band = gBand;
  const int32_t columns = job.columns;
  const int16_t outputMode = GetDefault(gDefaults, kDefaultOutputCmsMode);
  const bool sixteen = job.bits == 16;
  const uint32_t lineBytes = job.plan.lineBytes;
  const uint32_t rowBytes = job.plan.bandRowBytes;
  uint8_t* work = Data(band.workBuffer);
  std::memmove(work, at, static_cast<size_t>(rows) * lineBytes);

  const bool separate = outputMode == kOutputSeparation && GetDefault(gDefaults, kDefaultSeparationTablesInUse) &&
                        s.separationTablesReady();
  const bool transform = outputMode == kOutputTransform && s.outputTransformReady();
  const bool lab = outputMode == kOutputLabSeparation && band.labLineBuffer;
  uint16_t* labLine = static_cast<uint16_t*>(band.labLineBuffer);
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
  const uint32_t samples = static_cast<uint32_t>(rows) * columns * 4;
  if (sixteen) {
    uint16_t* values = reinterpret_cast<uint16_t*>(at);
    for (uint32_t i = 0; i < samples; ++i) values[i] = static_cast<uint16_t>(65535 - values[i]);
  } else {
    InvertByteSpan(at, samples);
  }
}

// Output conversion of one read (not for ZIR data); the rows handed on.
int32_t ConvertRead(BandJob& job, uint8_t* at, int32_t rows) {
  if (job.session.planes == 4) {
    SeparateRead(job, at, rows);
    return rows;
  }
  if (job.planes != 3) return rows;
  const BandServices& s = job.services;
  const int16_t outputMode = GetDefault(gDefaults, kDefaultOutputCmsMode);
  const int32_t columns = job.columns;
  const uint32_t lineBytes = job.plan.lineBytes;
  const bool sixteen = job.bits == 16;
  if (outputMode == kOutputLab) {
    if (sixteen)
      for (int32_t y = 0; y < rows; ++y) {
        uint16_t* row = reinterpret_cast<uint16_t*>(at + static_cast<size_t>(y) * lineBytes);
        s.rgb16ToLab16(row, row, columns, 1, columns, 1, columns, false);
      }
    else
      s.rgb8ToLab8(at, rows, columns, false);
    if (SharpensAfterLab(job.frame))
      rows = s.sharpenB(at, job.sampleFactor, lineBytes, rows);
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

void FailAllocation() {
  EndScanRead();
  CloseScanProgress();
  AllocateBandBuffers(false, 0, 0, 0, 0, 0);
  ShowAlert(GetModuleInstance(), kErrorCaptionString, kNoScanMemoryString, false, nullptr);
  gSessionEnded = 1;
}

// Hands the band over in the orientation of the frame.
void HandOver(BandJob& job, const OrientationFlags& orientation) {
  SessionBlock& session = job.session;
  ScanBandState& band = gBand;
  Rect16 rect = gBandRect;
  const int32_t height = Unsigned16(rect.bottom) - Unsigned16(rect.top);
  if (orientation.rowsReversed) {
    rect.top = static_cast<int16_t>(Unsigned16(session.rows) - Unsigned16(rect.bottom));
    rect.bottom = static_cast<int16_t>(rect.top + height);
  }
  const int32_t sampleBytes = job.bits == 16 ? 2 : 1;
  if (orientation.quarterTurn) {
    session.bandTop = rect.left;
    session.bandLeft = rect.top;
    session.bandBottom = rect.right;
    session.bandRight = rect.bottom;
    session.planeBytes = height * sampleBytes;
    session.rowBytes = job.bits == 1 ? (height + 7) / 8 : session.planes * session.planeBytes;
  } else {
    session.bandTop = rect.top;
    session.bandLeft = rect.left;
    session.bandBottom = rect.bottom;
    session.bandRight = rect.right;
  }
  uint8_t* bandData = Data(band.bandBuffer);
  uint8_t* second = Data(band.outputBuffer);
  if (!orientation.flipX && !orientation.flipY && !orientation.quarterTurn) {
    session.bandData.value = BandDataForHost(bandData, second, rect);
    return;
  }
  OrientImageBlock(bandData, second, height, job.columns, session.planes * job.bits, orientation.flipX,
                   orientation.flipY, orientation.quarterTurn, false, 0);
  session.bandData.value = second;
}

// The rows of a read as they come from the corrections, into the progress
// window's live pane: planar RGB or one channel shown as grey.
void ShowRowsInPane(const BandJob& job, const OrientationFlags& orientation, const uint8_t* rows, int32_t count) {
  const int32_t format = job.bits == 1 ? 0 : job.planes * (job.bits == 16 ? 2 : 1);
  const int32_t view = job.planes == 3 && job.bits != 1 ? 0 : 5;
  SessionUserInterface().drawRowsIntoPreviewPane(rows, Unsigned16(gBandRect.bottom), count, job.columns, format, view,
                                                 false, orientation.flipX, orientation.flipY, orientation.quarterTurn);
}

void ProduceBand(BandJob& job, const OrientationFlags& orientation) {
  FrameRecord& frame = job.frame;
  SessionBlock& session = job.session;
  ScanBandState& band = gBand;
  const bool halved = HalvedFilterMode(frame);
  const int32_t rows = Unsigned16(session.rows);

  const ScalingWindow& window = gScalingWindow;
  const int32_t halvedRows = static_cast<int32_t>(window.halvedRows);
  int32_t windowRows = 0;
  if (halved && halvedRows > 0) {
    if (rows > halvedRows) {
      // More output rows than halved rows: bands in proportion, still within the band buffer.
      const int32_t fit = static_cast<int32_t>(std::max<uint32_t>(kBandBytes / job.plan.bandRowBytes, 1));
      job.plan.rowsPerRead = std::min(job.plan.rowsPerRead * rows / halvedRows, fit);
      const uint64_t read = static_cast<uint64_t>(job.plan.rowsPerRead) * job.plan.bandRowBytes;
      job.plan.bandLimit = read < kBandBytes ? static_cast<uint32_t>(kBandBytes - read) : 0;
    }
    windowRows = std::max(3, job.plan.rowsPerRead * halvedRows / std::max(rows, 1));
  }
  const int32_t n = job.plan.rowsPerRead;
  const uint32_t sampleBytes = job.bits == 16 ? 2 : 1;

  if (!band.bandBuffer) {
    if (AllocateBandBuffers(true, job.plan.lineBytes, job.sampleFactor, n, windowRows, 2 * windowRows)) {
      FailAllocation();
      session.bandData.value = nullptr;
      return;
    }
    band.lineCounter = 0;
    band.firstBand = 1;
    OpenScanProgress(frame);
    SessionUserInterface().pushPreviewPane(Unsigned16(session.columns), rows, orientation.quarterTurn, false);
  }

  if (band.passByte) {
    session.bandData.value = nullptr;
    CloseScanProgress();
    SessionUserInterface().popPreviewPane(orientation.flipX, orientation.flipY, orientation.quarterTurn, nullptr,
                                          nullptr, nullptr, nullptr, nullptr);
    return;
  }

  gBandRect.top = gBandRect.bottom;
  uint8_t* start = Data(band.bandBuffer);
  uint32_t written = 0;
  do {
    uint8_t* at = start + written;
    const bool cancel = IsScanCancelled();
    if (cancel) session.transferActive = 0;
    uint32_t read = 0;
    if (halved && !job.zir) {
      const int32_t full = static_cast<int32_t>(sampleBytes * job.planes * window.sourceWidth);
      const int32_t half = static_cast<int32_t>(sampleBytes * job.planes * window.halvedWidth);
      int16_t produced = 0;
      ScaleBandBicubic(&frame, cancel, &band.passByte, at, static_cast<int32_t>(band.lineCounter),
                       static_cast<int16_t>(n), &produced, 2 * windowRows, full, half,
                       static_cast<int32_t>(job.plan.lineBytes), job.columns, rows, ReadScanLines);
      read = static_cast<uint32_t>(std::max<int16_t>(produced, 0));
    } else {
      band.passByte = ReadScanLines(cancel, at, band.lineCounter, static_cast<uint32_t>(n), &read);
    }
    if (band.passByte && cancel) session.transferActive = 0;
    // A read that gives nothing and does not end the source would never end the band.
    if (read == 0 && !band.passByte) band.passByte = 1;
    band.lineCounter += read;

    int32_t handed = CorrectRead(job, at, static_cast<int32_t>(read));
    ShowRowsInPane(job, orientation, at, std::max(0, std::min(handed, rows - Unsigned16(gBandRect.bottom))));
    if (!job.zir) handed = ConvertRead(job, at, handed);
    // Never more rows than the image has: the host's buffers are made for its size.
    handed = std::max(0, std::min(handed, rows - Unsigned16(gBandRect.bottom)));
    gBandRect.bottom = static_cast<int16_t>(Unsigned16(gBandRect.bottom) + handed);
    UpdateScanProgress(Unsigned16(gBandRect.bottom), rows, gBatchIndex, gBatchLast);
    written += static_cast<uint32_t>(handed) * job.plan.bandRowBytes;
  } while (written < job.plan.bandLimit && !band.passByte);

  HandOver(job, orientation);
}

}  // namespace

BandReadPlan PlanBandReads(int32_t readPlanes, int32_t sessionPlanes, int32_t columns, int32_t bits) {
  BandReadPlan plan;
  const uint32_t sampleBytes = bits == 16 ? 2 : 1;
  const uint32_t cols = static_cast<uint32_t>(std::max(columns, 1));
  // A row of 1-bit samples takes its last byte whole.
  plan.bandRowBytes = bits == 1 ? (cols * sessionPlanes + 7) / 8 : cols * sessionPlanes * sampleBytes;
  plan.lineBytes = bits == 1 ? (cols * readPlanes + 7) / 8 : cols * readPlanes * sampleBytes;
  int32_t n = 30 / readPlanes;
  if (static_cast<uint64_t>(n) * plan.bandRowBytes > kBandBytes)
    n = static_cast<int32_t>(std::max<uint32_t>(kBandBytes / plan.bandRowBytes, 1));
  plan.rowsPerRead = n;
  const uint64_t read = static_cast<uint64_t>(n) * plan.bandRowBytes;
  plan.bandLimit = read < kBandBytes ? static_cast<uint32_t>(kBandBytes - read) : 0;
  return plan;
}

bool IsZirData(const FrameRecord& frame) { return frame.bitsPerChannel == 16 && frame.bitDepthChoice > 0; }

uint8_t AllocateBandBuffers(bool allocate, uint32_t lineBytes, int32_t sampleFactor, int32_t rowsPerRead,
                            int32_t windowRows, int32_t twiceWindowRows) {
  ScanBandState& band = gBand;
  if (!allocate) {
    for (MemHandle* handle : {&band.bandBuffer, &band.outputBuffer, &band.filterCopyBuffer, &band.workBuffer,
                              &gScalingWindow.sourceBuffer, &gScalingWindow.workBuffer}) {
      if (*handle) DisposeMemHandle(*handle);
      *handle = nullptr;
    }
    FreeBlock(band.filterCarryBlock);
    FreeBlock(band.labLineBuffer);
    FreeLineBuffer(band.transformLineBuffer);
    band.filterCarryBlock = band.labLineBuffer = band.transformLineBuffer = nullptr;
    if (labTablesBuilt) FreeLabTables();
    labTablesBuilt = false;
    return 0;
  }

  const FrameRecord& frame = gScanFrame;
  const SessionBlock& session = *gSession;
  const uint32_t k = static_cast<uint32_t>(std::max(sampleFactor, 1));
  const uint32_t sampleBytes = session.depth == 16 ? 2 : 1;
  const uint32_t divisor = session.depth == 1 ? 8 : 1;
  const int16_t outputMode = GetDefault(gDefaults, kDefaultOutputCmsMode);
  const bool rgb = frame.colorMode == 2;

  ScalingWindow& window = gScalingWindow;
  const int64_t halvedRows = window.halvedRows;
  uint32_t copyRows = static_cast<uint32_t>(rowsPerRead);
  if (frame.filterMode == 3 && halvedRows > 0)
    copyRows = std::max(copyRows, static_cast<uint32_t>((static_cast<int64_t>(Unsigned16(session.rows)) * windowRows +
                                                         halvedRows - 1) / halvedRows));
  uint8_t failed = 0;
  auto take = [&failed](MemHandle* handle, uint32_t size) {
    *handle = NewMemHandle(size);
    if (!*handle) failed = 1;
  };
  take(&band.outputBuffer, 2 * lineBytes + kBandBytes);
  take(&band.bandBuffer, 2 * lineBytes * k + kBandBytes);
  take(&band.filterCopyBuffer, (copyRows + 2 * k) * lineBytes);
  // At least one whole read row, for the plane exchange and the CMYK separation.
  const uint32_t work = session.planes * sampleBytes * (rowsPerRead + 1) * frame.scanPixelWidth * 2 / divisor;
  take(&band.workBuffer, std::max(work, (static_cast<uint32_t>(rowsPerRead) + 2 * k) * lineBytes));
  if (HalvedFilterMode(frame)) {
    // A read of the most rows, and a few more that the last row of a band may need.
    const uint32_t rowsRead = static_cast<uint32_t>(std::max(twiceWindowRows, 1)) + kScalingLookaheadRows;
    const uint32_t planeSamples = sampleBytes * (rgb ? 3 : 1);
    take(&window.sourceBuffer, rowsRead * planeSamples * window.sourceWidth);
    take(&window.workBuffer, rowsRead * planeSamples * window.halvedWidth);
  }
  band.filterCarryBlock = AllocBlock(2 * lineBytes * k);
  if (!band.filterCarryBlock) failed = 1;
  if (rgb && outputMode == kOutputLabSeparation && !IsZirData(frame)) {
    band.labLineBuffer = AllocBlock(6 * static_cast<uint32_t>(Unsigned16(session.columns)));
    if (!band.labLineBuffer) failed = 1;
  }
  if (UsesScannerTransform(frame)) {
    band.transformLineBuffer = AllocLineBuffer(static_cast<uint16_t>(session.columns));
    if (!band.transformLineBuffer) failed = 1;
  }
  if (rgb && (outputMode == kOutputLab || outputMode == kOutputLabSeparation)) {
    BuildLabTables(GetDefault(gDefaults, kDefaultDisplayGamma));
    labTablesBuilt = true;
  }
  return failed;
}

uint8_t* BandDataForHost(uint8_t* band, uint8_t* second, const Rect16& rect) {
  const SessionBlock& session = *gSession;
  if (session.hostSignature != kHostSignatureBupp) return band;
  const int32_t rows = Unsigned16(rect.bottom) - Unsigned16(rect.top);
  const int32_t width = Unsigned16(rect.right) - Unsigned16(rect.left);
  if (session.planes == 3 && session.depth == 16) {
    Planar3ToInterleaved16(reinterpret_cast<const uint16_t*>(band), reinterpret_cast<uint16_t*>(second), rows, width);
    return second;
  }
  if (session.planes == 3) {
    Planar3ToInterleaved8(band, second, rows, width);
    return second;
  }
  if (session.planes == 4 && session.depth == 8) {
    Planar4ToInterleaved8(band, second, rows, width);
    return second;
  }
  return band;
}

void RunScan() {
  FrameRecord& frame = gScanFrame;
  SessionBlock& session = *gSession;
  if (!gBand.bandBuffer) PrepareAutoSharpen(&frame);

  const uint16_t savedWidth = frame.scanPixelWidth;
  const uint16_t savedHeight = frame.scanPixelHeight;
  const ScalingWindow& window = gScalingWindow;
  const OrientationFlags& orientation = OrientationTableRow(frame.mirrorH, frame.mirrorV, frame.quarterTurns);
  // The reads run in the frame's own rows and columns.
  if (orientation.quarterTurn) std::swap(session.rows, session.columns);
  if (HalvedFilterMode(frame)) {
    frame.scanPixelWidth = window.sourceWidth;
    frame.scanPixelHeight = static_cast<uint16_t>(window.sourceRows);
  }

  const int32_t readPlanes = frame.colorMode == 2 ? 3 : 1;
  const int32_t bits = session.depth;
  const int32_t columns = Unsigned16(session.columns);
  BandJob job{frame,
              session,
              CurrentBandServices(),
              columns,
              readPlanes,
              bits,
              ImageModeSampleFactor(&frame),
              IsZirData(frame),
              PlanBandReads(readPlanes, session.planes, columns, bits),
              TruncRound(frame.originX * frame.scanResolutionX)};
  ProduceBand(job, orientation);

  if (orientation.quarterTurn) std::swap(session.rows, session.columns);
  frame.scanPixelWidth = savedWidth;
  frame.scanPixelHeight = savedHeight;
}
