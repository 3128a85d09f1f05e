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

// Signature of the two entry points.
#if defined(_WIN32)
#define TW_CALLINGSTYLE __stdcall
#else
#define TW_CALLINGSTYLE
#endif
typedef TW_UINT16(TW_CALLINGSTYLE* DSENTRYPROC)(pTW_IDENTITY, TW_UINT32, TW_UINT16, TW_UINT16, TW_MEMREF);
typedef TW_UINT16(TW_CALLINGSTYLE* DSMENTRYPROC)(pTW_IDENTITY, pTW_IDENTITY, TW_UINT32, TW_UINT16, TW_UINT16,
                                                  TW_MEMREF);
