// TWAIN 1.6 records and codes as the source manager passes them: packed on
// 2-byte boundaries, written from the published layouts.
#pragma once

#include <cstddef>
#include <cstdint>

typedef uint8_t TW_UINT8;
typedef uint16_t TW_UINT16;
typedef uint32_t TW_UINT32;
typedef int16_t TW_INT16;
typedef int32_t TW_INT32;
typedef uint16_t TW_BOOL;
typedef void* TW_MEMREF;
typedef char TW_STR32[34];

#pragma pack(push, 2)

struct TW_VERSION {
  TW_UINT16 MajorNum;
  TW_UINT16 MinorNum;
  TW_UINT16 Language;
  TW_UINT16 Country;
  TW_STR32 Info;
};

struct TW_IDENTITY {
  TW_UINT32 Id;
  TW_VERSION Version;
  TW_UINT16 ProtocolMajor;
  TW_UINT16 ProtocolMinor;
  TW_UINT32 SupportedGroups;
  TW_STR32 Manufacturer;
  TW_STR32 ProductFamily;
  TW_STR32 ProductName;
};

#pragma pack(pop)

static_assert(sizeof(TW_VERSION) == 42, "TW_VERSION layout");
static_assert(sizeof(TW_IDENTITY) == 156, "TW_IDENTITY layout");
static_assert(offsetof(TW_IDENTITY, ProtocolMajor) == 46, "TW_IDENTITY layout");
static_assert(offsetof(TW_IDENTITY, SupportedGroups) == 50, "TW_IDENTITY layout");
static_assert(offsetof(TW_IDENTITY, Manufacturer) == 54, "TW_IDENTITY layout");
static_assert(offsetof(TW_IDENTITY, ProductName) == 122, "TW_IDENTITY layout");

typedef TW_IDENTITY* pTW_IDENTITY;

// The source manager's module: TWAIN names the 64-bit one differently.
constexpr const char* kSourceManagerModule = sizeof(void*) == 8 ? "TWAINDSM.DLL" : "TWAIN_32.DLL";

// A movable memory block handed between source and application; the
// receiver frees it. In the product it is a global memory handle.
typedef void* TW_HANDLE;

#pragma pack(push, 2)

struct TW_FIX32 {
  TW_INT16 Whole;
  TW_UINT16 Frac;
};

struct TW_FRAME {
  TW_FIX32 Left;
  TW_FIX32 Top;
  TW_FIX32 Right;
  TW_FIX32 Bottom;
};

struct TW_CAPABILITY {
  TW_UINT16 Cap;
  TW_UINT16 ConType;
  TW_HANDLE hContainer;
};

struct TW_ONEVALUE {
  TW_UINT16 ItemType;
  TW_UINT32 Item;
};

struct TW_ENUMERATION {
  TW_UINT16 ItemType;
  TW_UINT32 NumItems;
  TW_UINT32 CurrentIndex;
  TW_UINT32 DefaultIndex;
  TW_UINT8 ItemList[1];
};

struct TW_ARRAY {
  TW_UINT16 ItemType;
  TW_UINT32 NumItems;
  TW_UINT8 ItemList[1];
};

struct TW_USERINTERFACE {
  TW_BOOL ShowUI;
  TW_BOOL ModalUI;
  TW_HANDLE hParent;
};

struct TW_STATUS {
  TW_UINT16 ConditionCode;
  TW_UINT16 Reserved;
};

struct TW_EVENT {
  TW_MEMREF pEvent;
  TW_UINT16 TWMessage;
};

struct TW_PENDINGXFERS {
  TW_UINT16 Count;
  TW_UINT32 Reserved;
};

struct TW_IMAGEINFO {
  TW_FIX32 XResolution;
  TW_FIX32 YResolution;
  TW_INT32 ImageWidth;
  TW_INT32 ImageLength;
  TW_INT16 SamplesPerPixel;
  TW_INT16 BitsPerSample[8];
  TW_INT16 BitsPerPixel;
  TW_BOOL Planar;
  TW_INT16 PixelType;
  TW_UINT16 Compression;
};

struct TW_IMAGELAYOUT {
  TW_FRAME Frame;
  TW_UINT32 DocumentNumber;
  TW_UINT32 PageNumber;
  TW_UINT32 FrameNumber;
};

struct TW_SETUPMEMXFER {
  TW_UINT32 MinBufSize;
  TW_UINT32 MaxBufSize;
  TW_UINT32 Preferred;
};

struct TW_MEMORY {
  TW_UINT32 Flags;
  TW_UINT32 Length;
  TW_MEMREF TheMem;
};

struct TW_IMAGEMEMXFER {
  TW_UINT16 Compression;
  TW_UINT32 BytesPerRow;
  TW_UINT32 Columns;
  TW_UINT32 Rows;
  TW_UINT32 XOffset;
  TW_UINT32 YOffset;
  TW_UINT32 BytesWritten;
  TW_MEMORY Memory;
};

