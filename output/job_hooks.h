// What the jobs need of the main window above the output layer. The main
// window installs its parts at module attach; until then each part does
// nothing: resolutions unclamped, no monitor matching, no rows to redraw, no
// preview to lay out, no automatic setting, no automatic adjustment
// before a file entry's run, and no editor controls to reset or refresh.
#pragma once

#include <cstdint>

struct FrameRecord;

struct JobWindowHooks {
  // The scale value limited for its axis (ClampOutputResolution).
  double (*clampOutputResolution)(float value, bool xAxis, const FrameRecord* frame) =
      [](float value, bool, const FrameRecord*) { return static_cast<double>(value); };
  void (*setupMonitorMatching)() = [] {};
  void (*initColourSystem)() = [] {};
  // gScanFrame set up again for the preview (InitPreviewFrameRecordCb).
  void (*initScanFrame)() = [] {};
  // The job manager's row of the 1-based entry.
  void (*redrawJobRow)(int16_t index, int16_t mode) = [](int16_t, int16_t) {};
  // The preview laid out again and its control invalidated, so that it is rebuilt.
  void (*relayoutPreview)() = [] {};
  // The main window's working state and frame panel started afresh for
  // other frames, and (refresh) its panel, tool strip, tone working copy and
  // preview shown for the current frame.
  void (*resetEditor)() = [] {};
  void (*refreshEditor)() = [] {};
  // The global "Automatik vor dem Scan" setting.
  uint8_t (*automaticBeforeScan)() = [] { return uint8_t{0}; };
  void (*setAutomaticBeforeScan)(uint8_t on) = [](uint8_t) {};
  // Posts a command to the main window.
  void (*postMainCommand)(uint16_t command) = [](uint16_t) {};
  // The preview of the image file restored for the frame, so that the
  // automatic adjustment can measure it; failed (true) or not.
  bool (*autoAdjustFile)(const char* imagePath, const FrameRecord& frame) =
      [](const char*, const FrameRecord&) { return false; };
};

void InstallJobWindowHooks(const JobWindowHooks& hooks);
const JobWindowHooks& JobWindow();
