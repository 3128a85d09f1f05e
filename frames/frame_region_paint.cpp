#include "frames/frame_region_paint.h"

#include <algorithm>

#include "frames/frame_color_steps.h"
#include "tone/curve_tables.h"
#include "tone/gamma_tables.h"
#include "tone/tone_engine_state.h"

namespace {

constexpr uint32_t kColorModeGrey = 0;
constexpr int32_t kLatticeSide = 32;

bool KeepsUnprocessed(const FrameRecord& f) { return f.bitsPerChannel == 16 && f.bitDepthChoice != 0; }

void CurveTable(uint8_t table[kCurveTableBytes], FrameRecord* frame, int16_t channel) {
  BuildCurveTable(table, frame->tone[channel], frame->invert, frame, channel);
}

// The line-art level: 128 + w, or 128 - w when neither the frame nor the
// original is inverted (w the master block's brightness), kept within 0-255.
int LineArtLevel(const FrameRecord& frame) {
  const int w = frame.tone[0].brightness;
  const bool inverted = frame.invert != 0 || ToneNegativeOriginal();
  return std::clamp(inverted ? 128 + w : 128 - w, 0, 255);
}

// The preview's threshold: the level's entry of the mode's gamma table.
uint8_t LineArtThreshold(FrameRecord* frame) {
  uint16_t table[256];
  BuildGammaTableForMode(table, 256, CurrentGamma(), 0, 1, frame);
  return static_cast<uint8_t>(std::min<uint16_t>(table[LineArtLevel(*frame)], 255));
}

// Average at or above t: white; else black.
void ThresholdTable(uint8_t table[256], uint8_t t) {
  for (int i = 0; i < 256; ++i) table[i] = i >= t ? 255 : 0;
}

// The rectangle's pixels of a 24- or 32-bit bitmap (cut at its edges); an empty block otherwise.
BitmapPixels AreaPixels(GlobalDib dib, const WinRect& rect) {
  const int32_t bytes = dib->bitCount / 8;
  if (dib->bitCount != 24 && dib->bitCount != 32) return BitmapPixels{nullptr, 0, 0, 0, 0};
  const int32_t left = std::max(rect.left, 0), top = std::max(rect.top, 0);
  const int32_t right = std::min(rect.right, GlobalDibWidth(dib));
  const int32_t bottom = std::min(rect.bottom, GlobalDibHeight(dib));
  const uint32_t stride = GlobalDibStride(dib);
  uint8_t* first = GlobalDibBits(dib) + static_cast<size_t>(top) * stride + static_cast<size_t>(left) * bytes;
  return BitmapPixels{first, stride, right - left, bottom - top, bytes};
}

// The whole lattice as one run of its 32768 entries.
BitmapPixels LatticePixels() {
  const int32_t entries = kLatticeSide * kLatticeSide * kLatticeSide;
  return BitmapPixels{GlobalDibBits(gPreviewLattice), static_cast<uint32_t>(entries) * 4, entries, 1, 4};
}

}  // namespace

bool BuildPreviewLattice() {
  if (!gPreviewLattice) gPreviewLattice = CreateGlobalDib(kLatticeSide * kLatticeSide, kLatticeSide, 32, true);
  if (!gPreviewLattice) return false;
  uint8_t* entry = GlobalDibBits(gPreviewLattice);
  for (int r = 0; r < kLatticeSide; ++r)
    for (int g = 0; g < kLatticeSide; ++g)
      for (int b = 0; b < kLatticeSide; ++b, entry += 4) {
        entry[0] = static_cast<uint8_t>(3 + 8 * b);
        entry[1] = static_cast<uint8_t>(3 + 8 * g);
        entry[2] = static_cast<uint8_t>(3 + 8 * r);
        entry[3] = 0;
      }
  return true;
}

void PaintFrameRegion(GlobalDib shown, const FrameRecord& source, const WinRect& rect,
                      const RegionPaintOptions& options) {
  FrameRecord frame = source;
  const int32_t l = rect.left, t = rect.top, r = rect.right, b = rect.bottom;
  if (KeepsUnprocessed(frame)) {
    if (frame.colorMode == kColorModeRgb) return;
    if (frame.invert) InvertGlobalDibRect(shown, l, t, r, b);
    uint8_t identity[256];
    for (int i = 0; i < 256; ++i) identity[i] = static_cast<uint8_t>(i);
    MapGlobalDibToGrey(shown, options.greyChannel, identity, l, t, r, b);
    return;
  }
  if (gPreviewLatticeMode == 99) BuildPreviewLattice();
  uint8_t tables[3][kCurveTableBytes];
  if (frame.colorMode == kColorModeGrey && frame.bitsPerChannel > 1) {
    CurveTable(tables[0], &frame, 0);
    if (frame.invert) InvertGlobalDibRect(shown, l, t, r, b);
    MapGlobalDibToGrey(shown, options.greyChannel, tables[0], l, t, r, b);
    return;
  }
  if (frame.colorMode != kColorModeRgb) {
    ThresholdTable(tables[0], LineArtThreshold(&frame));
    MapGlobalDibToGrey(shown, 0, tables[0], l, t, r, b);
    if (frame.invert) InvertGlobalDibRect(shown, l, t, r, b);
    return;
  }
  for (int16_t c = 0; c < 3; ++c) CurveTable(tables[c], &frame, static_cast<int16_t>(c + 1));
  if (frame.invert) InvertGlobalDibRect(shown, l, t, r, b);
  // The colour steps go into the lattice while it is built and come with it
  // while it is used; only without it do they run over the image.
  if (gPreviewLatticeMode == 99 && gPreviewLattice) ApplyFrameColorSteps(frame, LatticePixels(), nullptr);
  ApplyLutsToGlobalDibRect(shown, tables[0], tables[1], tables[2], l, t, r, b);
  const BitmapPixels area = AreaPixels(shown, rect);
  if (gPreviewLatticeMode == 0) ApplyFrameColorSteps(frame, area, &rect);
  if (UsesOutputConversion()) ApplySoftProof(area);
}

void ApplyFrameCorrectionsToColor(uint8_t* r, uint8_t* g, uint8_t* b, const FrameRecord& source,
                                  const RegionPaintOptions& options) {
  FrameRecord frame = source;
  uint8_t table[kCurveTableBytes];
  const uint8_t rgb[3] = {*r, *g, *b};
  const uint8_t average = static_cast<uint8_t>((rgb[0] + rgb[1] + rgb[2]) / 3);
  if (frame.colorMode == kColorModeGrey && frame.bitsPerChannel == 8) {
    CurveTable(table, &frame, 0);
    const int channel = std::clamp(options.greyChannel, 0, 3);
    *r = *g = *b = table[channel == 0 ? average : rgb[channel - 1]];
    return;
  }
  if (frame.colorMode != kColorModeRgb) {
    uint8_t v = average >= LineArtLevel(frame) ? 255 : 0;
    if (frame.invert) v = static_cast<uint8_t>(255 - v);
    *r = *g = *b = v;
    return;
  }
  uint8_t* channels[3] = {r, g, b};
  for (int16_t c = 0; c < 3; ++c) {
    CurveTable(table, &frame, static_cast<int16_t>(c + 1));
    *channels[c] = table[*channels[c]];
  }
  uint8_t pixel[3] = {*b, *g, *r};
  ApplyFrameColorSteps(frame, BitmapPixels{pixel, 3, 1, 1, 3}, nullptr);
  *r = pixel[2];
  *g = pixel[1];
  *b = pixel[0];
}
