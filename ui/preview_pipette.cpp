#include "ui/preview_pipette.h"

#include <cstring>

#include "foundation/dialogs/alerts.h"
#include "foundation/memory.h"
#include "foundation/system.h"
#include "frames/frame_region_paint.h"
#include "records/defaults_block.h"
#include "session/preview_store.h"
#include "state/data_source_state.h"
#include "tone/curve_tables.h"
#include "tone/point_marker_set.h"
#include "tone/table_utils.h"
#include "tone/tone_curve.h"
#include "tone/tone_working_copy.h"
#include "ui/frame_mouse_edit.h"
#include "ui/palette_state.h"
#include "ui/preview_geometry.h"

namespace {

constexpr int kVirtualKeyShift = 0x10;
constexpr uint32_t kBlackPointTooBright = 103;  // "Schwarzpunkt hoher Helligkeit.\nFortfahren?"
constexpr uint32_t kWhitePointTooDark = 102;    // "Weißpunkt geringer Helligkeit.\nFortfahren?"
constexpr uint32_t kNeutralConflict = 145;
constexpr int kEndPointDistance = 20;

// Half the width of the neutral points' markers, 1 when the set cannot be made.
int16_t NeutralMarkerHalfWidth() {
  PointMarkerSet markers(kNeutralPointMarkerIds, kNeutralPointMarkers);
  return markers.count() > 0 ? markers.MarkerHalfWidth() : 1;
}

bool Confirmed(uint32_t textId) {
  return ShowAlert(GetModuleInstance(), kErrorCaptionString, textId, true, nullptr) == kAnswerYes;
}

// The neutral point's target grey: the fixed value when switched on, else the
// sample through the frame's corrections without its fixed points.
double NeutralTarget(const FrameRecord& frame, const uint8_t base[3]) {
  if (GetDefault(gDefaults, kDefaultMidPipetteTargetOn))
    return (100 - GetDefault(gDefaults, kDefaultMidPipetteTarget)) * 0.01 * 255.0;
  FrameRecord copy = frame;
  for (ToneBlock& block : copy.tone) std::memset(block.fixedPointValues, 0, sizeof block.fixedPointValues);
  uint8_t r = base[0], g = base[1], b = base[2];
  ApplyFrameCorrectionsToColor(&r, &g, &b, copy, RegionPaintOptions{0});
  return (r + g + b) * (1.0 / 3);
}

void ClearNeutralPoints(FrameRecord* frame, int first, int last) {
  std::memset(frame->fixedPoints, 0, sizeof frame->fixedPoints);
  for (int c = first; c <= last; ++c)
    std::memset(frame->tone[c].fixedPointValues, 0, sizeof frame->tone[c].fixedPointValues);
}

void SetNeutralPoint(FrameRecord* frame, const DensitometerSample& sample, const int v[4], double target, int first,
                     int last, int16_t markerHalfWidth) {
  ToneCurve curve(kFrameCurvePoints);
  if (curve.capacity() < 1) return;
  LoadCurvePointsFromFrame(frame, &curve);
  CurvePoint point{};
  const double width = RectWidth(sample.baseRect);
  const double height = RectHeight(sample.baseRect);
  point.x = (sample.x - sample.baseRect.left) / width;
  point.y = (sample.y - sample.baseRect.top) / height;
  if (gPreviewZoomed) {
    point.x = (point.x * gZoomBox.width + gZoomBox.x) / gScanAreaInches.width;
    point.y = (point.y * gZoomBox.height + gZoomBox.y) / gScanAreaInches.height;
  }
  const uint8_t t = static_cast<uint8_t>(static_cast<int>(target));
  for (int c = first; c <= last; ++c) {
    uint8_t table[kCurveTableBytes];
    point.source[c] = v[c] * (1.0 / 255);
    BuildChannelCurveTable(table, frame, static_cast<int16_t>(c));
    point.target[c] = InverseLookup8(table, t, 255) * (1.0 / 255);
  }
  const double dx = markerHalfWidth / width;
  const double dy = markerHalfWidth / height;
  // A click on a point removes it; one near a point puts the new one in its place.
  int16_t hit = curve.FindNearestCurvePoint(point.x, point.y, dx * 0.5, dy * 0.5);
  if (hit >= 0) {
    curve.ClearCurvePoint(hit);
    StoreCurvePointsToFrame(&curve, frame);
    return;
  }
  hit = curve.FindNearestCurvePoint(point.x, point.y, dx, dy);
  if (hit >= 0) {
    curve.ClearCurvePoint(hit);
    StoreCurvePointsToFrame(&curve, frame);
  }
  if (curve.AddCurvePoint(&point))
    StoreCurvePointsToFrame(&curve, frame);
  else
    ShowAlert(GetModuleInstance(), kErrorCaptionString, kNeutralConflict, false, nullptr);
}

}  // namespace