#pragma pack(pop)

static_assert(sizeof(TW_FIX32) == 4, "TW_FIX32 layout");
static_assert(sizeof(TW_FRAME) == 16, "TW_FRAME layout");
static_assert(sizeof(TW_ONEVALUE) == 6, "TW_ONEVALUE layout");
static_assert(offsetof(TW_ENUMERATION, ItemList) == 14, "TW_ENUMERATION layout");
static_assert(offsetof(TW_ARRAY, ItemList) == 6, "TW_ARRAY layout");
static_assert(sizeof(TW_STATUS) == 4, "TW_STATUS layout");
static_assert(sizeof(TW_PENDINGXFERS) == 6, "TW_PENDINGXFERS layout");
static_assert(sizeof(TW_IMAGEINFO) == 42, "TW_IMAGEINFO layout");
static_assert(offsetof(TW_IMAGEINFO, SamplesPerPixel) == 16, "TW_IMAGEINFO layout");
static_assert(offsetof(TW_IMAGEINFO, PixelType) == 38, "TW_IMAGEINFO layout");
static_assert(sizeof(TW_IMAGELAYOUT) == 28, "TW_IMAGELAYOUT layout");
static_assert(sizeof(TW_SETUPMEMXFER) == 12, "TW_SETUPMEMXFER layout");
static_assert(offsetof(TW_IMAGEMEMXFER, Memory) == 26, "TW_IMAGEMEMXFER layout");
static_assert(offsetof(TW_CAPABILITY, hContainer) == 4, "TW_CAPABILITY layout");
static_assert(offsetof(TW_USERINTERFACE, hParent) == 4, "TW_USERINTERFACE layout");
static_assert(offsetof(TW_EVENT, TWMessage) == sizeof(TW_MEMREF), "TW_EVENT layout");
// The records that carry a handle or pointer have the published sizes of
// their architecture: 32-bit Windows (the product), and 64-bit Windows with
// 8-byte handles and pointers in the same 2-byte packing (the 64-bit test
// build, and the host checks).
constexpr bool kTwainPointers32 = sizeof(void*) == 4;
static_assert(sizeof(void*) == 4 || sizeof(void*) == 8, "TWAIN has 32- and 64-bit layouts only");
static_assert(sizeof(TW_CAPABILITY) == (kTwainPointers32 ? 8 : 12), "TW_CAPABILITY layout");
static_assert(sizeof(TW_USERINTERFACE) == (kTwainPointers32 ? 8 : 12), "TW_USERINTERFACE layout");
static_assert(sizeof(TW_EVENT) == (kTwainPointers32 ? 6 : 10), "TW_EVENT layout");
static_assert(sizeof(TW_MEMORY) == (kTwainPointers32 ? 12 : 16), "TW_MEMORY layout");
static_assert(offsetof(TW_MEMORY, TheMem) == 8, "TW_MEMORY layout");
static_assert(sizeof(TW_IMAGEMEMXFER) == (kTwainPointers32 ? 38 : 42), "TW_IMAGEMEMXFER layout");

// Data groups, data argument types and messages.
enum : TW_UINT32 { DG_CONTROL = 0x0001, DG_IMAGE = 0x0002 };
enum : TW_UINT16 {
  DAT_NULL = 0x0000,
  DAT_CAPABILITY = 0x0001,
  DAT_EVENT = 0x0002,
  DAT_IDENTITY = 0x0003,
  DAT_PARENT = 0x0004,
  DAT_PENDINGXFERS = 0x0005,
  DAT_SETUPMEMXFER = 0x0006,
  DAT_STATUS = 0x0008,
  DAT_USERINTERFACE = 0x0009,
  DAT_XFERGROUP = 0x000a,
  DAT_IMAGEINFO = 0x0101,
  DAT_IMAGELAYOUT = 0x0102,
  DAT_IMAGEMEMXFER = 0x0103,
  DAT_IMAGENATIVEXFER = 0x0104,
  DAT_CUSTOMBASE = 0x8000,
};
enum : TW_UINT16 {
  MSG_GET = 0x0001,
  MSG_GETCURRENT = 0x0002,
  MSG_GETDEFAULT = 0x0003,
  MSG_GETFIRST = 0x0004,
  MSG_GETNEXT = 0x0005,
  MSG_SET = 0x0006,
  MSG_RESET = 0x0007,
  MSG_QUERYSUPPORT = 0x0008,
  MSG_XFERREADY = 0x0101,
  MSG_CLOSEDSREQ = 0x0102,
  MSG_OPENDSM = 0x0301,
  MSG_CLOSEDSM = 0x0302,
  MSG_OPENDS = 0x0401,
  MSG_CLOSEDS = 0x0402,
  MSG_USERSELECT = 0x0403,
  MSG_DISABLEDS = 0x0501,
  MSG_ENABLEDS = 0x0502,
  MSG_ENABLEDSUIONLY = 0x0503,
  MSG_PROCESSEVENT = 0x0601,
  MSG_ENDXFER = 0x0701,
};

