#include "output/image_file_writer.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

#include "color/pixel_layout.h"
#include "color/row_corrections.h"
#include "color/profile_files.h"
#include "foundation/dialogs/alerts.h"
#include "foundation/round.h"
#include "records/defaults_block.h"
#include "records/frame_record.h"
#include "session/band_corrections.h"
#include "session/band_producer.h"
#include "session/band_services.h"
#include "session/device_layer.h"
#include "session/frame_geometry.h"
#include "session/reduction_tables.h"
#include "session/scan_read.h"
#include "session/session_image.h"
#include "sharpen/band_filters.h"
#include "sharpen/scaling_window.h"
#include "state/data_source_state.h"
#include "state/module_state.h"
#include "tone/tone_engine_state.h"

namespace {

uint8_t* Data(MemHandle handle) { return handle ? static_cast<uint8_t*>(handle->data) : nullptr; }

int32_t Unsigned16(int16_t value) { return static_cast<uint16_t>(value); }

// The writer works in frame order; the session block describes the output.
void SwapSessionAxes(bool exchange) {
  if (exchange) std::swap(gSession->rows, gSession->columns);
}

}  // namespace

uint64_t ImageFileWriter::ProcessedRowBytes() const {
  const uint64_t samples = static_cast<uint64_t>(samplesPerPixel_) * static_cast<uint64_t>(columns_);
  if (bitsPerChannel_ == 1) return (samples + 7) / 8;
  return samples * (bitsPerChannel_ == 16 ? 2 : 1);
}

uint32_t ImageFileWriter::ProgressTitleId(bool mirror, bool rotate) const {
  if (rotate) return kTurnTitleString;
  return mirror ? kMirrorTitleString : kWriteFilesTitleString;
}

bool ImageFileWriter::Run(int16_t index, int16_t count, uint8_t* cancelled) {
  index_ = index;
  count_ = count;
  cancelled_ = 0;
  const bool succeeded = Begin() && ProcessLines() && End();
  if (IsDescreenKind(gScanFrame.filterMode)) {
    gScanFrame.scanPixelWidth = savedScanWidth_;
    gScanFrame.scanPixelHeight = savedScanHeight_;
  }
  FreePipeline();
  FreeEmbeddedProfile(&profileData_, &profileHandle_);
  profileSize_ = 0;
  // Ends a multi-scan's passes too.
  EndScanRead();
  if (cancelled) *cancelled = cancelled_;
  return !succeeded;
}

void ImageFileWriter::ComputeSizes(int32_t channels, bool descreen) {
  BandReadPlan plan = PlanBandReads(channels, samplesPerPixel_, columns_, bitsPerChannel_);
  windowRows_ = descreen ? PlanDescreenReads(&plan, rows_) : 0;
  bandRows_ = plan.rowsPerRead;
  sourceRowBytes_ = plan.lineBytes;
  const uint64_t scanSamples = static_cast<uint64_t>(channels) * savedScanWidth_;
  scanRowBytes_ = static_cast<uint32_t>(bitsPerChannel_ == 1 ? scanSamples / 8 : scanSamples * (bitsPerChannel_ / 8));
  // 64 bits: a large frame's bytes pass 4 GiB.
  const uint64_t pixels = static_cast<uint64_t>(samplesPerPixel_) * static_cast<uint64_t>(columns_) * rows_;
  imageBytes_ = bitsPerChannel_ == 16 ? pixels * 2 : pixels / (8 / bitsPerChannel_);
}

