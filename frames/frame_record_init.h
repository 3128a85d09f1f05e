// The initial values of a FrameRecord.
#pragma once

#include <cstdint>

#include "records/defaults_block.h"
#include "records/frame_record.h"

// What the initialiser takes from the rest of the data source: the defaults
// block, the scan area, the device layer's flags and the preview's state.
struct FrameInitInputs {
  const DefaultsBlock* defaults;
  double scanAreaWidth;             // inches
  double scanAreaHeight;
  bool deviceFilterFlag;            // initial filter mode 5, else 1
  bool deviceFocusFlag;             // initial focus mode 1, else 0
  uint8_t lampBrightnessDefault;    // the device's default, 0 when it has no such option
  double focusRect[4];              // the preview's centre pixel on the scan area, inches
  uint8_t mirrorH;                  // the current preview orientation
  uint8_t mirrorV;
  uint16_t quarterTurns;
};

// Fills the record with its defaults. From scratch, the per-colour values,
// the filter mode and the tone blocks' default pairs start neutral, and the
// scan resolutions, scan percents, focus, lamp and prescan fields keep what
// the record held. Bytes that belong to the correction tools are not written.
void InitFrameRecordWith(FrameRecord* record, bool fromScratch, const FrameInitInputs& inputs);

// The initialiser with the session's inputs: its defaults, its scan area and
// the current preview orientation.
void InitFrameRecord(FrameRecord* record, bool fromScratch);
// The default frame over the whole scan area.
void InitPreviewFrameRecord(FrameRecord* record);
// A frame drawn on the preview while no default settings record is chosen
// takes the open device's defaults: filter mode, focus mode (focus value 0
// with a focus option), the focus point rectangle given (inches) and the
// lamp brightness. False, with the frame untouched, while a record is chosen.
bool GiveDeviceDefaults(FrameRecord* record, const double focusRect[4]);
