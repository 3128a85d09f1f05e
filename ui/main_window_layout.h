// The main window's size rules: the preview keeps the aspect of what it
// shows, is never smaller than the device's resolutions allow and never
// outgrows the work area.
#pragma once

#include <cstdint>

#include "foundation/geometry.h"

struct MinimumPreviewInputs {
  int32_t extentWidth;   // scan area in device pixels, as the preview shows it (axes swapped by a turn)
  int32_t extentHeight;
  int32_t minPercent;    // the device's smallest scale
  uint16_t factorA;      // the device's preview factors
  uint16_t factorB;
  int32_t panelHeight;   // the frame panel's content height below the preview's top; 0 without a panel
  double ratio;          // preview height over width
};

// Raises width and height to the smallest preview the inputs allow.
void MinimumPreviewSize(int32_t* width, int32_t* height, const MinimumPreviewInputs& inputs);

struct MainWindowSizing {
  double ratio;             // preview height over width
  int32_t minWidth;         // MinimumPreviewSize
  int32_t minHeight;
  int32_t extraWidth;       // the window minus the preview control
  int32_t extraHeight;
  WinRect work;             // the desktop's work area
};

// The window rectangle a sizing drag (WM_SIZING edge 1-8) or a layout (0)
// ends in: the dragged side leads and the opposite edge stays; for 0 the
// top-left corner stays and the larger side leads. The preview part keeps the
// ratio, is raised to the minimum, then limited to the work area with both
// sides shrinking together; the window is moved back inside the work area.
WinRect LimitMainWindowRect(const WinRect& dragged, int edge, const MainWindowSizing& sizing);

// A rectangle (inches) back inside the area after the window was resized: a
// side longer than the area's becomes the area's, an origin that pushes the
// rectangle out moves back to the area less the size.
void KeepRectInArea(double* x, double* y, double* width, double* height, double areaWidth, double areaHeight);
