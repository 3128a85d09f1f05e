// The complete settings of one frame: a fixed 2080-byte little-endian record
// that is copied and stored whole (frame lists, frame sets, job items, drag
// and drop, the transfer's frozen copy). Every field keeps its byte offset;
// bytes without a name belong to the correction tools and are carried as they are.
#pragma once

#include <cstddef>
#include <cstdint>

#include "foundation/fixed_point.h"
#include "records/tone_block.h"

constexpr uint32_t kFrameRecordVersion = 6;
constexpr uint32_t kFrameRecordSize = 2080;

// A fixed measuring point of the tone tools, as fractions of the scan area.
struct FramePoint {
  double x;
  double y;
};

// One 14-byte group per tone block (master, channels 1-3): five values, then four bytes.
struct GlobalColorGroup {
  int16_t values[5];
  uint8_t rest[4];
};

struct FrameRecord {
  uint32_t version;                 // 6
  uint32_t initMark;                // 88, written by the initialiser only
  uint8_t colorValues[6];           // per-colour correction values
  uint8_t colorExtras[6];           // non-zero makes the colour tool active
  int16_t selectiveColorMatrix[36]; // 6 x 6, row = source colour, column = target colour
  uint8_t reserved92[770];
  uint16_t scanResolutionX;         // dpi
  uint16_t scanResolutionY;
  uint8_t scanPercentByteX;         // byte form of the scan scales
  uint8_t scanPercentByteY;
  uint16_t oldOriginX;              // 16-bit pixel origin of older records
  uint16_t oldOriginY;
  uint16_t scanPixelWidth;
  uint16_t scanPixelHeight;
  uint8_t reserved876[4];
  double originX;                   // frame rectangle on the scan area, inches
  double originY;
  double width;
  double height;
  double qualityFactor;             // output resolution per screen-ruling line
  int16_t screenRuling;             // lines per inch
  int16_t outputResolution;         // dpi
  int16_t oldScalePercentX;         // used when the f32 scales are 0
  int16_t oldScalePercentY;
  uint8_t bitsPerChannel;           // 1 line art, 8, 16
  uint8_t reserved929[3];
  uint32_t colorMode;               // 2 = RGB: the three channel tone blocks are used
  uint8_t lineArtDither;
  uint8_t setting937;
  uint8_t setting938;
  uint8_t reserved939;
  uint8_t filterMode;               // sharpening and descreening; 2 and 3 double the scan pixel sizes
  uint8_t sharpen941;
  uint16_t sharpen942;
  uint16_t sharpen944;
  uint8_t reserved946[2];
  uint8_t sharpen948;
  uint8_t fastScan;
  uint8_t reserved950[2];
  ToneBlock tone[4];                // master, channels 1-3
  uint8_t defaultSettings[9];
  uint8_t invert;
  uint8_t colorToolActive;
  uint8_t gradationToolActive;
  uint8_t histogramToolActive;
  uint8_t focusMode;                // 0-3
  uint8_t reserved1446[2];
  double focusRect[4];              // x, y, width, height in inches
  uint8_t mirrorH;
  uint8_t mirrorV;
  uint16_t quarterTurns;
  uint8_t autoLampBrightness;
  uint8_t fourthToolActive;
  uint8_t sharpenFlag;
  uint8_t imageType;                // 0-11
  uint16_t sharpen1488;
  uint16_t sharpen1490;
  uint16_t scanPercentX;            // 16-bit form of the scan scales
  uint16_t scanPercentY;
  uint32_t scanOriginX;             // frame origin in scan pixels
  uint32_t scanOriginY;
  uint8_t hasName;
  uint8_t scalesFollowList;
  uint16_t prescanSetting;
  char name[48];                    // zero-terminated, at most 47 characters
  uint16_t focusValue;
  uint8_t dustRemoval;
  uint8_t multiScan;
  Fixed fixedScaleX;                // scanPercentX/Y as 16.16
  Fixed fixedScaleY;
  uint32_t filmProfileRef;
  float filmProfileValue;
  float outputScaleX;               // percent
  float outputScaleY;
  uint8_t reserved1584[24];
  uint32_t selectiveColorMode;      // 1: the 6 x 6 matrix, else the 12 x 6 matrix
  int16_t colorMatrix12[72];
  char maskName[64];                // empty = no mask
  int16_t screenRulingCopy;
  uint8_t reserved1822[2];
  GlobalColorGroup globalColorOffset[4];
  uint8_t globalColorBase[54];      // u16 values at GlobalColorBaseOffset
  uint8_t globalColorRanges;
  uint8_t castRemoval;              // percent, set again by the automatic adjustment
  uint8_t reserved1936[16];
  FramePoint fixedPoints[4];
  float negativeLimits[8];          // four (low, high) pairs
  uint8_t reserved2048;
  uint8_t bitDepthChoice;           // > 0 selects the second 16-bit entry
  uint8_t clearedOnUpgrade[24];     // six u32, not 4-aligned
  uint8_t reserved2074[6];
};

