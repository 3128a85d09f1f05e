#include "session/device_read.h"

#include <algorithm>
#include <vector>
#include <cmath>

#include "foundation/bits.h"
#include "foundation/dialogs/alerts.h"
#include "foundation/memory.h"
#include "foundation/round.h"
#include "foundation/system.h"
#include "readers/reader_errors.h"
#include "readers/reader_factory.h"
#include "records/frame_record.h"
#include "session/device_layer.h"
#include "session/device_state.h"
#include "session/intermediate_stage.h"
#include "session/resample.h"
#include "session/source_lines.h"
#include "color/color_management.h"
#include "color/color_profile_set.h"
#include "records/defaults_block.h"
#include "state/data_source_state.h"
#include "tone/gamma_tables.h"
#include "tone/tone_engine_state.h"

uint16_t gDeviceErrorWord = kDeviceErrorNone;

namespace {

constexpr uint32_t kSourceSamplesPerColumn = 60;
constexpr uint32_t kOutputSamplesPerColumn = 78;

int32_t Clamp(int32_t value, int32_t low, int32_t high) { return std::max(low, std::min(value, high)); }

}  // namespace

SourceRect ClampSourceRect(SourceRect rect, uint32_t imageWidth, uint32_t imageHeight) {
  const int32_t width = static_cast<int32_t>(imageWidth);
  const int32_t height = static_cast<int32_t>(imageHeight);
  rect.left = Clamp(rect.left, 0, width - 1);
  rect.top = Clamp(rect.top, 0, height - 1);
  rect.width = Clamp(rect.width, 1, width - rect.left);
  rect.height = Clamp(rect.height, 1, height - rect.top);
  return rect;
}

SourceRect ReduceSourceRect(const SourceRect& rect, double ratio, uint32_t reducedWidth, uint32_t reducedHeight) {
  SourceRect reduced = {TruncRound(rect.left * ratio), TruncRound(rect.top * ratio), TruncRound(rect.width * ratio),
                        TruncRound(rect.height * ratio)};
  return ClampSourceRect(reduced, reducedWidth, reducedHeight);
}

SourceRect FrameSourceRect(const FrameRecord& frame, uint32_t imageWidth, uint32_t imageHeight,
                           uint32_t resolution) {
  SourceRect rect = {TruncRound(frame.originX * resolution), TruncRound(frame.originY * resolution),
                     TruncRound(frame.width * resolution), TruncRound(frame.height * resolution)};
  return ClampSourceRect(rect, imageWidth, imageHeight);
}

double ReadScale(int32_t sourceHeight, int32_t outputHeight) {
  if (outputHeight <= 1) return 1.0;
  return static_cast<double>(sourceHeight - 1) / (outputHeight - 1);
}

LineBufferSizes ComputeLineBufferSizes(int32_t sourceWidth, int32_t outputWidth, double scale, int32_t bits) {
  const uint32_t sampleBytes = bits == 16 ? 2 : 1;
  uint32_t outputSamples = kOutputSamplesPerColumn;
  if (scale > 1.0) outputSamples = static_cast<uint32_t>(std::ceil(kOutputSamplesPerColumn * scale));
  return {static_cast<uint32_t>(sourceWidth) * kSourceSamplesPerColumn * sampleBytes,
          static_cast<uint32_t>(outputWidth) * outputSamples * sampleBytes};
}

