// The six-colour selective colour correction: a 6 x 6 matrix of percentages
// (source colour x target colour) turned into one lookup table per non-zero
// cell and applied to RGB pixels in CMY space, optionally inside the frame's
// mask. Colour index: 0 red, 1 green, 2 blue, 3 cyan, 4 magenta, 5 yellow.
#pragma once

#include <cstddef>
#include <cstdint>

#include "foundation/geometry.h"
#include "foundation/memory.h"

struct MaskRegion;

constexpr int kSelectiveColors = 6;
constexpr int kSelectiveCells = kSelectiveColors * kSelectiveColors;

// One non-zero cell: table[i] = trunc(i x gain + 0.5) kept as signed 16-bit
// values in two's complement (saturated at the i16 limits); gain = percent x 0.01.
struct SelectiveColorLut {
  uint32_t source;
  uint32_t target;
  uint16_t table[256];
  float gain;
};
static_assert(sizeof(SelectiveColorLut) == 524 && offsetof(SelectiveColorLut, table) == 8 &&
                  offsetof(SelectiveColorLut, gain) == 520,
              "source, target, table, gain");

struct SelectiveColorLutSet {
  uint16_t entryCount;     // entries in use, 0-36
  MemHandle entries;       // room for 36 entries, kept for later builds
  MaskRegion* maskRegion;  // frame-relative; null: every pixel is corrected
};

// The frame set (rebuilt before each use from the frame's matrix and mask)
// and the film set (the default matrix, never masked).
extern SelectiveColorLutSet gSelectiveFrameSet;
extern SelectiveColorLutSet gSelectiveFilmSet;
// The film set, built from the default matrix first when ResetSelectiveColor
// asked for it; its users take it through here.
const SelectiveColorLutSet& FilmSelectiveSet();

// The film set's matrix, row = source colour, column = target colour.
extern const int16_t kDefaultSelectiveMatrix[kSelectiveCells];

// The six-colour page's state that ResetSelectiveColor starts afresh.
struct SixColourPageState {
  int32_t wheelScale;   // percent at the wheel's rim
  uint16_t currentColour;
  uint8_t selected[kSelectiveColors];
  uint8_t allTargets;
  void* wheelBitmap;    // the page's bitmap of the wheel, or null
};
extern SixColourPageState gSixColourPage;

// Builds the set's entries from matrix, then its mask region (when entries
// exist and maskName and frameRect are both given). 0, -108 when the table
// block cannot be had (set unchanged), or the region builder's status.
int32_t BuildSelectiveColorLuts(const int16_t matrix[kSelectiveCells], SelectiveColorLutSet* set,
                                const char* maskName, const WinRect* frameRect, uint8_t toPreview);

// Corrects pixelCount pixels: red of pixel k at in[k x pixelStep], green at
// + channelOffset, blue at + 2 x channelOffset; out addressed alike (may be
// in). x0, y: the frame-relative place of the first pixel in maskSet's region
// (null maskSet: no mask). Pixels outside the region are copied unchanged.
void ApplySelectiveColor8(const uint8_t* in, uint8_t* out, const SelectiveColorLut* entries, uint16_t entryCount,
                          uint16_t pixelCount, uint16_t pixelStep, int16_t channelOffset, uint16_t x0, uint16_t y,
                          const SelectiveColorLutSet* maskSet);
void ApplySelectiveColor16(const uint16_t* in, uint16_t* out, const SelectiveColorLut* entries, uint16_t entryCount,
                           uint16_t pixelCount, uint16_t pixelStep, uint16_t channelOffset, uint16_t x0, uint16_t y,
                           const SelectiveColorLutSet* maskSet);

// The set's entries (null without a table block).
const SelectiveColorLut* SelectiveColorEntries(const SelectiveColorLutSet& set);

// Empties the frame set, starts the six-colour page's state afresh, has the
// film set built anew from the default matrix (on its first use: most
// sessions never correct a film negative, and every block a session takes
// and gives back costs the host's heap) and starts the colour calibration.
void ResetSelectiveColor();
// Drops the frame set's mask region, releases both table blocks and the calibration state.
void FreeSelectiveColorLuts();