bool ImageFileWriter::Begin() {
  if (!gSession) return false;
  if (gCurrentFrame) gScanFrame = *gCurrentFrame;
  FrameRecord& frame = gScanFrame;
  BindToneEngine(ToneEngineSources{&gCurrentFrame, &gDefaults, &gLightSourceFlag});
  AllocateBandBuffers(false, 0, 0, 0, 0, 0);
  gBand = ScanBandState{};
  PrepareScanReduction(frame);
  reductionMade_ = !gScanReduction.table.empty();

  bitsPerChannel_ = frame.bitsPerChannel;
  sampleFactor_ = static_cast<int16_t>(ImageModeSampleFactor(&frame));
  orientation_ = WriterOrientationIndex(frame.mirrorH, frame.mirrorV, frame.quarterTurns);
  flags_ = &WriterOrientationRow(orientation_);
  orientationNeeded_ = flags_->reverseEachRow || flags_->reverseRowOrder || flags_->exchangeAxes;
  const bool rgb = frame.colorMode == 2;
  if (rgb) BuildRegionCorrectionLuts(&frame);

  ChooseScanResolution(&frame);
  FillSessionImageInfo(&frame);
  const bool exchange = flags_->exchangeAxes != 0;
  SwapSessionAxes(exchange);
  SessionBlock& session = *gSession;
  rows_ = Unsigned16(session.rows);
  columns_ = Unsigned16(session.columns);
  samplesPerPixel_ = session.planes;
  // The profile the file embeds: with colour management on, for an RGB frame, when embedding is chosen.
  profileHandle_ = nullptr;
  profileData_ = nullptr;
  profileSize_ = 0;
  if (gIcmEnabled && rgb && GetDefault(gDefaults, kDefaultEmbedIccProfile))
    LoadEmbeddedProfile(&frame, &profileData_, &profileSize_, &profileHandle_);

  savedScanWidth_ = frame.scanPixelWidth;
  savedScanHeight_ = frame.scanPixelHeight;
  const bool descreen = IsDescreenKind(frame.filterMode);
  FrameRecord source = frame;
  if (descreen) {
    SetDescreenSource(&source);
    // The band stages see the source's size while the frame is written.
    frame.scanPixelWidth = gScalingWindow.sourceWidth;
    frame.scanPixelHeight = static_cast<uint16_t>(gScalingWindow.sourceRows);
  }

  ComputeSizes(rgb ? 3 : 1, descreen);

  SwapSessionAxes(exchange);
  if (!OpenOutput()) {
    ShowAlert(GetModuleInstance(), kErrorCaptionString, kNoRoomString, false, nullptr);
    return false;
  }
  SwapSessionAxes(exchange);
  PrepareAutoSharpen(&frame);
  const bool allocated = AllocateBandBuffers(true, sourceRowBytes_, sampleFactor_, bandRows_, windowRows_,
                                             2 * windowRows_) == 0;
  SwapSessionAxes(exchange);
  if (!allocated) return false;
  gBand.firstBand = 1;

  const uint16_t error = StartScanRead(&source);
  if (error != kDeviceErrorNone) {
    cancelled_ = IsWriterCancelled();
    // A start the user cancelled leaves no error of the device.
    if (gDeviceErrorWord != kDeviceErrorNone)
      ShowError(GetModuleInstance(), kErrorCaptionString, kScanStartErrorString, error, 0, 0);
    return false;
  }
  if (!WriteOutputHead()) return false;
  ProgressPanes().push(columns_, rows_, exchange, true);
  panePushed_ = true;
  return true;
}

void ImageFileWriter::DrawIntoPane(const uint8_t* band, int32_t rows) {
  const bool rgb = gScanFrame.colorMode == 2;
  int32_t format = 0, view = 5;
  if (bitsPerChannel_ == 16) format = rgb ? 6 : 2;
  else if (bitsPerChannel_ == 8) format = rgb ? 3 : 1;
  if (rgb) view = 0;
  ProgressPanes().drawRows(band, rowsWritten_, rows, columns_, format, view, false, Flags().reverseEachRow,
                           Flags().reverseRowOrder, Flags().exchangeAxes);
}

