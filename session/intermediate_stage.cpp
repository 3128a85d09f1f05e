#include "session/intermediate_stage.h"

#include <cstring>
#include <new>

#include "color/color_management.h"
#include "color/color_profile_set.h"
#include "color/cube_services.h"
#include "records/defaults_block.h"
#include "session/reduction_tables.h"
#include "session/source_lines.h"
#include "tone/curve_tables.h"
#include "tone/gamma_tables.h"
#include "tone/tone_engine_state.h"

IntermediateState gIntermediate;

namespace {

// The cube's grid as one block of 33 rows of 1089 pixels for a colour transform.
const int32_t kCubeRowPixels = kCubeNodes * kCubeNodes;

double GammaDivisor() {
  const double divisor = GetDefault(ToneDefaults(), kDefaultZirGamma);
  return divisor > 0.0 ? divisor : 1.0;
}

// The tone tables take the negative passes unless the second film kind is chosen.
uint8_t UseNegativeFlag() {
  const DefaultsBlock& defaults = ToneDefaults();
  return GetDefault(defaults, kDefaultNegativeMode) && GetDefault(defaults, kDefaultSecondFilmKind) ? 0 : 1;
}

// Output table `index` from tone block `block` of the frame.
void BuildOutputTable(IntermediateState& s, FrameRecord* frame, int block, int index, double gammaDivisor) {
  const int16_t n = static_cast<int16_t>(kIntermediateTableSize);
  if (s.output16) {
    BuildFrameToneTables(s.outputTables16[index].data(), frame->tone[block], n, n, static_cast<int16_t>(block),
                         UseNegativeFlag(), frame, gammaDivisor);
  } else {
    ComputeToneTables(s.outputTables8[index].data(), frame->tone[block], n, static_cast<int16_t>(block),
                      UseNegativeFlag(), frame, gammaDivisor);
  }
}

void AllocateOutputTables(IntermediateState& s, int count) {
  for (int c = 0; c < count; ++c) {
    if (s.output16) {
      s.outputTables16[c].assign(kIntermediateTableSize, 0);
    } else {
      s.outputTables8[c].assign(kIntermediateTableSize, 0);
    }
  }
}

void FillCube(IntermediateState& s, int16_t mode) {
  if (mode == kInputColorCalibration) {
    const double* calibration = CalibrationCubeTable();
    std::memcpy(s.cube.data(), calibration, CalibrationCubeTableSize());
    return;
  }
  std::vector<uint16_t> grid(static_cast<size_t>(kCubeEntries) * 3);
  InitIdentityCube(grid.data());
  ImageFileReader* reader = gSourceLineRead.reader;
  const ColorTransformHandle transform = mode == kInputColorEmbeddedProfile
                                             ? (reader ? reader->ColorTransform() : nullptr)
                                             : ScannerToInternalTransform(ToneTransparentOriginal() ? 1 : 0);
  if (transform) {
    TranslateImageBlock(transform, grid.data(), grid.data(), kCubeRowPixels, kCubeNodes, 1, kCubeRowPixels * 3, 3, 1);
  }
  U16ToUnitDoubles(s.cube.data(), grid.data(), static_cast<int32_t>(grid.size()));
}

bool BuildColourTables(IntermediateState& s, FrameRecord* frame, double gamma) {
  DefaultsBlock& defaults = ToneDefaults();
  const int16_t mode = GetDefault(defaults, kDefaultInputCmsMode);
  const double divisor = GammaDivisor();
  const int32_t n = static_cast<int32_t>(kIntermediateTableSize);
  AllocateOutputTables(s, 3);
  for (auto& table : s.inputTables) table.assign(n, 0);
  s.sharedOutputTable.assign(n, 0);
  const bool hasCube = mode == kInputColorScannerProfiles || mode == kInputColorCalibration ||
                       mode == kInputColorEmbeddedProfile;
  if (hasCube) s.cube.assign(CalibrationCubeTableSize() / sizeof(double), 0.0);

  for (int c = 1; c <= 3; ++c) {
    // The curves without colour management: the stage's cube does that part.
    SetDefault<int16_t>(defaults, kDefaultInputCmsMode, kInputColorNone);
    BuildOutputTable(s, frame, c, c - 1, divisor);
    SetDefault(defaults, kDefaultInputCmsMode, mode);
    if (mode == kInputColorCalibration) {
      BuildGammaGreyBalanceTable(s.inputTables[c - 1].data(), n, gamma / divisor, static_cast<int16_t>(c));
    } else {
      BuildGammaTable(s.inputTables[c - 1].data(), n, n, gamma / divisor);
    }
  }
  BuildGammaTable(s.sharedOutputTable.data(), n, n, 1.0 / gamma);
  if (!s.cube.empty()) FillCube(s, mode);
  return true;
}

}  // namespace

