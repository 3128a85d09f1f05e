#include "twain/capabilities.h"

#include <algorithm>
#include <cstring>

#include "records/frame_record.h"
#include "state/data_source_state.h"
#include "twain/capability_containers.h"

TW_UINT16 gXferMech;
TW_INT16 gPixelType;
uint8_t gBitDepthFlags[6][3];
TW_UINT16 gPixelFlavor[6];
uint32_t gXferCount = 65535;

const TW_UINT16 kSupportedCapabilities[15] = {
    CAP_XFERCOUNT,       CAP_SUPPORTEDCAPS,  CAP_UICONTROLLABLE, ICAP_COMPRESSION, ICAP_PLANARCHUNKY,
    ICAP_PHYSICALHEIGHT, ICAP_PHYSICALWIDTH, ICAP_PIXELFLAVOR,   ICAP_BITDEPTH,    ICAP_BITORDER,
    ICAP_PIXELTYPE,      ICAP_UNITS,         ICAP_XFERMECH,      ICAP_XRESOLUTION, ICAP_YRESOLUTION,
};

namespace {

constexpr uint16_t kResolutionWithoutFrame = 228;
constexpr uint32_t kMinusOne16 = 0xFFFF;  // TW_INT16 -1 in a one-value item

TW_UINT16 DefaultFlavor(int pixelType) { return pixelType == TWPT_CMYK ? TWPF_VANILLA : TWPF_CHOCOLATE; }

bool IsOfferedPixelType(uint32_t value) {
  return value == TWPT_BW || value == TWPT_GRAY || value == TWPT_RGB || value == TWPT_CMYK;
}

uint32_t Fix32Item(float value) {
  TW_FIX32 fix = MakeFix32(value);
  uint32_t item;
  std::memcpy(&item, &fix, sizeof item);
  return item;
}

TW_UINT16 OneValue16(TW_CAPABILITY* capability, uint32_t value) {
  return MakeOneValueContainer(capability, TWTY_UINT16, value);
}

// {8, 16} when the image has 16 bits per sample, else the one value 8.
TW_UINT16 EightOrSixteen(TW_CAPABILITY* capability, uint32_t currentIndex) {
  if (!gDataSourceState.deviceHas16Bits) return OneValue16(capability, 8);
  const TW_UINT16 depths[2] = {8, 16};
  return MakeEnumContainer(capability, EnumHeader{TWTY_UINT16, 2, currentIndex, 0}, depths);
}

TW_UINT16 BitDepthAnswer(TW_CAPABILITY* capability, uint32_t currentIndex) {
  if (gPixelType == TWPT_BW) return OneValue16(capability, 1);
  if (gPixelType == TWPT_CMYK) return OneValue16(capability, 8);
  return EightOrSixteen(capability, currentIndex);
}

TW_UINT16 PixelTypeEnumeration(TW_CAPABILITY* capability) {
  const TW_UINT16 types[4] = {TWPT_BW, TWPT_GRAY, TWPT_RGB, TWPT_CMYK};
  uint32_t current = gPixelType == TWPT_CMYK ? 3 : static_cast<uint32_t>(gPixelType);
  return MakeEnumContainer(capability, EnumHeader{TWTY_UINT16, 4, current, 2}, types);
}

TW_UINT16 PhysicalSize(TW_CAPABILITY* capability) {
  double inches = capability->Cap == ICAP_PHYSICALWIDTH ? gScanAreaInches.width : gScanAreaInches.height;
  return MakeOneValueContainer(capability, TWTY_FIX32, Fix32Item(static_cast<float>(inches)));
}

TW_UINT16 ResolutionEnumeration(TW_CAPABILITY* capability) {
  uint32_t count = std::min<uint32_t>(gResolutionList.count, 64);
  TW_FIX32 items[64];
  for (uint32_t i = 0; i < count; ++i) items[i] = MakeFix32(gResolutionList.values[i]);
  return MakeEnumContainer(capability, EnumHeader{TWTY_FIX32, count, 0, 0}, items);
}

TW_UINT16 CurrentFrameResolution(TW_CAPABILITY* capability) {
  float dpi = gCurrentFrame ? gCurrentFrame->outputResolution : kResolutionWithoutFrame;
  return MakeOneValueContainer(capability, TWTY_FIX32, Fix32Item(dpi));
}

TW_UINT16 CurrentPixelFlavor(TW_CAPABILITY* capability, TW_UINT16 message) {
  if (message == MSG_GETDEFAULT) return OneValue16(capability, DefaultFlavor(gPixelType));
  TW_INT16 pixelType = -1;
  if (gTwainState == kStateOpen || gTwainState == kStateEnabled) {
    pixelType = gPixelType;
  } else if ((gTwainState == kStateTransferReady || gTwainState == kStateTransferring) && gSession) {
    // Follows the image being transferred, not the host's last choice.
    pixelType = ToTwainPixelType(gSession->imageMode);
  }
  // No container without a pixel type to answer for: that is no answer.
  if (pixelType < 0) return TWCC_SEQERROR;
  return OneValue16(capability, gPixelFlavor[pixelType]);
}

// The depth of a MSG_SET item into the flags of the current pixel type.
void WantDepth(uint32_t depth) {
  uint8_t* flags = gBitDepthFlags[gPixelType];
  if (depth == 24 || depth == 32) depth = 8;
  if (depth == 1) flags[kDepth1] = 1;
  if (depth == 8) flags[kDepth8] = 1;
  if (depth == 16) flags[kDepth16] = 1;
}

TW_UINT16 SetBitDepth(const TW_CAPABILITY* capability) {
  if (capability->ConType == TWON_ONEVALUE) {
    uint32_t depth = 0;
    if (!ReadOneValueItem(capability, &depth)) return TWCC_BADVALUE;
    std::memset(gBitDepthFlags[gPixelType], 0, 3);
    WantDepth(depth);
    return TWCC_SUCCESS;
  }
  if (capability->ConType != TWON_ENUMERATION) return TWCC_BADCAP;
  EnumHeader header;
  if (!ReadEnumHeader(capability, &header)) return TWCC_BADVALUE;
  std::memset(gBitDepthFlags[gPixelType], 0, 3);
  uint32_t count = std::min<uint32_t>(header.count, 16);
  for (uint32_t i = 0; i < count; ++i) {
    uint32_t depth = 0;
    if (ReadEnumItem(capability, &depth, i)) WantDepth(depth);
  }
  return TWCC_SUCCESS;
}

TW_UINT16 SetPixelType(const TW_CAPABILITY* capability) {
  uint32_t value = 0;
  bool read;
  if (capability->ConType == TWON_ONEVALUE) {
    read = ReadOneValueItem(capability, &value);
  } else if (capability->ConType == TWON_ENUMERATION) {
    EnumHeader header;
    read = ReadEnumHeader(capability, &header) && ReadEnumItem(capability, &value, header.currentIndex);
  } else {
    return TWCC_BADCAP;
  }
  // The pixel type indexes the flag and flavour tables: only the offered ones.
  if (!read || !IsOfferedPixelType(value)) return TWCC_BADVALUE;
  gPixelType = static_cast<TW_INT16>(value);
  return TWCC_SUCCESS;
}

TW_UINT16 SetXferMech(const TW_CAPABILITY* capability) {
  uint32_t value = 0;
  if (capability->ConType != TWON_ONEVALUE || !ReadOneValueItem(capability, &value)) return TWCC_BADVALUE;
  if (value != TWSX_NATIVE && value != TWSX_MEMORY) {
    gXferMech = TWSX_NATIVE;
    return TWCC_BADVALUE;
  }
  gXferMech = static_cast<TW_UINT16>(value);
  return TWCC_SUCCESS;
}

// Items of containers whose type the source does not check, read as one value.
TW_UINT16 ReadAnyItem(const TW_CAPABILITY* capability, uint32_t* value) {
  return ReadOneValueItem(capability, value) ? TWCC_SUCCESS : TWCC_BADVALUE;
}

bool IsMemoryTransfer() { return gXferMech == TWSX_MEMORY; }

}  // namespace