// Return codes.
enum : TW_UINT16 {
  TWRC_SUCCESS = 0,
  TWRC_FAILURE = 1,
  TWRC_CHECKSTATUS = 2,
  TWRC_CANCEL = 3,
  TWRC_DSEVENT = 4,
  TWRC_NOTDSEVENT = 5,
  TWRC_XFERDONE = 6,
  TWRC_ENDOFLIST = 7,
};

// Condition codes.
enum : TW_UINT16 {
  TWCC_SUCCESS = 0,
  TWCC_BUMMER = 1,
  TWCC_LOWMEMORY = 2,
  TWCC_NODS = 3,
  TWCC_MAXCONNECTIONS = 4,
  TWCC_OPERATIONERROR = 5,
  TWCC_BADCAP = 6,
  TWCC_BADPROTOCOL = 9,
  TWCC_BADVALUE = 10,
  TWCC_SEQERROR = 11,
  TWCC_BADDEST = 12,
};

// Container types.
enum : TW_UINT16 { TWON_ARRAY = 3, TWON_ENUMERATION = 4, TWON_ONEVALUE = 5, TWON_RANGE = 6 };

// Item types.
enum : TW_UINT16 {
  TWTY_INT8 = 0x0000,
  TWTY_INT16 = 0x0001,
  TWTY_INT32 = 0x0002,
  TWTY_UINT8 = 0x0003,
  TWTY_UINT16 = 0x0004,
  TWTY_UINT32 = 0x0005,
  TWTY_BOOL = 0x0006,
  TWTY_FIX32 = 0x0007,
  TWTY_FRAME = 0x0008,
  TWTY_STR32 = 0x0009,
  TWTY_STR64 = 0x000a,
  TWTY_STR128 = 0x000b,
  TWTY_STR255 = 0x000c,
};

// Capabilities.
enum : TW_UINT16 {
  CAP_XFERCOUNT = 0x0001,
  ICAP_COMPRESSION = 0x0100,
  ICAP_PIXELTYPE = 0x0101,
  ICAP_UNITS = 0x0102,
  ICAP_XFERMECH = 0x0103,
  CAP_SUPPORTEDCAPS = 0x1005,
  CAP_UICONTROLLABLE = 0x100e,
  ICAP_PHYSICALWIDTH = 0x1111,
  ICAP_PHYSICALHEIGHT = 0x1112,
  ICAP_XRESOLUTION = 0x1118,
  ICAP_YRESOLUTION = 0x1119,
  ICAP_BITORDER = 0x111c,
  ICAP_PIXELFLAVOR = 0x111f,
  ICAP_PLANARCHUNKY = 0x1120,
  ICAP_BITDEPTH = 0x112b,
};

// Capability values.
enum : TW_UINT16 { TWPT_BW = 0, TWPT_GRAY = 1, TWPT_RGB = 2, TWPT_PALETTE = 3, TWPT_CMY = 4, TWPT_CMYK = 5 };
enum : TW_UINT16 { TWSX_NATIVE = 0, TWSX_FILE = 1, TWSX_MEMORY = 2 };
enum : TW_UINT16 { TWPF_CHOCOLATE = 0, TWPF_VANILLA = 1 };
enum : TW_UINT16 { TWCP_NONE = 0 };
enum : TW_UINT16 { TWPC_CHUNKY = 0 };
enum : TW_UINT16 { TWBO_LSBFIRST = 0, TWBO_MSBFIRST = 1 };
enum : TW_UINT16 { TWUN_INCHES = 0 };
enum : TW_UINT16 { MSG_NULL = 0x0000 };
// TW_MEMORY flags.
enum : TW_UINT32 { TWMF_APPOWNS = 0x0001, TWMF_DSMOWNS = 0x0002, TWMF_DSOWNS = 0x0004, TWMF_POINTER = 0x0008, TWMF_HANDLE = 0x0010 };

// Signature of the two entry points.
#if defined(_WIN32)
#define TW_CALLINGSTYLE __stdcall
#else
#define TW_CALLINGSTYLE
#endif
typedef TW_UINT16(TW_CALLINGSTYLE* DSENTRYPROC)(pTW_IDENTITY, TW_UINT32, TW_UINT16, TW_UINT16, TW_MEMREF);
typedef TW_UINT16(TW_CALLINGSTYLE* DSMENTRYPROC)(pTW_IDENTITY, pTW_IDENTITY, TW_UINT32, TW_UINT16, TW_UINT16,
                                                  TW_MEMREF);
