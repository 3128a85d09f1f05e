#include "frames/frame_record_upgrade.h"

#include <cstddef>
#include <cstring>

#include "foundation/fixed_point.h"

namespace {

uint16_t ReadU16(const uint8_t* bytes, size_t offset) {
  uint16_t value;
  std::memcpy(&value, bytes + offset, sizeof value);
  return value;
}

}  // namespace

uint32_t FrameRecordSizeOfVersion(uint32_t version) {
  switch (version) {
    case 1: return 1608;
    case 3: return 2080;
    case 4: return 1752;
    case 5: return 1756;
    case 6: return kFrameRecordSize;
    default: return 0;
  }
}

bool UpgradeFrameRecord(const void* old, uint32_t available, FrameRecord* out, uint32_t* oldSize) {
  const uint8_t* bytes = static_cast<const uint8_t*>(old);
  uint32_t version = 0;
  if (available >= sizeof version) std::memcpy(&version, bytes, sizeof version);
  const uint32_t size = FrameRecordSizeOfVersion(version);
  if (size == 0 || size > available) {
    if (oldSize) *oldSize = 0;
    return false;
  }
  if (oldSize) *oldSize = size;
  std::memset(out, 0, sizeof(FrameRecord));
  std::memcpy(out, bytes, size);
  if (version == kFrameRecordVersion) return false;

  if (version == 1) {
    out->selectiveColorMode = 1;
    std::memset(out->colorMatrix12, 0, sizeof out->colorMatrix12);
    out->scalesFollowList = 0;
    out->focusValue = 0;
    out->dustRemoval = 0;
    out->multiScan = 0;
  } else if (version == 3) {
    // Version 3 kept these two options one byte lower.
    out->focusValue = 0;
    out->dustRemoval = bytes[offsetof(FrameRecord, dustRemoval) - 1];
    out->multiScan = bytes[offsetof(FrameRecord, multiScan) - 1];
  }
  if (version != 5) {
    out->fixedScaleX = FixRatio16(static_cast<int16_t>(out->scanPercentX), 1);
    out->fixedScaleY = FixRatio16(static_cast<int16_t>(out->scanPercentY), 1);
  }
  std::memset(out->maskName, 0, sizeof out->maskName);
  std::memset(out->clearedOnUpgrade, 0, sizeof out->clearedOnUpgrade);
  out->version = kFrameRecordVersion;
  return true;
}

void ConvertOldFrameRecord(const OldFrameRecord* old, FrameRecord* out, const DefaultsBlock& defaults) {
  const uint8_t* bytes = old->bytes;
  std::memset(out, 0, sizeof(FrameRecord));
  std::memcpy(out, bytes, kOldFrameHeadSize);
  for (int k = 0; k < 4; ++k) {
    OldToneBlock block;
    std::memcpy(block.bytes, bytes + kOldToneBlockOffsets[k], sizeof block.bytes);
    UpgradeToneBlock(&block, &out->tone[k]);
  }
  std::memcpy(out->defaultSettings, bytes + kOldDefaultSettings, sizeof out->defaultSettings);
  out->invert = bytes[kOldInvert];
  out->colorToolActive = bytes[kOldToolFlags];
  out->gradationToolActive = bytes[kOldToolFlags + 1];
  out->histogramToolActive = bytes[kOldToolFlags + 2];
  out->focusMode = bytes[kOldToolFlags + 3];
  std::memcpy(out->focusRect, bytes + kOldFocusRect, sizeof out->focusRect);
  out->mirrorH = bytes[kOldMirrorH];
  out->mirrorV = bytes[kOldMirrorV];
  out->quarterTurns = ReadU16(bytes, kOldQuarterTurns);
  out->autoLampBrightness = bytes[kOldLampToImageType];
  out->fourthToolActive = bytes[kOldLampToImageType + 1];
  out->sharpenFlag = bytes[kOldLampToImageType + 2];
  out->imageType = bytes[kOldLampToImageType + 3];
  out->sharpen1488 = ReadU16(bytes, kOldSharpen1488);
  out->sharpen1490 = ReadU16(bytes, kOldSharpen1490);
  out->scanPercentX = ReadU16(bytes, kOldScanPercentX);
  out->scanPercentY = ReadU16(bytes, kOldScanPercentY);
  out->fixedScaleX = FixRatio16(static_cast<int16_t>(out->scanPercentX), 1);
  out->fixedScaleY = FixRatio16(static_cast<int16_t>(out->scanPercentY), 1);
  out->scanOriginX = out->oldOriginX;
  out->scanOriginY = out->oldOriginY;
  out->version = kFrameRecordVersion;
  out->selectiveColorMode = GetDefault(defaults, kDefaultSelectiveColorMode);
  std::memcpy(out->colorMatrix12, DefaultsBytes(defaults, kDefaultColorMatrix12), sizeof out->colorMatrix12);
}
