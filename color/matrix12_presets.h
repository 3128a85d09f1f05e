// The twelve-colour matrix: the hue sectors, the presets "P0cm" (whole
// matrix) and "PaCM".."PlCM" (one type per sector, 'a' + sector) with the 38
// factory presets of the six main sectors, and the global state that the
// twelve-colour correction keeps while the data source is loaded.
#pragma once

#include <cstdint>

#include "color/matrix_presets.h"
#include "foundation/geometry.h"
#include "foundation/memory.h"

constexpr int kColorMatrixFactoryCount = 38;
// Default preset name of sector s: string 360 + s ("Rot_" .. "Magenta_Rot_").
constexpr uint32_t kSectorStemString = 360;
// The matrix cell of identifier n (1300-1371) is element n - 1300.
constexpr int kFirstMatrixCellId = 1300;

extern const MatrixPresetFamily kColorMatrixPresets;
// The factory table: rows 0-37 (record id = row).
const FactoryPreset* ColorMatrixFactoryPresets();

// "P%cCM" with 'a' + sector.
RecordType SectorPresetType(int sector);

// The sector of a hue in degrees (0 <= h < 360): 0 below 15 and from 345 on,
// else 1 + floor((h - 15) / 30).
int HueSector(double degrees);
// The sector of an 8-bit colour by its rounded hue; grey falls into sector 0.
int ColourSector(uint8_t red, uint8_t green, uint8_t blue);
// The dot colour of each sector on the dialog's wheel (R, G, B).
extern const uint8_t kSectorDisplayColours[12][3];

struct ColorMatrix12State {
  MemHandle cube8;             // the 8-bit colour cube of the frame's matrix tables
  void* wheelBitmap;           // the dialog's wheel bitmap, or null
  uint32_t currentSector;
  uint32_t wheelRange;         // percent at the wheel's rim
  uint8_t allSix;
  WinRect hitRects[12];        // the wheel's sector dots
  uint8_t selected[12];
};
extern ColorMatrix12State gColorMatrix12State;

// No working tables, sector 0 current and alone selected, range 50; the
// 8-bit cube is allocated afresh at its first use after this.
void InitColorMatrix12State();
// The 8-bit cube of the frame's matrix tables (null when it cannot be had).
MemHandle ColorMatrix12Cube();
// Disposes the working tables and the cube, where present.
void FreeColorMatrix12State();

// Factory presets of every sector type without records.
void InstallColorMatrixPresets();