int32_t ImageFileWriter::ProcessBand(uint8_t* band, int32_t rows) {
  const FrameRecord& frame = gScanFrame;
  const int32_t planes = frame.colorMode == 2 ? 3 : 1;
  const bool zir = IsZirData(frame);
  ScanBandState& state = gBand;
  const BandCorrectionJob job{frame,
                              CurrentBandServices(),
                              columns_,
                              planes,
                              samplesPerPixel_,
                              bitsPerChannel_,
                              sampleFactor_,
                              zir,
                              sourceRowBytes_,
                              static_cast<uint32_t>(ProcessedRowBytes()),
                              TruncRound(frame.originX * frame.scanResolutionX),
                              rowsWritten_,
                              Data(state.workBuffer),
                              state.transformLineBuffer,
                              state.labLineBuffer,
                              false,
                              true};
  const int32_t left = rows_ - rowsWritten_;
  // The sharpening filters' finished rows drive every later step of the band.
  rows = std::max(0, std::min(CorrectBandRows(job, band, rows), left));
  DrawIntoPane(band, rows);
  if (!zir) rows = std::max(0, std::min(ConvertBandRows(job, band, rows), left));
  rowsWritten_ += rows;

  const bool interleave = planes == 3 && (interleave_ || zir);
  if (!interleave || rows == 0) return rows;
  uint8_t* scratch = Data(state.outputBuffer);
  if (bitsPerChannel_ == 16 && samplesPerPixel_ == 4)
    Planar4ToInterleaved16(reinterpret_cast<const uint16_t*>(band), reinterpret_cast<uint16_t*>(scratch), rows,
                           columns_);
  else if (bitsPerChannel_ == 16)
    Planar3ToInterleaved16(reinterpret_cast<const uint16_t*>(band), reinterpret_cast<uint16_t*>(scratch), rows,
                           columns_);
  else if (samplesPerPixel_ == 4)
    Planar4ToInterleaved8(band, scratch, rows, columns_);
  else
    Planar3ToInterleaved8(band, scratch, rows, columns_);
  std::memcpy(band, scratch, static_cast<size_t>(ProcessedRowBytes() * static_cast<uint64_t>(rows)));
  return rows;
}

bool ImageFileWriter::ProcessLines() {
  ScanBandState& state = gBand;
  FrameRecord& frame = gScanFrame;
  uint8_t* band = Data(state.bandBuffer);
  const int32_t planes = frame.colorMode == 2 ? 3 : 1;
  const bool zir = IsZirData(frame);
  const int32_t doneFactor = IsDescreenKind(frame.filterMode) ? 2 : 1;
  bool written = true;
  for (;;) {
    cancelled_ = IsWriterCancelled();
    const uint32_t read = ReadBandRows(frame, cancelled_ != 0, band, bandRows_, windowRows_, sourceRowBytes_,
                                       columns_, rows_, planes, bitsPerChannel_, zir);
    if (state.passByte) cancelled_ = IsWriterCancelled();
    // A read that gives nothing and does not end the source would never end the loop.
    if (read == 0 && !state.passByte) state.passByte = 1;
    state.lineCounter += read;
    rowsRead_ += static_cast<int32_t>(read);
    const int32_t rows = ProcessBand(band, static_cast<int32_t>(read));
    written = WriteProcessedLines(band, ProcessedRowBytes() * static_cast<uint64_t>(rows), rows);
    UpdateWriterProgress(rowsWritten_ * doneFactor, frame.scanPixelHeight, index_, count_);
    if (state.passByte || cancelled_ || !written) break;
  }
  WritePaddingRows();
  return !cancelled_ && written;
}

void ImageFileWriter::WritePaddingRows() {
  // The file always holds the declared rows: a short source repeats the start of the band.
  const uint8_t* band = Data(gBand.bandBuffer);
  for (; rowsWritten_ < rows_; ++rowsWritten_) WriteProcessedLines(band, ProcessedRowBytes(), 1);
}

bool ImageFileWriter::End() {
  bool finished = FinishOutput();
  PanePreview preview;
  if (panePushed_) ProgressPanes().pop(Flags().reverseEachRow, Flags().reverseRowOrder, Flags().exchangeAxes, &preview);
  panePushed_ = false;
  finished = WriteOutput(preview) && finished;
  ProgressPanes().release(&preview);
  FreePipeline();
  return finished;
}

void ImageFileWriter::FreePipeline() {
  if (panePushed_) {
    PanePreview preview;
    ProgressPanes().pop(Flags().reverseEachRow, Flags().reverseRowOrder, Flags().exchangeAxes, &preview);
    ProgressPanes().release(&preview);
    panePushed_ = false;
  }
  if (reductionMade_) FreeReductionTable(&gScanReduction.table, &gScanReduction.inBits, &gScanReduction.outBits);
  reductionMade_ = false;
  AllocateBandBuffers(false, 0, 0, 0, 0, 0);
}

bool WriteImageFile(int16_t kind, int16_t index, int16_t count, uint8_t* cancelled) {
  ImageFileWriter* writer = CreateImageFileWriter(kind);
  if (!writer) return true;
  const bool failed = writer->Run(index, count, cancelled);
  delete writer;
  return failed;
}