namespace {

constexpr int16_t kReadMode = 0;
constexpr uint32_t kBandBytes = 100000;
constexpr int32_t kLinesPerCallBytes = 30;

// The read itself, without the intermediate stage's tables and conversion.
bool StartFrameRead(FrameRecord* frame, bool preview);
bool MakeDeviceLines(uint8_t* output, uint32_t wantedLines, uint32_t* linesMade);

bool FailRead(uint16_t error) {
  gDeviceErrorWord = error;
  CloseImageDevice();
  return false;
}

// Whether a read under the device's 16-bit colour option goes through the
// 16-bit intermediate stage: colour frames by the colour-management mode,
// other frames when they are final 16-bit reads of the image's own data.
bool IntermediateStageWanted(const FrameRecord& frame, bool preview, int16_t cmsMode) {
  const bool finalSixteen = frame.bitsPerChannel == 16 && frame.bitDepthChoice == 0 && !preview;
  if (frame.colorMode != kColorModeRgb) return finalSixteen;
  switch (cmsMode) {
    case kInputColorNone: return GetDefault(gDefaults, kDefaultZirGamma) != 1.0 || finalSixteen;
    case kInputColorScannerProfiles: return IsScannerTransformReady();
    case kInputColorCalibration:
    case kInputColorEmbeddedProfile: return true;
    default: return false;
  }
}

// Switches the stage on for the read when it is wanted; a colour frame is then read at 16 bits.
void BeginIntermediateStage(FrameRecord* frame, bool preview) {
  DeviceReadState& read = gDeviceLayer.read;
  read.outputBits = frame->bitsPerChannel;
  if (!gSixteenBitColorOption) return;
  // Negatives are read with the input colour management off.
  read.replacedCmsMode = GetDefault(gDefaults, kDefaultInputCmsMode);
  read.cmsModeReplaced = GetDefault(gDefaults, kDefaultNegativeMode) != 0;
  if (read.cmsModeReplaced) SetDefault<int16_t>(gDefaults, kDefaultInputCmsMode, kInputColorNone);
  if (!IntermediateStageWanted(*frame, preview, GetDefault(gDefaults, kDefaultInputCmsMode))) return;
  ResetIntermediateState(1);
  if (frame->colorMode == kColorModeRgb) frame->bitsPerChannel = 16;
}

// The stage's tables for the frame at its own depth; false frees the stage again.
bool BuildStageTables(FrameRecord* frame, const FrameRecord& kept) {
  frame->bitsPerChannel = kept.bitsPerChannel;
  if (BuildIntermediateTables(frame, CurrentGamma())) return true;
  FreeIntermediateState();
  return false;
}

}  // namespace

bool StartDeviceRead(FrameRecord* frame, bool preview) {
  const FrameRecord kept = *frame;
  const bool started = StartFrameRead(frame, preview) && (!IsIntermediateOn() || BuildStageTables(frame, kept));
  *frame = kept;
  if (!started) return FailRead(gDeviceErrorWord ? gDeviceErrorWord : uint16_t{kDeviceErrorToneTables});
  return true;
}

