#include "ui/palette_button_faces.h"

#include "records/frame_record.h"

namespace {

enum : uint16_t {
  kTextPrescan = 25,
  kTextOpen = 26,
  kTextResetAll = 401,
  kTextOption = 600,
  kTextReset = 601,
  kTextScanRgb = 602,
  kTextScanCmyk = 603,
  kTextScanGrey = 604,
  kTextScanLineArt = 605,
  kTextScanLab = 606,
  kTextScanBatch = 608,
  kTextSave = 609,
  kImageScan = 330,
  kImageScanLab = 331,
  kImageScanSeparated = 332,
};

ScanButtonFace gShownFace = {0, 0};

}  // namespace

ScanButtonFace ScanButtonFaceFor(const ScanButtonInputs& in) {
  const FrameRecord& f = *in.frame;
  const bool rgb = f.colorMode == 2;
  const bool labOutput = in.outputCmsMode == 4 && f.bitDepthChoice == 0;
  const bool zir16 = f.bitsPerChannel == 16 && f.bitDepthChoice != 0;
  ScanButtonFace face;
  if (in.editingJobEntry) {
    face.textId = kTextSave;
  } else if (in.batch) {
    face.textId = kTextScanBatch;
  } else if (rgb) {
    if (in.cmsOutput)
      face.textId = labOutput ? kTextScanLab : kTextScanRgb;
    else
      face.textId = zir16 ? kTextScanRgb : kTextScanCmyk;
  } else {
    face.textId = f.bitsPerChannel == 1 ? kTextScanLineArt : kTextScanGrey;
  }
  if (!rgb && !in.batch)
    face.imageId = kImageScan;
  else if (in.cmsOutput)
    face.imageId = labOutput ? kImageScanLab : kImageScan;
  else
    face.imageId = zir16 && !in.batch ? kImageScan : kImageScanSeparated;
  return face;
}

uint16_t OptionButtonTextId(bool alt, bool shift, bool control, bool zoomed) {
  if (alt) return kTextReset;
  if (shift && !control && !zoomed) return kTextResetAll;
  return kTextOption;
}

uint16_t PrescanButtonTextId(bool editingJobEntry, bool alt, bool zoomed) {
  return editingJobEntry || alt != zoomed ? kTextPrescan : kTextOpen;
}

bool ScanButtonFaceChanged(const ScanButtonFace& face, bool reset) {
  if (reset) gShownFace = ScanButtonFace{0, 0};
  if (face.textId == gShownFace.textId && face.imageId == gShownFace.imageId) return false;
  gShownFace = face;
  return true;
}

bool ToolButtonActsOn(uint16_t id, const FrameRecord& frame) {
  const uint8_t bits = frame.bitsPerChannel;
  const bool tonal = bits == 8 || (bits == 16 && frame.bitDepthChoice == 0);
  switch (id) {
    case 1059:
    case 1060:
      return true;
    case 1063:
      return tonal || bits == 1;
    case 1058:
    case 1061:
    case 1062:
    case 1064:
    case 1065:
    case 1066:
      return tonal;
    default:
      return false;
  }
}
