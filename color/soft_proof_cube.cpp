#include "color/soft_proof_cube.h"

#include <vector>

#include "color/cmyk_tables.h"
#include "color/color_cubes.h"
#include "color/color_management.h"
#include "color/color_profile_set.h"
#include "color/lab_rows.h"
#include "records/defaults_block.h"
#include "state/data_source_state.h"

namespace {

constexpr int32_t kNodes = kCubeEntries;

// The selected ink of CMYK quads as grey: 255 - ink in each channel.
void ShowProofInk(const uint8_t* cmyk, uint8_t* cube) {
  InvertGreyToRgb8(cmyk + gColorProfileSet.proofChannel, cube, kNodes, 4, 3, 1);
}

bool SingleInk() { return gColorProfileSet.proofChannel < 4; }

// Mode 2: the output transform to CMYK and, for all inks, back to RGB.
void ProofThroughOutputTransform(uint8_t* cube, uint8_t* cmyk) {
  TranslateOutputLine(cube, cmyk, kNodes, 1, 1, 0);
  if (SingleInk()) ShowProofInk(cmyk, cube);
  else TranslateOutputLine(cmyk, cube, kNodes, 1, 0, 1);
}

// Mode 5: L*a*b*, the separation table to CMYK and, for all inks, the table's
// proof of the coloured inks times the proof of the black. Without the tables
// it needs the cube stays the identity rather than showing unseparated black.
void ProofThroughSeparationTables(uint8_t* cube, uint8_t* cmyk) {
  if (!gCmykConversionTables.forward || (!SingleInk() && !gCmykConversionTables.reverse)) return;
  BuildLabTables(GetDefault(gDefaults, kDefaultDisplayGamma));
  std::vector<uint16_t> lab(static_cast<size_t>(kNodes) * 3);
  ConvertRgb8ToLab16(cube, lab.data(), kNodes, 3, 1, 3, 1);
  SeparateLine16To8(lab.data(), cmyk, kNodes, 3, 1, 4, 1);
  if (SingleInk()) {
    ShowProofInk(cmyk, cube);
  } else {
    // Planar rows: one row of kNodes pixels.
    std::vector<uint8_t> black(static_cast<size_t>(kNodes) * 3), rgb(static_cast<size_t>(kNodes) * 3);
    ProofCmykLine(cmyk, lab.data(), black.data(), kNodes, 4, 1, 1, kNodes);
    ConvertLab16ToRgb8(lab.data(), rgb.data(), kNodes, 1, kNodes, 1, kNodes);
    ConvertLab8ToRgb8(black.data(), 1, kNodes, false);
    MultiplyRgb8Rows(rgb.data(), black.data(), 1, kNodes);
    for (int32_t n = 0; n < kNodes; ++n)
      for (int c = 0; c < 3; ++c) cube[3 * n + c] = rgb[static_cast<size_t>(c) * kNodes + n];
  }
  FreeLabTables();
}

}  // namespace

void BuildSoftProofCube(MemHandle* out) {
  *out = NewCube8();
  if (!*out) return;
  uint8_t* cube = (*out)->data;
  InitIdentityCube8(cube);
  MemHandle cmyk = NewMemHandle(static_cast<uint32_t>(kNodes) * 4);
  if (!cmyk) return;
  const uint16_t mode = gColorProfileSet.cmykMode;
  if (mode == 2 && gIcmEnabled) ProofThroughOutputTransform(cube, cmyk->data);
  if (mode == 5) ProofThroughSeparationTables(cube, cmyk->data);
  DisposeMemHandle(cmyk);
}

// Not built yet: the twelve-colour selective colour dialog does not exist, so there is nothing to refresh.
void RefreshCurrentFrameCallback() {}
