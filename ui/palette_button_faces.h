// What the palette's Scan, Prescan and Option buttons show, and which tool
// buttons a frame lets act.
#pragma once

#include <cstdint>

struct FrameRecord;

// Button 1017's face: the string and the bitmap drawn on it.
struct ScanButtonFace {
  uint16_t textId;
  uint16_t imageId;
};

struct ScanButtonInputs {
  bool editingJobEntry;     // a job entry's frame is loaded for editing
  bool batch;               // every frame goes out in one run
  bool cmsOutput;           // colour management shapes the output
  int16_t outputCmsMode;    // 4: L*a*b* output
  const FrameRecord* frame;
};

ScanButtonFace ScanButtonFaceFor(const ScanButtonInputs& in);
// Button 1019: 601 "Reset" with Alt, 401 "Reset All" with Shift and without
// Ctrl while not zoomed, else 600 "Option".
uint16_t OptionButtonTextId(bool alt, bool shift, bool control, bool zoomed);
// Button 1012: 25 "Prescan" while a job entry is edited or while the Alt state
// differs from the zoom state, else 26 "Öffnen".
uint16_t PrescanButtonTextId(bool editingJobEntry, bool alt, bool zoomed);

// The face last built; true (and remembered) when the new one differs, so
// the bitmap is rebuilt only then. reset forgets the last face.
bool ScanButtonFaceChanged(const ScanButtonFace& face, bool reset);

// Whether a press on the palette's tool button acts for the frame: 1059 and
// 1060 always; 1058 and 1061-1066 for 8-bit frames and 16-bit frames outside
// the ZIR scan types; 1063 also for line art.
bool ToolButtonActsOn(uint16_t id, const FrameRecord& frame);
// The order in which a press on any tool button is tried.
constexpr uint16_t kToolButtonOrder[] = {1058, 1060, 1061, 1062, 1063, 1064, 1065, 1066};
