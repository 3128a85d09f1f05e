// The scan-type combo (1033) and the filter combo (1032) of the frame page:
// which item shows the current frame, what a chosen item writes into it, and
// the kinds the filter combo lists.
#pragma once

#include <cstdint>
#include <vector>

#include "frames/panel_bounds.h"
#include "records/frame_record.h"

// Items of the scan-type combo, 1-based.
enum ScanTypeItem : int {
  kScanTypeColor8 = 1,
  kScanTypeGrey8 = 2,
  kScanTypeLineArt = 3,
  kScanTypeColor16 = 4,
  kScanTypeGrey16 = 5,
  kScanTypeZirColor16 = 6,
  kScanTypeZirGrey16 = 7,
};
// Their texts: 7, 8, 9 are written after the bit count; the rest stand as they are.
enum : uint32_t {
  kScanTypeColorString = 7,       // "   Bit Farbe"
  kScanTypeGreyString = 8,        // "   Bit Graustufen"
  kScanTypeLineArtString = 9,     // "   Bit Strich"
  kScanTypeColor48String = 47,    // "48 Bit Farbe"
  kScanTypeGrey16String = 48,     // "16 Bit Graustufen"
  kScanTypeZirColorString = 23,   // "48 Bit ZIR Farbe"
  kScanTypeZirGreyString = 24,    // "16 Bit ZIR Graustufen"
};

// The item that shows the frame's colour mode, depth and bit-depth choice.
int BitDepthComboIndex(const FrameRecord& frame);
// Writes the item's colour mode and depth into the frame. Line art scans
// without filter at quality factor 1; leaving line art takes the default
// frame's quality factor back. The output resolution is then bounded by the
// range at the frame's scales. True when the filter kind changed (the filter
// combo is to be selected again).
bool ApplyScanTypeChoice(FrameRecord* frame, int item, double defaultQualityFactor, const PanelLimits& limits);

// The filter kinds the device offers: "Keine" first; with automatic
// sharpening the stronger and weaker levels the device has; then unsharp
// masking, descreening and both.
std::vector<uint32_t> BuildFilterKindTable(bool automaticSharpening, int strongerLevels, int weakerLevels);
// The string of a kind's item; 0 for kinds without one (7 and 8).
uint32_t FilterKindString(uint32_t kind);
// 1-based position of the kind, 1 when it is not listed.
int FilterComboIndex(const std::vector<uint32_t>& kinds, uint32_t kind);
// The kind at a 1-based position, 1 past the table.
uint32_t FilterKindAtIndex(const std::vector<uint32_t>& kinds, int index);