void ResetCapabilityDefaults() {
  gPixelType = TWPT_RGB;
  std::memset(gBitDepthFlags, 0, sizeof gBitDepthFlags);
  gBitDepthFlags[TWPT_BW][kDepth1] = 1;
  gBitDepthFlags[TWPT_GRAY][kDepth8] = 1;
  gBitDepthFlags[TWPT_RGB][kDepth8] = 1;
  for (int type = 0; type < 6; ++type) gPixelFlavor[type] = DefaultFlavor(type);
}

TW_INT16 ToTwainPixelType(int16_t imageMode) {
  switch (imageMode) {
    case 0:
      return TWPT_BW;
    case 1:
    case 10:
      return TWPT_GRAY;
    case 3:
    case 11:
      return TWPT_RGB;
    case 4:
      return TWPT_CMYK;
    default:
      return -1;
  }
}

TW_UINT16 GetCapability(TW_CAPABILITY* capability) {
  switch (capability->Cap) {
    case CAP_XFERCOUNT:
      return MakeOneValueContainer(capability, TWTY_INT16, kMinusOne16);
    case CAP_SUPPORTEDCAPS:
      return MakeArrayContainer(capability, ArrayHeader{TWTY_UINT16, 15}, kSupportedCapabilities);
    case CAP_UICONTROLLABLE:
      return MakeOneValueContainer(capability, TWTY_BOOL, 0);
    case ICAP_COMPRESSION:
      return OneValue16(capability, TWCP_NONE);
    case ICAP_PLANARCHUNKY:
      return OneValue16(capability, TWPC_CHUNKY);
    case ICAP_PHYSICALWIDTH:
    case ICAP_PHYSICALHEIGHT:
      return PhysicalSize(capability);
    case ICAP_PIXELFLAVOR:
      return OneValue16(capability, gPixelFlavor[gPixelType]);
    case ICAP_BITDEPTH:
      return BitDepthAnswer(capability, 0);
    case ICAP_BITORDER:
      return OneValue16(capability, TWBO_MSBFIRST);
    case ICAP_PIXELTYPE:
      return PixelTypeEnumeration(capability);
    case ICAP_UNITS:
      return OneValue16(capability, TWUN_INCHES);
    case ICAP_XFERMECH: {
      const TW_UINT16 mechanisms[2] = {TWSX_NATIVE, TWSX_MEMORY};
      uint32_t current = gXferMech == TWSX_MEMORY ? 1 : 0;
      return MakeEnumContainer(capability, EnumHeader{TWTY_UINT16, 2, current, 0}, mechanisms);
    }
    case ICAP_XRESOLUTION:
    case ICAP_YRESOLUTION:
      return ResolutionEnumeration(capability);
    default:
      return TWCC_BADCAP;
  }
}

