// The device layer's own module record: the image that plays the scanner,
// what was read of it, and the device table offered to the user.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "foundation/memory.h"
#include "readers/image_file_reader.h"
#include "records/image_file_info.h"
#include "session/device_table.h"

// The record of the device's abilities read by the capabilities and the
// user interface; an image file has no options, so the rest stays fixed.
struct DeviceDescription {
  bool blackAndWhite;
  uint16_t bitsPerSample;  // 8 or 16
  uint16_t bitsPerPixel;   // 24 or 48
  uint16_t minResolution;  // 10
  uint16_t maxResolution;  // 1000
  bool has16Bits;
  // The film set corrects film negatives; an image file offers no such correction.
  bool filmCorrection;
};

struct ProgressRange {
  int32_t start;
  int32_t end;
};

// The state of one band-wise read of the image.
struct DeviceReadState {
  std::unique_ptr<ImageFileReader> reader;
  MemHandle sourceBuffer = nullptr;
  MemHandle outputBuffer = nullptr;
  int32_t sourceLeft = 0, sourceTop = 0, sourceWidth = 0, sourceHeight = 0;
  int32_t outputWidth = 0, outputHeight = 0;
  int32_t bytesPerPixel = 1;
  int32_t bitsPerSample = 8;  // of the source lines
  bool lineArt = false;
  int32_t channels = 1;
  double scale = 1.0;
  int32_t sourceLinesRead = 0;
  int32_t outputLinesMade = 0;
  bool resampling = false;
  // With the 16-bit intermediate stage on: the frame's own depth, the lines
  // as read before the stage, and the colour-management mode the read replaced.
  int32_t outputBits = 8;
  // A grey frame of a colour image in the stage: read as three planes and
  // reduced to one by the grey channel choice (0 the average, 1-3 one channel).
  bool greyFromPlanes = false;
  uint8_t greyChannelChoice = 0;
  std::vector<uint16_t> intermediateLines;
  bool cmsModeReplaced = false;
  int16_t replacedCmsMode = 0;
};

// The device's multi-scan: whether it offers one, whether the user switched
// it off, and its table of 8-byte entries by pass mode, whose first word is
// the pass count. An image file offers none.
struct MultiScanEntry {
  uint16_t passCount;
  uint16_t reserved[3];
};
static_assert(sizeof(MultiScanEntry) == 8, "entries of 8 bytes");
constexpr uint32_t kMultiScanModes = 8;
struct MultiScanAbility {
  bool offered = false;
  bool switchedOff = false;
  MultiScanEntry table[kMultiScanModes] = {};
};

struct DeviceLayerState {
  char imagePath[256] = {};
  ImageFileReader* sideReader = nullptr;
  std::unique_ptr<ImageFileReader> ownedSideReader;
  ImageFileInfo openedInfo = {};    // read when the device was opened
  ImageFileInfo geometryInfo = {};  // of the last geometry read
  ImageFileInfo sideInfo = {};
  bool rawRead = false;
  DeviceDescription description = {};
  uint16_t deviceKind = 0;
  uint16_t deviceIndex = 0;
  uint16_t kindWords[2] = {};
  uint32_t imageWidth = 0;
  uint32_t imageHeight = 0;
  uint16_t minResolution = 0;
  uint16_t maxResolution = 0;
  ProgressRange progress[3] = {};
  uint8_t stopFlag = 0;
  // Scan area (whole image) and status flags.
  uint32_t scanAreaWidth = 0;
  uint32_t scanAreaHeight = 0;
  uint16_t statusFlags = 0;
  bool changePending = false;
  bool postingEnabled = true;
  // The result of OleInitialize; kOleNotInitialised before the first call.
  int32_t oleResult = kOleNotInitialised;
  DeviceReadState read;
  MultiScanAbility multiScan;
  DeviceTable table = {};

  static constexpr int32_t kOleNotInitialised = -1;
};

extern DeviceLayerState gDeviceLayer;

// Under the names the rest of the source uses.
inline char (&gImagePath)[256] = gDeviceLayer.imagePath;
inline DeviceTable& gDeviceTable = gDeviceLayer.table;
