// The frame initialiser fed from the open session.
#include "frames/frame_record_init.h"
#include "frames/orientation/preview_orientation.h"
#include "state/data_source_state.h"

void InitFrameRecord(FrameRecord* record, bool fromScratch) {
  FrameInitInputs inputs = {};
  inputs.defaults = &gDefaults;
  inputs.scanAreaWidth = gScanAreaInches.width;
  inputs.scanAreaHeight = gScanAreaInches.height;
  // An image file has no filter, focus or lamp options; without the preview
  // window the focus point is the area's corner.
  inputs.mirrorH = PreviewMirrorH();
  inputs.mirrorV = PreviewMirrorV();
  inputs.quarterTurns = static_cast<uint16_t>(PreviewQuarterTurns());
  InitFrameRecordWith(record, fromScratch, inputs);
}

// Not built yet: default settings records are not loaded; the initialised record is the default.
void InitPreviewFrameRecord(FrameRecord* record) { InitFrameRecord(record, false); }
