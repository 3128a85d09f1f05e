// DG_CONTROL / DAT_CAPABILITY: the fifteen capabilities the source offers,
// the capability block that holds the host's choices, and the predicates
// through which the transfers learn the pixel layout the host asked for.
#pragma once

#include <cstdint>

#include "twain/twain_state.h"

// The capability block: module data beside the session state.
extern TW_UINT16 gXferMech;           // TWSX_NATIVE or TWSX_MEMORY
extern TW_INT16 gPixelType;           // TWPT_BW, TWPT_GRAY, TWPT_RGB or TWPT_CMYK
extern uint8_t gBitDepthFlags[6][3];  // per pixel type: 1-bit, 8-bit, 16-bit wanted
extern TW_UINT16 gPixelFlavor[6];     // per pixel type
extern uint32_t gXferCount;           // 16-bit value; 65535 means any number of images

enum { kDepth1 = 0, kDepth8 = 1, kDepth16 = 2 };

// The supported capabilities, in the order CAP_SUPPORTEDCAPS lists them.
extern const TW_UINT16 kSupportedCapabilities[15];

TW_UINT16 OnCapability(const TwainCall& call);

// Each answers a condition code; TWCC_SUCCESS when the container was built.
TW_UINT16 GetCapability(TW_CAPABILITY* capability);
TW_UINT16 GetCurrentCapability(TW_CAPABILITY* capability, TW_UINT16 message);
TW_UINT16 SetCapability(TW_CAPABILITY* capability);
TW_UINT16 ResetCapability(TW_CAPABILITY* capability);

// Pixel type, depth flags and flavours back to their defaults.
void ResetCapabilityDefaults();
// TWAIN pixel type of a session image mode; -1 for a mode the session never produces.
TW_INT16 ToTwainPixelType(int16_t imageMode);

bool WantsCmyk8Memory();
bool WantsBw1();
bool WantsGray8();
bool WantsRgb8();
bool WantsRgb16Memory();
bool WantsGray16Memory();
bool IsTransferCountLimited();