// The u16 base value of gradation point p (1..5) of tone block k (0..3): the
// groups at 1880 follow the 14-byte stride of those at 1824, and the last
// group's tail holds the two bytes at 1934/1935.
constexpr size_t GlobalColorBaseOffset(int k, int p) { return 1880 + 14 * k + 2 * (p - 1); }

static_assert(sizeof(FrameRecord) == kFrameRecordSize, "stored size");
static_assert(offsetof(FrameRecord, version) == 0, "stored layout");
static_assert(offsetof(FrameRecord, initMark) == 4, "stored layout");
static_assert(offsetof(FrameRecord, colorValues) == 8, "stored layout");
static_assert(offsetof(FrameRecord, colorExtras) == 14, "stored layout");
static_assert(offsetof(FrameRecord, selectiveColorMatrix) == 20, "stored layout");
static_assert(offsetof(FrameRecord, scanResolutionX) == 862, "stored layout");
static_assert(offsetof(FrameRecord, scanResolutionY) == 864, "stored layout");
static_assert(offsetof(FrameRecord, scanPercentByteX) == 866, "stored layout");
static_assert(offsetof(FrameRecord, scanPercentByteY) == 867, "stored layout");
static_assert(offsetof(FrameRecord, oldOriginX) == 868, "stored layout");
static_assert(offsetof(FrameRecord, oldOriginY) == 870, "stored layout");
static_assert(offsetof(FrameRecord, scanPixelWidth) == 872, "stored layout");
static_assert(offsetof(FrameRecord, scanPixelHeight) == 874, "stored layout");
static_assert(offsetof(FrameRecord, originX) == 880, "stored layout");
static_assert(offsetof(FrameRecord, originY) == 888, "stored layout");
static_assert(offsetof(FrameRecord, width) == 896, "stored layout");
static_assert(offsetof(FrameRecord, height) == 904, "stored layout");
static_assert(offsetof(FrameRecord, qualityFactor) == 912, "stored layout");
static_assert(offsetof(FrameRecord, screenRuling) == 920, "stored layout");
static_assert(offsetof(FrameRecord, outputResolution) == 922, "stored layout");
static_assert(offsetof(FrameRecord, oldScalePercentX) == 924, "stored layout");
static_assert(offsetof(FrameRecord, oldScalePercentY) == 926, "stored layout");
static_assert(offsetof(FrameRecord, bitsPerChannel) == 928, "stored layout");
static_assert(offsetof(FrameRecord, colorMode) == 932, "stored layout");
static_assert(offsetof(FrameRecord, lineArtDither) == 936, "stored layout");
static_assert(offsetof(FrameRecord, setting937) == 937, "stored layout");
static_assert(offsetof(FrameRecord, setting938) == 938, "stored layout");
static_assert(offsetof(FrameRecord, filterMode) == 940, "stored layout");
static_assert(offsetof(FrameRecord, sharpen941) == 941, "stored layout");
static_assert(offsetof(FrameRecord, sharpen942) == 942, "stored layout");
static_assert(offsetof(FrameRecord, sharpen944) == 944, "stored layout");
static_assert(offsetof(FrameRecord, sharpen948) == 948, "stored layout");
static_assert(offsetof(FrameRecord, fastScan) == 949, "stored layout");
static_assert(offsetof(FrameRecord, tone) == 952, "stored layout");
static_assert(offsetof(FrameRecord, tone) + sizeof(ToneBlock) == 1072, "channel 1 block");
static_assert(offsetof(FrameRecord, tone) + 2 * sizeof(ToneBlock) == 1192, "channel 2 block");
static_assert(offsetof(FrameRecord, tone) + 3 * sizeof(ToneBlock) == 1312, "channel 3 block");
static_assert(offsetof(FrameRecord, defaultSettings) == 1432, "stored layout");
static_assert(offsetof(FrameRecord, invert) == 1441, "stored layout");
static_assert(offsetof(FrameRecord, colorToolActive) == 1442, "stored layout");
static_assert(offsetof(FrameRecord, gradationToolActive) == 1443, "stored layout");
static_assert(offsetof(FrameRecord, histogramToolActive) == 1444, "stored layout");
static_assert(offsetof(FrameRecord, focusMode) == 1445, "stored layout");
static_assert(offsetof(FrameRecord, focusRect) == 1448, "stored layout");
static_assert(offsetof(FrameRecord, mirrorH) == 1480, "stored layout");
static_assert(offsetof(FrameRecord, mirrorV) == 1481, "stored layout");
static_assert(offsetof(FrameRecord, quarterTurns) == 1482, "stored layout");
static_assert(offsetof(FrameRecord, autoLampBrightness) == 1484, "stored layout");
static_assert(offsetof(FrameRecord, fourthToolActive) == 1485, "stored layout");
static_assert(offsetof(FrameRecord, sharpenFlag) == 1486, "stored layout");
static_assert(offsetof(FrameRecord, imageType) == 1487, "stored layout");
static_assert(offsetof(FrameRecord, sharpen1488) == 1488, "stored layout");
static_assert(offsetof(FrameRecord, sharpen1490) == 1490, "stored layout");
static_assert(offsetof(FrameRecord, scanPercentX) == 1492, "stored layout");
static_assert(offsetof(FrameRecord, scanPercentY) == 1494, "stored layout");
static_assert(offsetof(FrameRecord, scanOriginX) == 1496, "stored layout");
static_assert(offsetof(FrameRecord, scanOriginY) == 1500, "stored layout");
static_assert(offsetof(FrameRecord, hasName) == 1504, "stored layout");
static_assert(offsetof(FrameRecord, scalesFollowList) == 1505, "stored layout");
static_assert(offsetof(FrameRecord, prescanSetting) == 1506, "stored layout");
static_assert(offsetof(FrameRecord, name) == 1508, "stored layout");
static_assert(offsetof(FrameRecord, focusValue) == 1556, "stored layout");
static_assert(offsetof(FrameRecord, dustRemoval) == 1558, "stored layout");
static_assert(offsetof(FrameRecord, multiScan) == 1559, "stored layout");
static_assert(offsetof(FrameRecord, fixedScaleX) == 1560, "stored layout");
static_assert(offsetof(FrameRecord, fixedScaleY) == 1564, "stored layout");
static_assert(offsetof(FrameRecord, filmProfileRef) == 1568, "stored layout");
static_assert(offsetof(FrameRecord, filmProfileValue) == 1572, "stored layout");
static_assert(offsetof(FrameRecord, outputScaleX) == 1576, "stored layout");
static_assert(offsetof(FrameRecord, outputScaleY) == 1580, "stored layout");
static_assert(offsetof(FrameRecord, selectiveColorMode) == 1608, "stored layout");
static_assert(offsetof(FrameRecord, colorMatrix12) == 1612, "stored layout");
static_assert(offsetof(FrameRecord, maskName) == 1756, "stored layout");
static_assert(offsetof(FrameRecord, screenRulingCopy) == 1820, "stored layout");
static_assert(offsetof(FrameRecord, globalColorOffset) == 1824, "stored layout");
static_assert(offsetof(FrameRecord, globalColorBase) == GlobalColorBaseOffset(0, 1), "stored layout");
static_assert(GlobalColorBaseOffset(3, 5) + 2 <= offsetof(FrameRecord, globalColorRanges), "stored layout");
static_assert(offsetof(FrameRecord, globalColorRanges) == 1934, "stored layout");
static_assert(offsetof(FrameRecord, castRemoval) == 1935, "stored layout");
static_assert(offsetof(FrameRecord, fixedPoints) == 1952, "stored layout");
static_assert(offsetof(FrameRecord, negativeLimits) == 2016, "stored layout");
static_assert(offsetof(FrameRecord, bitDepthChoice) == 2049, "stored layout");
static_assert(offsetof(FrameRecord, clearedOnUpgrade) == 2050, "stored layout");

