#include "ui/tone_end_points.h"

#include <cstring>

#include "records/frame_record.h"
#include "records/tone_block.h"
#include "state/data_source_state.h"

namespace {

void ResetBlock(ToneBlock* block, bool clearContrast) {
  block->inputLow = 0;
  block->outputLow = 0;
  block->midtoneShift = 0;
  block->endLow = 0;
  block->inputHigh = 256;
  block->outputHigh = 256;
  block->endHigh = 256;
  block->shiftMode = 0;
  std::memset(block->fixedPointValues, 0, sizeof(block->fixedPointValues));
  if (clearContrast) block->contrast = 0;
}

}  // namespace

void ResetToneEndPoints(ToneBlock* toneTemplate, FrameRecord* frame) {
  const bool clearContrast = gLightSourceFlag != 0;
  ResetBlock(toneTemplate, clearContrast);
  const bool rgb = frame->colorMode == 2;
  for (int k = rgb ? 1 : 0; k <= (rgb ? 3 : 0); ++k) ResetBlock(&frame->tone[k], clearContrast);
}
