#include "session/session_image.h"

#include "foundation/fixed_point.h"
#include "frames/orientation/preview_orientation.h"
#include "records/defaults_block.h"
#include "records/frame_record.h"
#include "state/data_source_state.h"
#include "state/module_state.h"

namespace {

struct PixelLayout {
  int16_t formatCode;
  int16_t samples;
  int16_t bits;
  int16_t bytesPerSample;
};

// Output colour-management mode that selects the alternative three-sample code.
constexpr int16_t kAlternativeThreeSampleMode = 4;

PixelLayout ChooseLayout(int channelLayout, int bitsPerSample, bool highBitMode) {
  const bool fourSamples = GetDefault(gDefaults, kDefaultThreeChannelOutput) == 0;
  const bool alternative = GetDefault(gDefaults, kDefaultOutputCmsMode) == kAlternativeThreeSampleMode;
  if (channelLayout == kChannelLayoutRgb) {
    if (bitsPerSample == 16) {
      if (highBitMode) return {11, 3, 16, 2};
      if (fourSamples) return {13, 4, 16, 2};
      if (alternative) return {12, 3, 16, 2};
      return {11, 3, 16, 2};
    }
    if (fourSamples) return {4, 4, 8, 1};
    if (alternative) return {9, 3, 8, 1};
    return {3, 3, 8, 1};
  }
  if (bitsPerSample == 1) return {0, 1, 1, 1};
  if (bitsPerSample == 16) return {10, 1, 16, 2};
  return {1, 1, 8, 1};
}

}  // namespace

void SetSessionPixelLayout(int channelLayout, int bitsPerSample, bool highBitMode) {
  SessionBlock& session = *gSession;
  const PixelLayout layout = ChooseLayout(channelLayout, bitsPerSample, highBitMode);
  // Sizes up to 65535 pixels: the record's 16-bit words are read unsigned.
  const int64_t width = static_cast<uint16_t>(session.columns);
  const int64_t lines = static_cast<uint16_t>(session.rows);

  session.imageMode = layout.formatCode;
  session.planes = layout.samples;
  session.depth = layout.bits;
  session.columnBytes = layout.bytesPerSample;
  session.firstPlane = 0;
  session.lastPlane = static_cast<int16_t>(layout.samples - 1);
  if (channelLayout == kChannelLayoutRgb) {
    // Planar rows: every sample's plane row after the other; the count is one plane row.
    session.rowBytes = static_cast<int32_t>(layout.samples * layout.bytesPerSample * width);
    session.planeBytes = static_cast<int32_t>(layout.bytesPerSample * width);
  } else {
    const int64_t rowBytes = layout.bits == 1 ? (width + 7) / 8 : layout.bytesPerSample * width;
    session.rowBytes = static_cast<int32_t>(rowBytes);
    session.planeBytes = static_cast<int32_t>(rowBytes * lines);
  }
}

void FillSessionImageInfo(const FrameRecord* frame) {
  SessionBlock& session = *gSession;
  int32_t width = frame->scanPixelWidth;
  int32_t height = frame->scanPixelHeight;
  if (frame->filterMode == 2 || frame->filterMode == 3) {
    width /= 2;
    height /= 2;
  }
  const bool turned = OrientationTableRow(frame->mirrorH, frame->mirrorV, frame->quarterTurns).quarterTurn != 0;
  session.columns = static_cast<int16_t>(turned ? height : width);
  session.rows = static_cast<int16_t>(turned ? width : height);

  SetSessionPixelLayout(frame->colorMode == 2 ? kChannelLayoutRgb : kChannelLayoutOne, frame->bitsPerChannel,
                        frame->bitDepthChoice > 0);

  // The band window starts empty at the top, as wide as the frame's rows in frame order.
  session.bandTop = 0;
  session.bandBottom = 0;
  session.bandLeft = 0;
  session.bandRight = static_cast<int16_t>(width);
  const int32_t resolution = static_cast<int32_t>(frame->outputResolution) * kFixedOne;
  session.horizontalResolution = resolution;
  session.verticalResolution = resolution;
}