// The 5208-byte record of the oldest stores: bytes 0-951 as today, then four
// 864-byte tone blocks that begin with the old 64-byte layout.
struct OldFrameRecord {
  uint8_t bytes[5208];
};

constexpr size_t kOldFrameRecordSize = 5208;
constexpr size_t kOldFrameHeadSize = 952;
constexpr size_t kOldToneBlockOffsets[4] = {952, 1816, 2680, 3544};
constexpr size_t kOldDefaultSettings = 4408;   // 9 bytes
constexpr size_t kOldInvert = 4417;
constexpr size_t kOldToolFlags = 4419;         // 4 bytes: colour, gradation, histogram, focus mode
constexpr size_t kOldFocusRect = 4424;         // 32 bytes
constexpr size_t kOldMirrorH = 4456;
constexpr size_t kOldMirrorV = 4457;
constexpr size_t kOldQuarterTurns = 4458;      // u16
constexpr size_t kOldLampToImageType = 4460;   // 4 bytes: lamp, fourth tool flag, sharpen flag, image type
constexpr size_t kOldSharpen1488 = 4464;       // u16
constexpr size_t kOldSharpen1490 = 4466;       // u16
constexpr size_t kOldScanPercentX = 4468;      // u16
constexpr size_t kOldScanPercentY = 4470;      // u16

static_assert(sizeof(OldFrameRecord) == kOldFrameRecordSize, "stored size");
static_assert(kOldToneBlockOffsets[3] + 864 == kOldDefaultSettings, "old tone blocks end at the settings");
