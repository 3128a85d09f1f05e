// Colour-management services: ICC profiles and colour transforms, and the input
// colour-management settings that decide which transform a line goes through.
#pragma once

#include <cstdint>

typedef struct ColorProfileObject* ColorProfileHandle;
typedef struct ColorTransformObject* ColorTransformHandle;

// Where a profile comes from: a file path, or a block of memory with its size.
enum ColorProfileSource : uint32_t { kProfileFromFile = 1, kProfileFromMemory = 2 };

struct ColorProfileLocation {
  uint32_t source;   // ColorProfileSource
  const void* data;  // zero-terminated path, or the profile bytes
  uint32_t size;     // bytes of a memory profile
};

// Status of the profile calls that fail (also when the system module is missing).
constexpr int16_t kColorProfileError = -176;

// Input colour-management modes.
enum InputColorMode : uint16_t {
  kInputColorNone = 1,
  kInputColorScannerProfiles = 2,
  kInputColorCalibration = 3,
  kInputColorEmbeddedProfile = 4,
};

// Loads the system colour-management module for the session (MSG_OPENDS) and frees it (MSG_CLOSEDS).
void ColorSystemLoad();
void ColorSystemUnload();
// Frees the CMYK conversion tables (grid, reverse table, gamut bits) when present.
void FreeCmykConversionTables();

// Colour management through the system module is switched on.
extern uint8_t gIcmEnabled;

uint16_t InputColorManagementMode();
// Full path of the internal RGB working profile; empty when none is chosen.
const char* InternalProfilePath();

int16_t CmsOpenColorProfile(ColorProfileHandle* profile, const ColorProfileLocation* location, uint8_t writable);
void CmsCloseColorProfile(ColorProfileHandle profile);
int16_t CmsCreateMultiProfileTransform(ColorTransformHandle* transform, ColorProfileHandle first,
                                       ColorProfileHandle second, uint8_t flag);
void CmsDeleteColorTransform(ColorTransformHandle transform);
// A null buffer asks for the element's size.
int16_t CmsGetColorProfileElement(ColorProfileHandle profile, uint32_t tagSignature, uint32_t* size,
                                  void* buffer);

// A block of RGB pixels through a transform; strides are in samples.
bool TranslateImageBlock(ColorTransformHandle transform, const void* in, void* out, int32_t width,
                         int32_t rows, uint8_t sixteenBit, int32_t rowStride, int32_t pixelStep,
                         int32_t channelStride);

// The RGB basis as the defaults block keeps it: display gamma, (x, y) of red,
// green and blue, (x, y) of the white point.
struct RgbBasis {
  float gamma;
  float primaries[6];
  float white[2];
};
static_assert(sizeof(RgbBasis) == 36, "the basis fills 36 bytes of the defaults block");

// The basis of an RGB profile (its gamma curve, white point and colorants
// scaled by white over illuminant); fields whose tag is missing keep their value.
bool ReadProfileRgbBasis(const char* path, RgbBasis* basis);
// Loads the calibration profile named in the defaults block; false when it cannot be loaded.
bool LoadCalibrationProfile();
// Loads the CMYK conversion tables for the separation table or CMYK profile
// named in the defaults block; false when they cannot be made.
bool LoadCmykConversionTables();
