// The preview parameter record ("PSPa", device store): the frame template,
// the preview control's rectangle, the zoom factor and the scan area, as
// they were when the preview was made. Batch runs and the sharpening preview
// read it back.
#pragma once

#include <cstddef>
#include <cstdint>

#include "foundation/record_type.h"
#include "records/frame_record.h"
#include "ui/ui_rect.h"

constexpr RecordType kPreviewParamRecordType = TagFromString("PSPa");
constexpr int32_t kPreviewParamRecordId = 128;
constexpr uint32_t kPreviewParamRecordSize = 2120;

struct PreviewParamRecord {
  FrameRecord frameTemplate;
  UiRect previewRect;        // width and height exchanged under a quarter turn
  uint32_t zoomFactor;
  uint32_t reserved;
  double scanAreaWidth;      // inches
  double scanAreaHeight;
};

static_assert(sizeof(PreviewParamRecord) == kPreviewParamRecordSize, "stored size");
static_assert(offsetof(PreviewParamRecord, previewRect) == 2080, "stored layout");
static_assert(offsetof(PreviewParamRecord, zoomFactor) == 2096, "stored layout");
static_assert(offsetof(PreviewParamRecord, reserved) == 2100, "stored layout");
static_assert(offsetof(PreviewParamRecord, scanAreaWidth) == 2104, "stored layout");
static_assert(offsetof(PreviewParamRecord, scanAreaHeight) == 2112, "stored layout");

// The record of the current state: the preview control's rectangle goes in
// with width and height exchanged when the preview is turned a quarter.
PreviewParamRecord MakePreviewParam(const FrameRecord& frameTemplate, const UiRect& previewRect, uint32_t zoomFactor,
                                    double scanAreaWidth, double scanAreaHeight, bool quarterTurn);
// Replaces every stored record by this one.
bool SavePreviewParam(const PreviewParamRecord& record);
// False, with the record untouched, when the store holds no record of the size.
bool LoadPreviewParam(PreviewParamRecord* record);

// The record of the scan frame, the preview control and the scan area as they are now.
void StorePreviewParam();
// The preview made again as the record describes it: the prescan file goes,
// without keepFrames the record's frame becomes the only frame, and the
// preview buffers are filled from the image at the stored control's size for
// the record's frame area (shown as a zoom of it when it is less than the
// whole scan area). Nothing is drawn. False, with nothing changed, without a
// record; false also when no frame node could be made or the read failed.
bool RestorePreviewParam(bool keepFrames);
// Before each frame of a batch: with the document feeder, each sheet's
// preview is made again under the progress window "Bild-Automatik". True
// when nothing needed doing or the preview was made.
bool PrecheckBatchPreview();
