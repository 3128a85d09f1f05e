// A frame's corrections on its area of the preview: tone tables (or the
// line-art threshold, or the grey image), the colour steps of RGB frames,
// and the preview lattice that lets the tool dialogs re-render fast while a
// slider moves (built with the colour steps, then used in their place).
#pragma once

#include <cstdint>

#include "foundation/global_dib.h"
#include "records/frame_record.h"

// Which value of a pixel a grey frame shows: 0 the average of R, G and B, 1-3 one channel.
struct RegionPaintOptions {
  int greyChannel;
};

// Corrects shown inside rect (stored columns and rows; the caller has
// copied the unprocessed preview there). A 16-bit frame of the ZIR scan types
// (byte 2049 set) keeps the unprocessed pixels, a grey one turned grey.
void PaintFrameRegion(GlobalDib shown, const FrameRecord& frame, const WinRect& rect,
                      const RegionPaintOptions& options);

// The lattice of mode 99, built before the next render: entry R x 1024 + G x
// 32 + B holds 3 + 8c in each channel. False when memory is short.
bool BuildPreviewLattice();

// One colour through the same chain on a copy of the frame, for readouts and
// swatches: tone tables and the colour steps, without mask and soft proof.
void ApplyFrameCorrectionsToColor(uint8_t* r, uint8_t* g, uint8_t* b, const FrameRecord& frame,
                                  const RegionPaintOptions& options);