TW_UINT16 GetCurrentCapability(TW_CAPABILITY* capability, TW_UINT16 message) {
  bool isDefault = message == MSG_GETDEFAULT;
  switch (capability->Cap) {
    case CAP_XFERCOUNT:
      return MakeOneValueContainer(capability, TWTY_INT16, isDefault ? kMinusOne16 : (gXferCount & 0xFFFF));
    case ICAP_COMPRESSION:
    case ICAP_PLANARCHUNKY:
    case ICAP_UNITS:
      return OneValue16(capability, 0);
    case ICAP_PHYSICALWIDTH:
    case ICAP_PHYSICALHEIGHT:
      return PhysicalSize(capability);
    case ICAP_PIXELTYPE:
      // This host cannot take an enumeration here.
      if (TwainTextIs(gAppIdentity.ProductName, "NIKONCTL.EXE")) return OneValue16(capability, gPixelType);
      return PixelTypeEnumeration(capability);
    case ICAP_XFERMECH:
      return OneValue16(capability, isDefault ? TW_UINT16{TWSX_NATIVE} : gXferMech);
    case ICAP_XRESOLUTION:
    case ICAP_YRESOLUTION:
      return CurrentFrameResolution(capability);
    case ICAP_PIXELFLAVOR:
      return CurrentPixelFlavor(capability, message);
    case ICAP_BITDEPTH: {
      bool frame16 = gCurrentFrame && gCurrentFrame->bitsPerChannel == 16;
      return BitDepthAnswer(capability, frame16 ? 1 : 0);
    }
    case ICAP_BITORDER:
      return OneValue16(capability, TWBO_MSBFIRST);
    default:
      return TWCC_BADCAP;
  }
}

