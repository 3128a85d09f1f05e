#include "frames/scan_type.h"

#include "foundation/round.h"

namespace {

constexpr uint32_t kGreyMode = 0;
constexpr uint32_t kRgbMode = 2;

void SetDepth(FrameRecord* frame, uint32_t colorMode, uint8_t bits) {
  frame->colorMode = colorMode;
  frame->bitsPerChannel = bits;
}

bool ClearFilter(FrameRecord* frame) {
  const bool changed = frame->filterMode != 0;
  frame->filterMode = 0;
  return changed;
}

void ResolutionFromRuling(FrameRecord* frame) {
  frame->outputResolution = static_cast<int16_t>(TruncRound(frame->screenRuling * frame->qualityFactor));
}

}  // namespace

int BitDepthComboIndex(const FrameRecord& frame) {
  const bool zir = frame.bitDepthChoice > 0;
  if (frame.colorMode == kGreyMode) {
    if (frame.bitsPerChannel == 1) return kScanTypeLineArt;
    if (frame.bitsPerChannel == 8) return kScanTypeGrey8;
    if (frame.bitsPerChannel == 16) return zir ? kScanTypeZirGrey16 : kScanTypeGrey16;
  }
  if (frame.colorMode == kRgbMode && frame.bitsPerChannel == 16) return zir ? kScanTypeZirColor16 : kScanTypeColor16;
  return kScanTypeColor8;
}

bool ApplyScanTypeChoice(FrameRecord* frame, int item, double defaultQualityFactor, const PanelLimits& limits) {
  const bool wasLineArt = frame->bitsPerChannel == 1;
  bool filterChanged = false;
  switch (item) {
    case kScanTypeColor8: SetDepth(frame, kRgbMode, 8); break;
    case kScanTypeGrey8: SetDepth(frame, kGreyMode, 8); break;
    case kScanTypeLineArt:
      SetDepth(frame, kGreyMode, 1);
      filterChanged = ClearFilter(frame);
      frame->qualityFactor = 1.0;
      ResolutionFromRuling(frame);
      break;
    case kScanTypeColor16:
    case kScanTypeZirColor16:
    case kScanTypeGrey16:
    case kScanTypeZirGrey16: {
      const bool colour = item == kScanTypeColor16 || item == kScanTypeZirColor16;
      const bool zir = item == kScanTypeZirColor16 || item == kScanTypeZirGrey16;
      SetDepth(frame, colour ? kRgbMode : kGreyMode, 16);
      frame->bitDepthChoice = zir ? 1 : 0;
      if (zir) filterChanged = ClearFilter(frame);
      break;
    }
    default: return false;
  }
  if (wasLineArt && item != kScanTypeLineArt) {
    frame->qualityFactor = defaultQualityFactor;
    ResolutionFromRuling(frame);
  }
  ClampOutputResolutionToScales(frame, limits);
  return filterChanged;
}

std::vector<uint32_t> BuildFilterKindTable(bool automaticSharpening, int strongerLevels, int weakerLevels) {
  std::vector<uint32_t> kinds = {0};
  if (automaticSharpening) {
    if (strongerLevels >= 3) kinds.push_back(12);
    if (strongerLevels >= 2) kinds.push_back(11);
    if (strongerLevels >= 1) kinds.push_back(6);
    kinds.push_back(5);
    if (weakerLevels >= 1) kinds.push_back(4);
    if (weakerLevels >= 2) kinds.push_back(9);
    if (weakerLevels >= 3) kinds.push_back(10);
  }
  kinds.insert(kinds.end(), {1, 2, 3});
  return kinds;
}

uint32_t FilterKindString(uint32_t kind) {
  static constexpr uint32_t kStrings[] = {10, 11, 12, 30, 37, 38, 39, 0, 0, 43, 44, 45, 46};
  return kind < sizeof kStrings / sizeof kStrings[0] ? kStrings[kind] : 0;
}

int FilterComboIndex(const std::vector<uint32_t>& kinds, uint32_t kind) {
  for (size_t i = 0; i < kinds.size(); ++i)
    if (kinds[i] == kind) return static_cast<int>(i) + 1;
  return 1;
}

uint32_t FilterKindAtIndex(const std::vector<uint32_t>& kinds, int index) {
  if (index < 1 || index > static_cast<int>(kinds.size())) return 1;
  return kinds[index - 1];
}
