// The correction and conversion steps that the band producer calls, as one
// table of plain functions: the colour, sharpening and output services by
// default, counting stand-ins in tests. One indirect call per row or per read,
// never per sample.
#pragma once

#include <cstdint>

struct BandServices {
  // Readiness of the optional steps.
  bool (*selectiveColorReady)();
  bool (*regionCorrectionsReady)();
  bool (*scannerTransformReady)();
  bool (*outputTransformReady)();
  bool (*separationTablesReady)();
  // Region-free and region corrections of one planar RGB row.
  void (*selectiveColor8)(uint8_t* row, int32_t width, int32_t planeOffset, int32_t x, int32_t y, bool region);
  void (*selectiveColor16)(uint16_t* row, int32_t width, int32_t planeOffset, int32_t x, int32_t y, bool region);
  void (*colorMatrix8)(uint8_t* row, int32_t width, int32_t planeOffset, int32_t x, int32_t y, bool region);
  void (*colorMatrix16)(uint16_t* row, int32_t width, int32_t planeOffset, int32_t x, int32_t y, bool region);
  // Sharpening filters over the rows of a read.
  int16_t (*sharpenA)(uint8_t* band, int32_t m, uint32_t rowBytes, int32_t rows);
  int16_t (*sharpenB)(uint8_t* band, int32_t m, uint32_t rowBytes, int32_t rows);
  // Input colour management of 8-bit rows.
  bool (*translateLine8)(uint8_t* pixels, int32_t count, void* lineBuffer);
  void (*colorCube8)(uint8_t* row, int32_t count, int32_t planeOffset);
  // Output conversions.
  void (*translateOutput8)(const uint8_t* in, uint8_t* out, int32_t count, bool cmyk);
  void (*translateOutput16)(const uint16_t* in, uint16_t* out, int32_t count, bool cmyk);
  void (*separatePlanar8)(const uint8_t* red, const uint8_t* green, const uint8_t* blue, uint8_t* cyan,
                          uint8_t* magenta, uint8_t* yellow, uint8_t* black, int32_t count);
  void (*separateLab16)(const uint16_t* lab, uint16_t* out, int32_t count);
  void (*separateLab16To8)(const uint16_t* lab, uint8_t* out, int32_t count);
  void (*rgb8ToLab8)(uint8_t* buffer, int32_t rows, int32_t width, bool signedAB);
  void (*rgb8ToLab16)(const uint8_t* source, uint16_t* destination, int32_t count, int32_t sourceStep,
                      int32_t sourcePlaneOffset, int32_t destinationStep, int32_t destinationPlaneOffset);
  void (*rgb16ToLab16)(const uint16_t* source, uint16_t* destination, int32_t count, int32_t sourceStep,
                       int32_t sourcePlaneOffset, int32_t destinationStep, int32_t destinationPlaneOffset,
                       bool signedAB);
};

// The services of the colour, sharpening and output subsystems.
const BandServices& DefaultBandServices();
// The table in use; null puts the default back.
void SetBandServices(const BandServices* services);
const BandServices& CurrentBandServices();