TW_UINT16 SetCapability(TW_CAPABILITY* capability) {
  uint32_t value = 0;
  switch (capability->Cap) {
    case CAP_XFERCOUNT: {
      TW_UINT16 code = ReadAnyItem(capability, &value);
      if (code == TWCC_SUCCESS) gXferCount = value;
      return code;
    }
    case ICAP_PIXELTYPE:
      return SetPixelType(capability);
    case ICAP_XFERMECH:
      return SetXferMech(capability);
    case ICAP_PIXELFLAVOR: {
      TW_UINT16 code = ReadAnyItem(capability, &value);
      if (code == TWCC_SUCCESS) gPixelFlavor[gPixelType] = static_cast<TW_UINT16>(value);
      return code;
    }
    case ICAP_BITDEPTH:
      return SetBitDepth(capability);
    case ICAP_UNITS:
    case ICAP_BITORDER:
    case ICAP_XRESOLUTION:
    case ICAP_YRESOLUTION:
      return TWCC_SUCCESS;
    default:
      return TWCC_BADCAP;
  }
}

TW_UINT16 ResetCapability(TW_CAPABILITY* capability) {
  switch (capability->Cap) {
    case ICAP_XFERMECH:
      gXferMech = TWSX_NATIVE;
      return OneValue16(capability, TWSX_NATIVE);
    case CAP_XFERCOUNT:
      gXferCount = 65535;
      return MakeOneValueContainer(capability, TWTY_INT16, kMinusOne16);
    case ICAP_PIXELTYPE:
      gPixelType = TWPT_RGB;
      return OneValue16(capability, TWPT_RGB);
    case ICAP_BITDEPTH:
      ResetCapabilityDefaults();
      return EightOrSixteen(capability, 0);
    case ICAP_UNITS:
    case ICAP_BITORDER:
    case ICAP_XRESOLUTION:
    case ICAP_YRESOLUTION:
      return TWCC_SUCCESS;
    default:
      return TWCC_BADCAP;
  }
}

TW_UINT16 OnCapability(const TwainCall& call) {
  auto* capability = static_cast<TW_CAPABILITY*>(call.data);
  if (!capability) return FailWith(TWCC_BADVALUE);
  TW_UINT16 code;
  switch (call.message) {
    case MSG_GET:
      code = GetCapability(capability);
      break;
    case MSG_GETCURRENT:
    case MSG_GETDEFAULT:
      code = GetCurrentCapability(capability, call.message);
      break;
    case MSG_SET:
      code = SetCapability(capability);
      break;
    case MSG_RESET:
      code = ResetCapability(capability);
      break;
    default:
      code = TWCC_BADPROTOCOL;
      break;
  }
  gConditionCode = code;
  return code == TWCC_SUCCESS ? TWRC_SUCCESS : TWRC_FAILURE;
}

bool WantsCmyk8Memory() { return IsMemoryTransfer() && gBitDepthFlags[TWPT_CMYK][kDepth8]; }
bool WantsBw1() { return gBitDepthFlags[TWPT_BW][kDepth1]; }
bool WantsGray8() { return gBitDepthFlags[TWPT_GRAY][kDepth8]; }
bool WantsRgb8() { return gBitDepthFlags[TWPT_RGB][kDepth8]; }
bool WantsRgb16Memory() { return IsMemoryTransfer() && gBitDepthFlags[TWPT_RGB][kDepth16]; }
bool WantsGray16Memory() { return IsMemoryTransfer() && gBitDepthFlags[TWPT_GRAY][kDepth16]; }
bool IsTransferCountLimited() { return gXferCount < 65535; }