namespace {

bool StartFrameRead(FrameRecord* frame, bool preview) {
  DeviceLayerState& device = gDeviceLayer;
  DeviceReadState& read = device.read;
  CloseImageDevice();
  gDeviceErrorWord = kDeviceErrorNone;
  BeginIntermediateStage(frame, preview);

  // The frame's area in the image, or in its reduced copy for a preview that needs no more.
  SourceRect rect = FrameSourceRect(*frame, device.imageWidth, device.imageHeight, device.maxResolution);
  bool reduced = false;
  const ImageFileInfo& geometry = device.geometryInfo;
  if (preview && device.rawRead && geometry.width > 0 && geometry.width < device.imageWidth) {
    double ratio = static_cast<double>(geometry.width) / device.imageWidth;
    SourceRect small = ReduceSourceRect(rect, ratio, geometry.width, geometry.height);
    if (frame->scanPixelWidth < 2 * small.width && frame->scanPixelHeight < 2 * small.height) {
      rect = small;
      reduced = true;
    }
  }

  // The read's format.
  const bool colour = frame->colorMode == 2;
  const bool sixteen = frame->bitsPerChannel == 16;
  // Line art is made from 8-bit grey lines.
  read.bitsPerSample = frame->bitsPerChannel == 1 ? 8 : frame->bitsPerChannel;
  read.lineArt = frame->bitsPerChannel == 1;
  read.outputWidth = frame->scanPixelWidth;
  read.outputHeight = frame->scanPixelHeight;
  read.sourceLeft = rect.left;
  read.sourceTop = rect.top;
  read.sourceWidth = rect.width;
  read.sourceHeight = rect.height;
  read.scale = 1.0;
  read.sourceLinesRead = 0;
  read.outputLinesMade = 0;
  if (read.outputWidth <= 0 || read.outputHeight <= 0) return FailRead(kDeviceErrorScanBuffer);

  // The reader, its output depth and header.
  read.reader = CreateImageFileReader(device.imagePath, kReadMode, reduced);
  if (!read.reader) return FailRead(kDeviceErrorReaderObject);
  if (!read.reader->ImageReaderIsOpen()) return FailRead(kDeviceErrorOpenFile);
  ImageFileInfo info = {};
  read.reader->SetOutputDepth(static_cast<uint16_t>(read.bitsPerSample));
  int16_t error = read.reader->ReadHeader(&info);
  // The grey of a colour image: in the intermediate stage the three planes
  // are read and reduced afterwards; otherwise the reader delivers the chosen
  // channel, or for choice 0 the mean of the three samples.
  const bool greyOfColour = !colour && info.samplesPerPixel >= 3;
  read.greyChannelChoice = gGreyChannelChoice <= 3 ? gGreyChannelChoice : 0;
  read.greyFromPlanes = greyOfColour && IsIntermediateOn();
  read.channels = colour || read.greyFromPlanes ? 3 : 1;
  read.bytesPerPixel = (sixteen ? 2 : 1) * read.channels;
  if (error == kReaderOk) {
    read.reader->SetGreyOutput(greyOfColour && !read.greyFromPlanes && read.greyChannelChoice == 0);
    error = read.reader->StartReading(kBandBytes);
  }
  if (error != kReaderOk) {
    if (error != kReaderLibraryMessageShown) {
      char text[512] = {};
      LoadResourceString(GetModuleInstance(), static_cast<uint32_t>(error), text, sizeof text);
      ShowAlertText(GetModuleInstance(), kErrorCaptionString, text);
    }
    return FailRead(kDeviceErrorFile);
  }

  // The line buffers.
  read.scale = ReadScale(read.sourceHeight, read.outputHeight);
  LineBufferSizes sizes = ComputeLineBufferSizes(read.sourceWidth, read.outputWidth, read.scale, read.bitsPerSample);
  read.sourceBuffer = NewMemHandle(sizes.source);
  read.outputBuffer = NewMemHandle(sizes.output);
  if (!read.sourceBuffer || !read.outputBuffer) return FailRead(kDeviceErrorScanBuffer);

  // The reader's tables and the resampling.
  const std::vector<uint16_t>* gammaTables[4];
  uint32_t gammaBits[4] = {};
  for (int c = 0; c < 4; ++c) gammaTables[c] = read.reader->GetGammaTable(&gammaBits[c], c);
  gSourceLineRead = SourceLineRead{};
  gSourceLineRead.reader = read.reader.get();
  gSourceLineRead.left = static_cast<uint32_t>(rect.left);
  gSourceLineRead.top = static_cast<uint32_t>(rect.top);
  gSourceLineRead.bitsPerSample = static_cast<uint16_t>(read.bitsPerSample);
  gSourceLineRead.imagePlanes = info.samplesPerPixel;
  if (greyOfColour && read.greyChannelChoice > 0) gSourceLineRead.greyChannel = read.greyChannelChoice - 1;
  if (!PrepareSourceLines(read.reader.get(), frame, gammaTables, gammaBits)) return FailRead(kDeviceErrorToneTables);
  // 8-bit colour lines arrive green, red, blue: the swap delivers red, green, blue.
  const uint8_t swap = colour && !sixteen ? 1 : 0;
  const uint16_t pendingLines = static_cast<uint16_t>(kSourceSamplesPerColumn / read.channels);
  read.resampling = true;
  if (!ResampleSetup(static_cast<uint32_t>(read.sourceWidth), static_cast<uint32_t>(read.outputWidth),
                     static_cast<uint32_t>(read.sourceHeight), read.scale, 0, 0, 0, swap, 0, pendingLines))
    return FailRead(kDeviceErrorScanBuffer);
  // The queue of pending lines lives in the output buffer.
  uint32_t queueBytes = ResampleQueueLines() * static_cast<uint32_t>(read.outputWidth * read.bytesPerPixel);
  if (MemHandleSize(read.outputBuffer) < queueBytes) {
    ResizeMemHandle(&read.outputBuffer, queueBytes);
    if (!read.outputBuffer) return FailRead(kDeviceErrorScanBuffer);
  }
  return true;
}

// The made lines (planar rows of the read's planes at 16 bits) through the
// stage into the caller's lines at the frame's own depth; a grey frame read
// as three planes is reduced to one grey plane first.
bool ApplyIntermediateStage(uint16_t* own, uint8_t* output, uint32_t rows, uint32_t width, uint32_t planes,
                            int32_t outputBits) {
  const DeviceReadState& read = gDeviceLayer.read;
  if (planes == 3 && !ApplyIntermediate16(own, own, rows, width, 1, width, 1, width)) return false;
  if (read.greyFromPlanes) {
    RgbPlanes16ToGrey(own, own, static_cast<int>(rows), static_cast<int>(width), read.greyChannelChoice, false);
    planes = 1;
  }
  if (outputBits == 16)
    return ApplyIntermediateTo16(own, reinterpret_cast<uint16_t*>(output), rows, width, planes, 1, width, 1, width);
  return planes == 3 && ApplyIntermediateTo8(own, output, rows, width, 1, width, 1, width, false);
}

}  // namespace

