// What the jobs need of the main window above the output layer. The main
// window installs its parts at module attach; until then each part does
// nothing: resolutions unclamped, no monitor matching, no rows to redraw, no
// preview to lay out, no automatic setting, no automatic adjustment
// before a file entry's run, no preview for thumbnails, sizes in inches,
// resolutions in dpi, thumbnails drawn unmatched, and no editor controls to
// reset or refresh.
#pragma once

#include <cstdint>

#include "foundation/geometry.h"

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
  // The frame's rectangle on the preview (FrameToPreviewRect); false without a preview.
  bool (*framePreviewRect)(const FrameRecord& frame, WinRect* rect) = [](const FrameRecord&, WinRect*) { return false; };
  // The frame's part of the preview drawn with the flips and axis swap into
  // the 32-bit bitmap at rect; the preview control's client rectangle and the
  // frame's preview rectangle (fixed-point display off) given back. False
  // when there is no preview image.
  bool (*renderFrameThumbnail)(const FrameRecord& frame, uint8_t flipX, uint8_t flipY, uint8_t swapAxes, void* bitmap,
                               const WinRect& rect, WinRect* previewBox, WinRect* framePreview) =
      [](const FrameRecord&, uint8_t, uint8_t, uint8_t, void*, const WinRect&, WinRect*, WinRect*) { return false; };
  // Which value of a pixel a grey thumbnail shows: 0 the average, 1-3 red, green, blue.
  uint8_t (*greyChannelChoice)() = [] { return uint8_t{0}; };
  // Units per inch of a size unit (UnitFactor; pixels take the resolution as factor).
  double (*unitFactor)(int unit, double pixelFactor) = [](int, double) { return 1.0; };
  // The resolution unit of the user interface: 0 dpi, else dpcm.
  uint8_t (*resolutionUnit)() = [] { return uint8_t{0}; };
  // A copy of a thumbnail (32-bit bitmap and its pixels, which may change)
  // drawn matched for the monitor at destination of the DC; false when
  // nothing was drawn (MatchBitmapForMonitor).
  bool (*drawMatchedThumbnail)(void* dc, void* window, void* bitmap, uint32_t* bits, const WinRect& bitmapRect,
                               const WinRect& destination) =
      [](void*, void*, void*, uint32_t*, const WinRect&, const WinRect&) { return false; };
};

void InstallJobWindowHooks(const JobWindowHooks& hooks);
const JobWindowHooks& JobWindow();
