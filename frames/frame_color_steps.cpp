#include "frames/frame_color_steps.h"

#include "color/color_calibration.h"
#include "color/color_cubes.h"
#include "color/color_management.h"
#include "color/color_profile_set.h"
#include "color/matrix12_presets.h"
#include "color/row_corrections.h"
#include "color/selective_color.h"
#include "color/soft_proof_cube.h"
#include "foundation/memory.h"
#include "records/defaults_block.h"
#include "state/data_source_state.h"
#include "tone/tone_engine_state.h"

namespace {

// The frame's area is given in the pixels of the displayed preview, zoomed
// or not: its mask needs no further way into the zoomed preview.
constexpr uint8_t kAreaInShownPixels = 0;

// The engines take rows of at most 65535 pixels; a preview row is far shorter.
uint16_t RowWidth(const BitmapPixels& pixels) { return static_cast<uint16_t>(pixels.width); }
uint16_t Step(const BitmapPixels& pixels) { return static_cast<uint16_t>(pixels.pixelBytes); }
uint8_t* Row(const BitmapPixels& pixels, int32_t y) { return pixels.first + static_cast<size_t>(y) * pixels.stride; }

void ScannerTransform(const BitmapPixels& pixels) {
  uint8_t* scratch = static_cast<uint8_t*>(AllocLineBuffer(RowWidth(pixels)));
  for (int32_t y = 0; y < pixels.rows; ++y)
    TranslateLine8(Row(pixels, y), Row(pixels, y), RowWidth(pixels), Step(pixels), kBitmapXrgbQuads, scratch);
  FreeBlock(scratch);
}

// Red first, green and blue at -1 and -2: the engines' channel order over
// bitmap pixels. The first pixel is the frame area's top-left, where masks
// (frame-relative) start.
void ThroughCube(const BitmapPixels& pixels, MemHandle cube, const ColorMatrixLutSet* mask) {
  const int16_t step = static_cast<int16_t>(pixels.pixelBytes);
  for (int32_t y = 0; y < pixels.rows; ++y) {
    uint8_t* red = Row(pixels, y) + 2;
    ApplyColorCube8(red, red, cube, pixels.width, step, -1, step, -1, 0, static_cast<uint16_t>(y), mask);
  }
}

void SelectiveColour(const FrameRecord& frame, const BitmapPixels& pixels, const WinRect* area) {
  const char* mask = frame.maskName[0] && area ? frame.maskName : nullptr;
  BuildSelectiveColorLuts(frame.selectiveColorMatrix, &gSelectiveFrameSet, mask, area, kAreaInShownPixels);
  const SelectiveColorLut* entries = SelectiveColorEntries(gSelectiveFrameSet);
  if (!entries || gSelectiveFrameSet.entryCount == 0) return;
  for (int32_t y = 0; y < pixels.rows; ++y) {
    uint8_t* red = Row(pixels, y) + 2;
    ApplySelectiveColor8(red, red, entries, gSelectiveFrameSet.entryCount, RowWidth(pixels), Step(pixels), -1, 0,
                         static_cast<uint16_t>(y), area ? &gSelectiveFrameSet : nullptr);
  }
}

void TwelveColourMatrix(const FrameRecord& frame, const BitmapPixels& pixels, const WinRect* area) {
  const char* mask = frame.maskName[0] && area ? frame.maskName : nullptr;
  BuildColorMatrixLuts(frame.colorMatrix12, &gRegionMatrixSet, mask, area, kAreaInShownPixels);
  if (!gRegionMatrixSet.enabled) return;
  const MemHandle cube = ColorMatrix12Cube();
  BakeColorMatrixIntoCube(cube, &gRegionMatrixSet);
  ThroughCube(pixels, cube, area ? &gRegionMatrixSet : nullptr);
}

}  // namespace

void ApplyFrameColorSteps(const FrameRecord& frame, const BitmapPixels& pixels, const WinRect* frameArea) {
  if (pixels.width <= 0 || pixels.rows <= 0) return;
  const uint16_t inputMode = InputColorManagementMode();
  if (gIcmEnabled && inputMode == kInputColorScannerProfiles && IsScannerTransformReady()) ScannerTransform(pixels);
  if (inputMode == kInputColorCalibration && !ToneNegativeOriginal())
    ThroughCube(pixels, CalibrationCube8(), nullptr);
  if (!GetDefault(gDefaults, kDefaultColorCorrectionOn)) return;
  if (frame.selectiveColorMode == 1) SelectiveColour(frame, pixels, frameArea);
  else TwelveColourMatrix(frame, pixels, frameArea);
}

bool UsesOutputConversion() {
  const uint16_t mode = gColorProfileSet.cmykMode;
  return gOutputConversionView && (mode == 2 || mode == 5);
}

void ApplySoftProof(const BitmapPixels& pixels) {
  MemHandle cube = nullptr;
  BuildSoftProofCube(&cube);
  if (cube) ThroughCube(pixels, cube, nullptr);
  if (cube) DisposeMemHandle(cube);
}
