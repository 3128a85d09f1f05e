// The data source's session state: everything a session keeps lives in this
// one record, which MSG_OPENDS resets as a whole so that every session starts
// from zero. Later parts of the source add their members here.
#pragma once

#include <cstdint>

#include "foundation/file_io.h"
#include "foundation/memory.h"
#include "records/frame_state_area.h"
#include "state/platform_refs.h"

// Resolutions the image offers, ascending.
struct ResolutionList {
  uint16_t count;
  uint16_t values[64];
};

// Physical size of the image in inches.
struct ScanAreaInches {
  double width;
  double height;
};

// The buffers and counters of the band producer for one scan.
struct ScanBandState {
  MemHandle bandBuffer = nullptr;
  MemHandle outputBuffer = nullptr;      // the second buffer: oriented or interleaved bands
  MemHandle filterCopyBuffer = nullptr;  // the sharpening filters' copy of a read
  MemHandle workBuffer = nullptr;        // one-row conversions (plane exchange, CMYK separation)
  void* filterCarryBlock = nullptr;      // rows the sharpening filters carry between reads
  void* labLineBuffer = nullptr;
  void* transformLineBuffer = nullptr;
  uint32_t lineCounter = 0;  // rows read so far
  uint8_t passByte = 0;   // non-zero once the source is done
  uint8_t firstBand = 0;  // set at allocation; the sharpening filters clear it
  uint8_t multiScan = 0;  // the read runs through the multi-scan passes
};

// A fixed measuring point pinned on the preview, kept in scan-area inches and
// in pixels of the preview image (before its orientation).
struct MarkedPoint {
  bool set;
  double x, y;
  int32_t px, py;
};
constexpr int kMarkedPointCount = 4;

struct DataSourceState {
  WindowRef mainDialog = nullptr;
  AcceleratorRef mainAccelerators[2] = {};
  uint16_t sessionEnded = 0;  // 1 once the user interface has ended the session
  ResolutionList resolutionList = {};
  ScanAreaInches scanAreaInches = {};
  bool deviceHas16Bits = false;  // the open image has 16 bits per sample
  uint8_t lightSourceFlag = 0;
  uint8_t optionUnitFlag = 0;
  int16_t optionSlot = 0;  // the option unit's selected slot
  FrameStateArea frameStateArea = {};  // the defaults block and the frame templates
  bool prescanNeeded = false;
  FrameRecord* currentFrame = nullptr;
  bool batchOutput = false;
  bool fileOutputMode = false;
  FileHandle deviceStore = nullptr;
  FileHandle appStore = nullptr;
  ModuleRef resModule = nullptr;
  MemHandle previewPendingHandle = nullptr;
  WindowRef toolWindow = nullptr;
  WindowRef jobManagerWindow = nullptr;
  ScanBandState band = {};
  bool sixteenBitColorOption = false;  // colour management may run in the 16-bit intermediate stage
  uint16_t batchIndex = 0;             // frame in transfer and last frame of a batch; 0 outside one
  uint16_t batchLast = 0;
  uint8_t activePoints[7] = {};   // which marked points are active
  uint16_t colourBalanceGear = 0;
  uint8_t toolDialogBusy = 0;     // a modal tool dialog runs
  MarkedPoint markedPoints[kMarkedPointCount] = {};
};

extern DataSourceState gDataSourceState;

// The session state under the names the rest of the source uses.
inline WindowRef& gMainDialog = gDataSourceState.mainDialog;
inline AcceleratorRef (&gMainAccelerators)[2] = gDataSourceState.mainAccelerators;
inline uint16_t& gSessionEnded = gDataSourceState.sessionEnded;
inline ResolutionList& gResolutionList = gDataSourceState.resolutionList;
inline ScanAreaInches& gScanAreaInches = gDataSourceState.scanAreaInches;
inline uint8_t& gLightSourceFlag = gDataSourceState.lightSourceFlag;
inline uint8_t& gOptionUnitFlag = gDataSourceState.optionUnitFlag;
inline int16_t& gOptionSlot = gDataSourceState.optionSlot;
inline DefaultsBlock& gDefaults = gDataSourceState.frameStateArea.defaults;
inline bool& gPrescanNeeded = gDataSourceState.prescanNeeded;
// The frame frozen for the transfer, which also stands in for a missing frame list.
inline FrameRecord& gScanFrame = gDataSourceState.frameStateArea.defaultFrame;
// The record of the frame list's first node (frames/frame_list.h), or null.
inline FrameRecord*& gCurrentFrame = gDataSourceState.currentFrame;
inline bool& gBatchOutput = gDataSourceState.batchOutput;
inline bool& gFileOutputMode = gDataSourceState.fileOutputMode;
inline FileHandle& gDeviceStore = gDataSourceState.deviceStore;
inline FileHandle& gAppStore = gDataSourceState.appStore;
inline ModuleRef& gResModule = gDataSourceState.resModule;
inline WindowRef& gJobManagerWindow = gDataSourceState.jobManagerWindow;

inline ScanBandState& gBand = gDataSourceState.band;
inline bool& gSixteenBitColorOption = gDataSourceState.sixteenBitColorOption;
inline uint16_t& gBatchIndex = gDataSourceState.batchIndex;
inline uint16_t& gBatchLast = gDataSourceState.batchLast;
inline uint8_t& gToolDialogBusy = gDataSourceState.toolDialogBusy;
inline MarkedPoint (&gMarkedPoints)[kMarkedPointCount] = gDataSourceState.markedPoints;

// Back to the state of a fresh session.
void ResetDataSourceState();