bool ApplyPipetteToFrame(FrameRecord* frame, uint16_t kind, const DensitometerSample& sample,
                         int16_t markerHalfWidth) {
  uint8_t colour[3];
  for (int i = 0; i < 3; ++i) colour[i] = frame->invert ? static_cast<uint8_t>(255 - sample.base[i]) : sample.base[i];
  const int average = (colour[0] + colour[1] + colour[2] + 1) / 3;
  const int v[4] = {average, colour[0], colour[1], colour[2]};
  const double target = NeutralTarget(*frame, sample.base);

  const bool black = kind == kPipetteBlack;
  const bool neutral = kind == kPipetteNeutral;
  if (black && average > 102.0 && !Confirmed(kBlackPointTooBright)) return false;
  if (!black && !neutral && average < 153.0 && !Confirmed(kWhitePointTooDark)) return false;

  const bool rgb = frame->colorMode == 2;
  const int first = rgb ? 1 : 0;
  const int last = rgb ? 3 : 0;
  if (neutral) {
    SetNeutralPoint(frame, sample, v, target, first, last, markerHalfWidth);
    return true;
  }

  int blackAt[4];
  int whiteAt[4];
  for (int c = 0; c < 4; ++c) {
    const ToneBlock& block = frame->tone[c];
    blackAt[c] = v[c] < block.inputHigh ? v[c] : block.inputHigh - kEndPointDistance;
    whiteAt[c] = v[c] > block.inputLow ? v[c] : block.inputLow + kEndPointDistance;
    if (whiteAt[c] > 255) whiteAt[c] = 255;
  }
  if (rgb && IsKeyDown(kVirtualKeyShift)) {
    int darkest = 256;
    int brightest = 0;
    for (int c = 1; c <= 3; ++c) {
      if (blackAt[c] < darkest) darkest = blackAt[c];
      if (whiteAt[c] > brightest) brightest = whiteAt[c];
    }
    for (int c = 1; c <= 3; ++c) {
      if (black) blackAt[c] = darkest;
      else whiteAt[c] = brightest;
    }
  }

  ClearNeutralPoints(frame, first, last);
  for (int c = first; c <= last; ++c) {
    ToneBlock& block = frame->tone[c];
    if (black) {
      block.inputLow = static_cast<int16_t>(blackAt[c]);
      if (block.inputHigh < block.inputLow) block.inputHigh = block.inputLow;
      block.outputLow = static_cast<int16_t>(GetDefault(gDefaults, kDefaultShadowTargetInverse) * 256 / 100);
      block.endLow = 0;
    } else {
      block.inputHigh = static_cast<int16_t>(whiteAt[c]);
      if (block.inputLow > block.inputHigh) block.inputLow = block.inputHigh;
      block.outputHigh = static_cast<int16_t>(255 - GetDefault(gDefaults, kDefaultHighlightTargetPercent) * 256 / 100);
      block.endHigh = 255;
    }
  }
  return true;
}

void ApplyPreviewPipette(WinPoint press, FrameEditView& view) {
  FrameRecord* frame = gCurrentFrame;
  if (!frame || !SampleDensitometerAtPreviewPoint(press)) return;
  if (!ApplyPipetteToFrame(frame, gPipetteKind, gDensitometer, NeutralMarkerHalfWidth())) return;
  LoadToneWorkingCopy();
  if (!GetDefault(gDefaults, kDefaultLivePreview)) return;
  view.DrawAllFrames();
  const FrameRecord copy = *frame;
  RefreshPreviewAfterFrameChange(copy, false, true, 0, view);
  view.DrawAllFrames();
}