int16_t ResetIntermediateState(uint8_t enable) {
  gIntermediate = IntermediateState();
  gIntermediate.enabled = enable;
  return 0;
}

int16_t FreeIntermediateState() { return ResetIntermediateState(0); }

uint8_t IsIntermediateOn() { return gIntermediate.enabled; }

bool BuildIntermediateTables(FrameRecord* frame, double gamma) {
  IntermediateState& s = gIntermediate;
  if (!s.enabled) return true;
  if (!frame) return false;
  s.output16 = frame->bitsPerChannel == 16;
  s.tableBits = kIntermediateTableBits;
  s.tableSize = kIntermediateTableSize;
  try {
    if (frame->colorMode != kColorModeRgb) {
      // Grey: only the tone curve; without input tables or a cube rows pass unchanged.
      AllocateOutputTables(s, 1);
      BuildOutputTable(s, frame, 0, 0, 1.0);
      return true;
    }
    return BuildColourTables(s, frame, gamma);
  } catch (const std::bad_alloc&) {
    return false;
  }
}

bool ApplyIntermediate16(const uint16_t* in, uint16_t* out, uint32_t rows, uint32_t width, uint32_t inStep,
                         uint32_t inPlaneOffset, uint32_t outStep, uint32_t outPlaneOffset) {
  const IntermediateState& s = gIntermediate;
  if (!in || !out) return false;
  const size_t rowSamples = size_t{3} * width;
  if (s.cube.empty()) {
    if (in != out) std::memmove(out, in, rows * rowSamples * sizeof(uint16_t));
    return true;
  }
  std::vector<double> block;
  try {
    block.resize(rowSamples);
  } catch (const std::bad_alloc&) {
    return false;
  }
  const uint16_t bits = kIntermediateTableBits;
  bool ok = true;
  for (uint32_t row = 0; row < rows && ok; ++row, in += rowSamples, out += rowSamples) {
    for (uint32_t c = 0; c < 3 && ok; ++c) {
      ok = NormaliseLine(s.inputTables[c], bits, bits, in + c * inPlaneOffset, block.data() + c * width, width, inStep, 1);
    }
    if (!ok) break;
    ApplyColorCubeToDoubles(block.data(), block.data(), s.cube.data(), static_cast<int32_t>(width), 1,
                            static_cast<uint16_t>(width), 1, static_cast<uint16_t>(width));
    for (uint32_t c = 0; c < 3 && ok; ++c) {
      // 14-bit table values up to the top of a 16-bit word.
      ok = DenormaliseLine(s.sharedOutputTable, bits, 16 - bits, block.data() + c * width, out + c * outPlaneOffset,
                           width, 1, outStep);
    }
  }
  return ok;
}

bool ApplyIntermediateTo8(const uint16_t* in, uint8_t* out, uint32_t rows, uint32_t width, uint32_t inStep,
                          uint32_t inPlaneOffset, uint32_t outStep, uint32_t outPlaneOffset, bool greenFirst) {
  const IntermediateState& s = gIntermediate;
  if (!in || !out || s.output16) return false;
  for (const auto& table : s.outputTables8) {
    if (table.size() < kIntermediateTableSize) return false;
  }
  const size_t rowSamples = size_t{3} * width;
  for (uint32_t row = 0; row < rows; ++row, in += rowSamples, out += rowSamples) {
    for (uint32_t c = 0; c < 3; ++c) {
      const uint32_t plane = greenFirst && c < 2 ? 1 - c : c;
      if (!ReduceLineTo8(s.outputTables8[c], kIntermediateTableBits, in + c * inPlaneOffset,
                         out + plane * outPlaneOffset, width, inStep, outStep)) {
        return false;
      }
    }
  }
  return true;
}

bool ApplyIntermediateTo16(const uint16_t* in, uint16_t* out, uint32_t rows, uint32_t width, uint32_t planes,
                           uint32_t inStep, uint32_t inPlaneOffset, uint32_t outStep, uint32_t outPlaneOffset) {
  const IntermediateState& s = gIntermediate;
  if (!in || !out || !s.output16 || planes < 1 || planes > 3) return false;
  for (uint32_t c = 0; c < planes; ++c) {
    if (s.outputTables16[c].size() < kIntermediateTableSize) return false;
  }
  const size_t rowSamples = size_t{planes} * width;
  for (uint32_t row = 0; row < rows; ++row, in += rowSamples, out += rowSamples) {
    for (uint32_t c = 0; c < planes; ++c) {
      if (!ReduceLineTo16(s.outputTables16[c], kIntermediateTableBits, kIntermediateTableBits,
                          in + c * inPlaneOffset, out + c * outPlaneOffset, width, inStep, outStep)) {
        return false;
      }
    }
  }
  return true;
}
