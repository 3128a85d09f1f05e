// The colour profile set: the profile paths of the defaults, the profiles
// opened while the transforms are built, the four transforms with their ready
// flags, and the per-line entry points that run image lines through them.
#pragma once

#include <cstdint>

#include "color/color_module.h"
#include "foundation/memory.h"

enum ColorProfileSlot { kProfileScannerReflective, kProfileScannerTransparency, kProfileInternal, kProfileOutput,
                        kProfileCmyk, kProfileSlots };
// T0 reflective scanner to internal, T1 transparency scanner to internal,
// T2 internal to output, T3 output to internal.
enum ColorTransformSlot { kTransformReflective, kTransformTransparency, kTransformOutput, kTransformReverse,
                          kTransformSlots };

constexpr uint16_t kProofAllInks = 65535;

struct ColorProfileSet {
  ColorProfileHandle profiles[kProfileSlots];
  ColorTransformHandle transforms[kTransformSlots];
  uint8_t ready[kTransformSlots];
  MemHandle outputLine;  // scratch of the output-side translations, grown on demand
  uint16_t cmykMode;      // CMYK-side colour-management mode of the soft proof
  uint16_t proofChannel;  // the single ink the soft proof shows, kProofAllInks for all
};
extern ColorProfileSet gColorProfileSet;
// The preview shows the output conversion (the CMYK soft proof) where the output mode converts.
extern uint8_t gOutputConversionView;

// Deletes and rebuilds the transforms from the profiles of the defaults;
// 0, or the status of the profile or transform that failed (then nothing is left).
int16_t RebuildColorTransforms();
// Deletes every transform, then closes every open profile; nothing while
// colour management is off.
void DeleteColorTransforms();
// Frees the output line buffer (end of the scan session).
void FreeOutputLineBuffer();

// The scanner transform of the current original (transparency or reflective) exists.
bool IsScannerTransformReady();
// The internal-to-output transform exists.
bool IsOutputTransformReady();

// A zero-filled block of n 4-byte pixels (FreeBlock releases it): the scratch of TranslateLine8.
void* AllocLineBuffer(uint16_t n);
// One 8-bit line through the scanner transform of the current original, format
// 8 or 16 in and out: 3 channels through the scratch (copied unchanged without
// one), 4 channels directly. In may equal out.
void TranslateLine8(const uint8_t* in, uint8_t* out, uint16_t width, uint16_t channels, uint32_t format,
                    uint8_t* scratch);
// A block of RGB pixels through a transform; strides in samples. False when
// colour management is off, an argument is missing or the module fails.
bool TranslateImageBlock(ColorTransformHandle transform, const void* in, void* out, int32_t width, int32_t rows,
                         uint8_t sixteenBit, int32_t rowStride, int32_t pixelStep, int32_t channelStride);
// One 8-bit line through the output transform, or back through the reverse
// one (CMYK quads or four planes in); planar or interleaved; RGB or CMYK out.
void TranslateOutputLine(const uint8_t* in, uint8_t* out, uint32_t width, uint8_t interleaved, uint8_t cmykOut,
                         uint8_t reverse);
// One planar 16-bit line through the output transform: three planes in,
// three RGB or four CMYK planes out.
void TranslateOutputLine16(const uint16_t* in, uint16_t* out, uint32_t width, uint8_t cmykOut);
// Exchanges the first and third byte of each 3-byte pixel; in place when in == out.
void SwapRedBlue(const uint8_t* in, uint8_t* out, uint32_t count);
