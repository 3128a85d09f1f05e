#include "color/matrix12_presets.h"

#include <cmath>
#include <cstdio>

#include "color/color_cubes.h"
#include "color/row_corrections.h"
#include "color/selective_presets.h"
#include "foundation/color_hsl.h"
#include "foundation/round.h"
#include "records/frame_record.h"
#include "state/data_source_state.h"

ColorMatrix12State gColorMatrix12State;

const uint8_t kSectorDisplayColours[12][3] = {
    {255, 0, 0}, {255, 128, 0}, {255, 255, 0}, {192, 255, 0}, {0, 255, 0},   {0, 255, 192},
    {0, 255, 255}, {0, 128, 255}, {0, 0, 255}, {128, 0, 255}, {255, 0, 255}, {255, 0, 164},
};

namespace {

int16_t* CurrentMatrix() { return gCurrentFrame ? gCurrentFrame->colorMatrix12 : nullptr; }

// The main sector of each colour index: red 0, green 4, blue 8, cyan 6, magenta 10, yellow 2.
constexpr uint8_t kColourSector[kMatrixColors] = {0, 4, 8, 6, 10, 2};

// The six-colour factory presets again, each in its colour's main sector,
// ordered by sector and within a sector as before.
struct FactoryTable {
  FactoryPreset rows[kColorMatrixFactoryCount];
  FactoryTable() : rows() {
    int next = 0;
    for (int sector = 0; sector < kMatrixSectors; sector += 2)
      for (const FactoryPreset& row : kSelectiveFactoryPresets)
        if (kColourSector[row.part] == sector) {
          rows[next] = row;
          rows[next++].part = static_cast<uint8_t>(sector);
        }
  }
};
const FactoryTable kTable;

}  // namespace

const MatrixPresetFamily kColorMatrixPresets = {TagFromString("P0cm"), kMatrixSectors, kMatrixCells,
                                                SectorPresetType, kSectorStemString, CurrentMatrix};
const FactoryPreset* ColorMatrixFactoryPresets() { return kTable.rows; }

RecordType SectorPresetType(int sector) {
  char text[16];
  std::snprintf(text, sizeof text, "P%cCM", 'a' + sector);
  return TagFromString(text);
}

int HueSector(double degrees) {
  if (degrees < 15 || degrees >= 345) return 0;
  return 1 + static_cast<int>(std::floor((degrees - 15) / 30));
}

int ColourSector(uint8_t red, uint8_t green, uint8_t blue) {
  double hue = 0, saturation = 0, lightness = 0;
  RgbToHsl(red / 255.0, green / 255.0, blue / 255.0, &hue, &saturation, &lightness, 0.0);
  const int degrees = TruncRound(hue * 360) % 360;
  return HueSector(degrees);
}

namespace {

void Release(MemHandle* handle) {
  if (*handle) DisposeMemHandle(*handle);
  *handle = nullptr;
}

}  // namespace

void InitColorMatrix12State() {
  gRegionMatrixSet.entryCount = 0;
  Release(&gRegionMatrixSet.entries);
  Release(&gColorMatrix12State.cube8);
  gColorMatrix12State = ColorMatrix12State{};
  gColorMatrix12State.wheelRange = 50;
  gColorMatrix12State.selected[0] = 1;
}

MemHandle ColorMatrix12Cube() {
  if (!gColorMatrix12State.cube8) gColorMatrix12State.cube8 = NewCube8();
  return gColorMatrix12State.cube8;
}

void FreeColorMatrix12State() {
  Release(&gRegionMatrixSet.entries);
  gRegionMatrixSet.entryCount = 0;
  Release(&gColorMatrix12State.cube8);
}

void InstallColorMatrixPresets() {
  InstallFactoryPresets(kColorMatrixPresets, kTable.rows, kColorMatrixFactoryCount);
}
