// The prescan and preview image store: the displayed preview and its
// uncorrected base (32-bit top-down GlobalDibs), the 16-bit preview store,
// the stored large prescan, the conversion table from 16-bit samples to the
// displayed bytes, and the preview files they are kept in.
#pragma once

#include <cstdint>

#include "foundation/geometry.h"
#include "foundation/global_dib.h"
#include "foundation/memory.h"

struct FrameRecord;

extern GlobalDib gPreviewDib;
extern GlobalDib gPreviewBaseDib;
// Only with the 16-bit store: rows of three planes (R, G, B) of 16-bit samples.
extern MemHandle gPreviewStore;
// The whole large prescan (rows of three 16-bit planes) and its size.
extern MemHandle gPrescanStore;
extern Rect16 gPrescanStoreRect;
// The 16-bit preview store is on.
extern bool gHighBitPreview;
// The preview shows the zoom box of the current frame.
extern bool gPreviewZoomed;
// The area the preview shows (x, y, width, height in frame units).
extern DRect gPrescanArea;

// Frees the buffers, then makes the two bitmaps (and with the 16-bit store
// the store, filled with 0xFF); on any failure frees all and returns false.
bool AllocPreviewBuffers(int32_t height, int32_t width);
void FreePreviewBuffers();

// Rows of three planes of width samples into (or out of) the preview store
// from its row first; a grey row is one plane, copied into all three.
bool StoreRowsIn(const uint16_t* rows, int32_t first, int32_t count, int32_t width, bool grey);
bool StoreRowsOut(uint16_t* buffer, int32_t first, int32_t count, int32_t width);

// The conversion table: one 16384-byte table per channel, indexed by the top 14 bits.
constexpr uint32_t kPreviewLutEntries = 16384;
constexpr int kPreviewLutShift = 16 - 14;
bool BuildPreviewConversionLut(FrameRecord* frame);
void FreePreviewConversionLut();
const uint8_t* PreviewConversionLut();
// destination = table[channel][sample >> 2], for 1 (grey) or 3 channels.
struct SampleLayout {
  int32_t rowStride;
  int32_t pixelStep;
  int32_t channelStep;
};
bool ApplyPreviewConversionLut(const uint16_t* source, uint8_t* destination, int32_t rows, int32_t width,
                               SampleLayout sourceLayout, SampleLayout destinationLayout, bool grey);
// The store converted into the bitmap (channel 0 into byte 2, 1 into 1, 2 into 0)
// through the table of the prescan frame.
bool RenderStoreToDib(GlobalDib dib, FrameRecord* prescanFrame);

// Nearest neighbour: the source index of destination index i.
inline int32_t NearestSourceIndex(int32_t i, int32_t sourceCount, int32_t destinationCount) {
  return static_cast<int32_t>(int64_t{i} * sourceCount / destinationCount);
}
// A 16-bit store (rows of three planes) resampled by nearest neighbour.
void ResampleStoreNearest(const uint16_t* source, int32_t sourceWidth, int32_t sourceHeight, uint16_t* destination,
                          int32_t width, int32_t height);

// One preview row from one prescan row by point sampling at every factor-th
// column: planes green, red, blue at 8 bits, red, green, blue at 16 (or one
// grey plane) into blue, green, red, 0 pixels.
void PreviewRowFromPrescan8(const uint8_t* prescanRow, int32_t prescanWidth, bool grey, int32_t factor,
                            uint8_t* pixels, int32_t previewWidth);
// The same from planes red, green, blue (as the device delivers them, or 16-bit planes converted to 8 bits).
void PreviewRowFromRgbPlanes(const uint8_t* planes, int32_t prescanWidth, bool grey, int32_t factor, uint8_t* pixels,
                             int32_t previewWidth);

// Fewer than 10000 preview pixels.
inline bool IsSmallPreviewArea(int32_t width, int32_t height) { return int64_t{width} * height < 10000; }

// The preview file of the current state (zoom file while zoomed); a short
// write deletes it. frameRect goes into a zoom file and the 16-bit header.
bool WritePreviewFile(const DRect& frameRect);
// An 8-bit preview file into a new 32-bit GlobalDib; a zoom file counts only
// when frameRect lies within the prescan area.
bool ReadPreviewFile(GlobalDib* out, const DRect& frameRect);
// The 16-bit preview file whole: its size and samples (rows of three planes).
bool ReadPreviewStoreFile(MemHandle* samples, int32_t* width, int32_t* height, const DRect& frameRect);
// The prescan file into gPrescanStore: only version 1, 3 channels, flag 0 and 16 bits.
bool LoadStoredPreview();

// The zoomed preview of the frame (rectangle in inches) cut out of the stored
// prescan file into new preview buffers of the box (the preview control's
// width x height, axes exchanged under a quarter turn): false, with
// no buffers, when the file does not fit the current prescan settings or does
// not cover the zoomed area. zoomHint: 1 when the box has more pixels than the
// prescan offers there, else 2.
bool LoadPreviewForBox(const DRect& frameRect, int32_t controlWidth, int32_t controlHeight, FrameRecord* prescanFrame,
                       uint8_t* zoomHint);

// Remakes the preview buffers at the size from the preview file (false when
// there is none: a prescan is then needed): the 8-bit
// preview stretched by the system (halftone), the 16-bit store resampled by
// nearest neighbour and rendered through the prescan frame's table.
bool MakePreviewBitmap(int32_t width, int32_t height, const DRect& frameRect, FrameRecord* prescanFrame);