bool ReadDeviceLines(bool finish, uint8_t* output, uint32_t wantedLines, uint32_t* linesMade) {
  DeviceReadState& read = gDeviceLayer.read;
  *linesMade = 0;
  if (finish || !read.sourceBuffer || !read.outputBuffer) {
    CloseImageDevice();
    return true;
  }
  if (!IsIntermediateOn()) {
    if (!MakeDeviceLines(output, wantedLines, linesMade)) return false;
  } else {
    const uint32_t width = static_cast<uint32_t>(read.outputWidth);
    const uint32_t planes = static_cast<uint32_t>(read.channels);
    read.intermediateLines.resize(size_t{wantedLines} * width * planes);
    uint16_t* lines = read.intermediateLines.data();
    if (!MakeDeviceLines(reinterpret_cast<uint8_t*>(lines), wantedLines, linesMade)) return false;
    if (!ApplyIntermediateStage(lines, output, *linesMade, width, planes, read.outputBits)) {
      *linesMade = 0;
      return FailRead(kDeviceErrorToneTables);
    }
  }
  // After the last line the read is closed (the stage's tables freed, the colour-management mode restored).
  if (read.outputLinesMade >= read.outputHeight) CloseImageDevice();
  return true;
}

namespace {

bool MakeDeviceLines(uint8_t* output, uint32_t wantedLines, uint32_t* linesMade) {
  DeviceReadState& read = gDeviceLayer.read;
  const bool sixteen = read.bitsPerSample == 16;
  uint32_t lines = static_cast<uint32_t>(kLinesPerCallBytes / read.bytesPerPixel) * (sixteen ? 2 : 1);
  if (read.scale < 1.0) lines = static_cast<uint32_t>(lines / read.scale);
  lines = std::max<uint32_t>(lines, 1);
  lines = std::min<uint32_t>({lines, static_cast<uint32_t>(read.outputHeight - read.outputLinesMade), wantedLines});

  uint32_t sourceLines = std::min<uint32_t>(ResampleLinesNeeded(lines),
                                            static_cast<uint32_t>(read.sourceHeight - read.sourceLinesRead));
  const uint32_t sampleBytes = sixteen ? 2 : 1;
  uint32_t lineBytes = static_cast<uint32_t>(read.sourceWidth * read.channels) * sampleBytes;
  if (MemHandleSize(read.sourceBuffer) < sourceLines * lineBytes) {
    ResizeMemHandle(&read.sourceBuffer, sourceLines * lineBytes);
    if (!read.sourceBuffer) return FailRead(kDeviceErrorScanBuffer);
  }
  if (!ReadSourceLines(read.sourceBuffer->data, sourceLines, static_cast<uint32_t>(read.sourceWidth),
                       static_cast<uint32_t>(read.channels)))
    return FailRead(kDeviceErrorFile);

  uint32_t made = 0;
  const uint32_t width = static_cast<uint32_t>(read.sourceWidth);
  const uint32_t outWidth = static_cast<uint32_t>(read.outputWidth);
  const uint32_t row = static_cast<uint32_t>(read.outputLinesMade);
  uint8_t* queue = read.outputBuffer->data;
  const uint8_t* source = read.sourceBuffer->data;
  if (read.lineArt) {
    made = ResampleLineArt(source, queue, output, sourceLines, 0, width, row, lines, outWidth);
  } else if (sixteen) {
    auto* source16 = reinterpret_cast<const uint16_t*>(source);
    auto* queue16 = reinterpret_cast<uint16_t*>(queue);
    auto* output16 = reinterpret_cast<uint16_t*>(output);
    made = read.channels == 3 ? ResampleRgb16(source16, queue16, output16, sourceLines, 0, width, row, lines, outWidth)
                              : ResampleGrey16(source16, queue16, output16, sourceLines, 0, width, row, lines, outWidth);
  } else {
    made = read.channels == 3 ? ResampleRgb8(source, queue, output, sourceLines, 0, width, row, lines, outWidth)
                              : ResampleGrey8(source, queue, output, sourceLines, 0, width, row, lines, outWidth);
  }
  read.sourceLinesRead += static_cast<int32_t>(sourceLines);
  read.outputLinesMade += static_cast<int32_t>(made);
  *linesMade = made;
  return true;
}

}  // namespace

bool CloseImageDevice() {
  DeviceReadState& read = gDeviceLayer.read;
  if (read.cmsModeReplaced) SetDefault<int16_t>(gDefaults, kDefaultInputCmsMode, read.replacedCmsMode);
  read.cmsModeReplaced = false;
  read.greyFromPlanes = false;
  FreeIntermediateState();
  read.intermediateLines = std::vector<uint16_t>();
  if (read.resampling) ResampleTeardown();
  read.resampling = false;
  gSourceLineRead = SourceLineRead{};
  if (read.sourceBuffer) DisposeMemHandle(read.sourceBuffer);
  if (read.outputBuffer) DisposeMemHandle(read.outputBuffer);
  read.sourceBuffer = read.outputBuffer = nullptr;
  if (read.reader) {
    read.reader->FinishReading();
    read.reader.reset();
  }
  return true;
}
