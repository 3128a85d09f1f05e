#include "output/output_checks.h"

#include <cstring>

#include "foundation/paths.h"
#include "frames/frame_list.h"
#include "output/output_names.h"
#include "records/defaults_block.h"
#include "records/frame_record.h"
#include "state/data_source_state.h"

namespace {

// The output colour management's L*a*b* mode.
constexpr int16_t kOutputCmsModeLab = 4;

}  // namespace

bool CanFormatHoldFrame(int32_t format, const FrameRecord& frame, bool outputStaysRgb, uint32_t* messageId) {
  if (messageId) *messageId = 0;
  uint32_t refusal = 0;
  // The JPEG and PostScript writers take RGB or CMYK samples: L*a*b* bands would come out as wrong colours.
  const bool lab = frame.colorMode == 2 && GetDefault(gDefaults, kDefaultOutputCmsMode) == kOutputCmsModeLab;
  switch (format) {
    case kFormatDcs:
      if (frame.colorMode != 2 || frame.bitsPerChannel != 8 || outputStaysRgb) refusal = kDcsCmykOnlyString;
      break;
    case kFormatEpsf:
      if (frame.bitsPerChannel == 1 || frame.bitsPerChannel == 16) refusal = kEpsfDepthString;
      break;
    case kFormatJpeg:
      if (frame.bitsPerChannel == 1) refusal = kJpegLineArtString;
      break;
    default:
      break;
  }
  const bool labRefused = format == kFormatJpeg || format == kFormatDcs || format == kFormatEpsf;
  if (lab && labRefused) refusal = kLabOutputString;
  if (messageId) *messageId = refusal;
  return refusal == 0;
}

bool CanFormatHoldFrames(int32_t format) {
  const bool staysRgb = GetDefault(gDefaults, kDefaultThreeChannelOutput) != 0;
  if (!gBatchOutput) return !gCurrentFrame || CanFormatHoldFrame(format, *gCurrentFrame, staysRgb, nullptr);
  for (const FrameListNode* node = FrameListHead(); node; node = node->next)
    if (!CanFormatHoldFrame(format, node->frame, staysRgb, nullptr)) return false;
  return true;
}

namespace {

// The drive's root ("C:\"), or for a path without a drive its folder.
void FreeSpaceRoot(const char* path, char* root) {
  if (path[0] != '\0' && path[1] == ':') {
    root[0] = path[0];
    std::strcpy(root + 1, ":\\");
    return;
  }
  std::strcpy(root, path);
  GetParentPath(root);
  if (root[0] == '\0') std::strcpy(root, ".");
}

}  // namespace

bool HasFreeSpaceFor(uint64_t bytes) {
  char path[kPathSize];
  if (!LoadOutputPath(path)) return true;
  char root[kPathSize];
  FreeSpaceRoot(path, root);
  uint64_t freeBytes = 0;
  if (!QueryFreeDiskSpace(root, &freeBytes) || (freeBytes >> 32) != 0) return true;
  return freeBytes >= bytes;
}
