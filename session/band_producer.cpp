#include "session/band_producer.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "color/color_profile_set.h"
#include "color/lab_rows.h"
#include "color/pixel_layout.h"
#include "foundation/dialogs/alerts.h"
#include "foundation/log/log_file.h"
#include "foundation/memory.h"
#include "foundation/round.h"
#include "frames/orientation/orient_image_block.h"
#include "frames/orientation/preview_orientation.h"
#include "records/defaults_block.h"
#include "records/frame_record.h"
#include "session/band_corrections.h"
#include "session/band_services.h"
#include "session/device_state.h"
#include "session/reduction_tables.h"
#include "session/frame_geometry.h"
#include "session/scan_progress.h"
#include "session/scan_read.h"
#include "session/user_interface_hooks.h"
#include "sharpen/band_filters.h"
#include "sharpen/scaling_window.h"
#include "state/data_source_state.h"
#include "state/module_state.h"
#include "tone/gamma_tables.h"

ScanReduction gScanReduction;
Rect16 gBandRect = {};

namespace {

constexpr uint32_t kNoScanMemoryString = 119;  // "Nicht genügend Speicher zum Scannen."
constexpr int16_t kOutputLab = 4;
constexpr int16_t kOutputLabSeparation = 5;
constexpr int16_t kInputScannerProfiles = 2;

// The session keeps sizes in 16 bits; images up to 65535 pixels read them unsigned.
int32_t Unsigned16(int16_t value) { return static_cast<uint16_t>(value); }

uint8_t* Data(MemHandle handle) { return handle ? static_cast<uint8_t*>(handle->data) : nullptr; }

bool HalvedFilterMode(const FrameRecord& frame) { return IsDescreenKind(frame.filterMode); }

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

// The shared corrections in the transfer's output form, over the band's buffers.
BandCorrectionJob CorrectionJob(const BandJob& job) {
  ScanBandState& band = gBand;
  return BandCorrectionJob{job.frame,         job.services,        job.columns,        job.planes,
                           job.session.planes, job.bits,            job.sampleFactor,   job.zir,
                           job.plan.lineBytes, job.plan.bandRowBytes, job.regionX,      Unsigned16(gBandRect.bottom),
                           Data(band.workBuffer), band.transformLineBuffer, band.labLineBuffer, true, false};
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

  const int32_t windowRows = halved ? PlanDescreenReads(&job.plan, rows) : 0;
  const int32_t n = job.plan.rowsPerRead;

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
    const uint32_t read = ReadBandRows(frame, cancel, at, n, windowRows, job.plan.lineBytes, job.columns, rows,
                                       job.planes, job.bits, job.zir);
    if (band.passByte && cancel) session.transferActive = 0;
    // A read that gives nothing and does not end the source would never end the band.
    if (read == 0 && !band.passByte) band.passByte = 1;
    band.lineCounter += read;

    const BandCorrectionJob correction = CorrectionJob(job);
    int32_t handed = CorrectBandRows(correction, at, static_cast<int32_t>(read));
    ShowRowsInPane(job, orientation, at, std::max(0, std::min(handed, rows - Unsigned16(gBandRect.bottom))));
    if (!job.zir) handed = ConvertBandRows(correction, at, handed);
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

int32_t PlanDescreenReads(BandReadPlan* plan, int32_t rows) {
  const int32_t halvedRows = static_cast<int32_t>(gScalingWindow.halvedRows);
  if (halvedRows <= 0) return 0;
  if (rows > halvedRows) {
    // More output rows than halved rows: bands in proportion, still within the band buffer.
    const int32_t fit = static_cast<int32_t>(std::max<uint32_t>(kBandBytes / plan->bandRowBytes, 1));
    plan->rowsPerRead = std::min(plan->rowsPerRead * rows / halvedRows, fit);
    const uint64_t read = static_cast<uint64_t>(plan->rowsPerRead) * plan->bandRowBytes;
    plan->bandLimit = read < kBandBytes ? static_cast<uint32_t>(kBandBytes - read) : 0;
  }
  return std::max(3, plan->rowsPerRead * halvedRows / std::max(rows, 1));
}

uint32_t ReadBandRows(FrameRecord& frame, bool cancel, uint8_t* at, int32_t n, int32_t windowRows, uint32_t lineBytes,
                      int32_t columns, int32_t rows, int32_t planes, int32_t bits, bool zir) {
  ScanBandState& band = gBand;
  if (!HalvedFilterMode(frame) || zir) {
    uint32_t read = 0;
    band.passByte = ReadScanLines(cancel, at, band.lineCounter, static_cast<uint32_t>(n), &read);
    return read;
  }
  const ScalingWindow& window = gScalingWindow;
  const int32_t sampleBytes = bits == 16 ? 2 : 1;
  const int32_t full = sampleBytes * planes * window.sourceWidth;
  const int32_t half = sampleBytes * planes * static_cast<int32_t>(window.halvedWidth);
  int16_t produced = 0;
  ScaleBandBicubic(&frame, cancel, &band.passByte, at, static_cast<int32_t>(band.lineCounter), static_cast<int16_t>(n),
                   &produced, 2 * windowRows, full, half, static_cast<int32_t>(lineBytes), columns, rows,
                   ReadScanLines);
  return static_cast<uint32_t>(std::max<int16_t>(produced, 0));
}

void PrepareScanReduction(const FrameRecord& frame) {
  FreeReductionTable(&gScanReduction.table, &gScanReduction.inBits, &gScanReduction.outBits);
  if (!IsZirData(frame) || !GetDefault(gDefaults, kDefaultZirOutputReduction)) return;
  const DeviceDescription& device = gDeviceLayer.description;
  const uint16_t inBits = frame.colorMode == 2 ? device.bitsPerPixel / 3 : device.bitsPerSample;
  CreateReductionTable(&gScanReduction.table, &gScanReduction.inBits, &gScanReduction.outBits, inBits, 16,
                       CurrentGamma());
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
    FreeBlock(band.transformLineBuffer);
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
