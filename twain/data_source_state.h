// The data source's session state: everything a session keeps lives in this
// one record, which MSG_OPENDS resets as a whole so that every session starts
// from zero. Later parts of the source add their members here.
#pragma once

#include <cstdint>

#include "foundation/file_io.h"
#include "foundation/memory.h"
#include "frames/frame_state_area.h"
#include "twain/platform.h"

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

struct DataSourceState {
  WindowRef mainDialog = nullptr;
  AcceleratorRef mainAccelerators[2] = {};
  uint16_t sessionEnded = 0;  // 1 once the user interface has ended the session
  ResolutionList resolutionList = {};
  ScanAreaInches scanAreaInches = {};
  FrameStateArea frameState = {};
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
inline FrameRecord& gScanFrame = gDataSourceState.frameState.defaultFrame;
// The record of the frame list's first node (frames/frame_list.h), or null.
inline FrameRecord*& gCurrentFrame = gDataSourceState.currentFrame;
inline bool& gBatchOutput = gDataSourceState.batchOutput;
inline bool& gFileOutputMode = gDataSourceState.fileOutputMode;
inline FileHandle& gDeviceStore = gDataSourceState.deviceStore;
inline FileHandle& gAppStore = gDataSourceState.appStore;
inline ModuleRef& gResModule = gDataSourceState.resModule;
inline WindowRef& gJobManagerWindow = gDataSourceState.jobManagerWindow;

// Back to the state of a fresh session.
void ResetDataSourceState();
