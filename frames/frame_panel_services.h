// What the frame panel needs from the layers above it: the device's
// resolution range, the pending-edit note of the main window and the size
// units. The main window installs them at module attach.
#pragma once

#include <cstdint>

#include "frames/panel_bounds.h"
#include "frames/panel_sizes.h"

struct FramePanelServices {
  PanelLimits (*limits)() = nullptr;
  void (*notePendingEdit)(bool pending, uint16_t id) = nullptr;
  // Units per inch of a size unit; pixels take pixelFactor (the output resolution).
  double (*unitFactor)(int unit, double pixelFactor) = nullptr;
  PanelScaleLimiter clampScale = nullptr;
  // Settles a frame's scan resolution and scan pixel sizes as a scan would.
  void (*settleScanSize)(FrameRecord* frame) = nullptr;
};

void InstallFramePanelServices(const FramePanelServices& services);

PanelLimits CurrentPanelLimits();
void NotePanelFieldPending(bool pending, uint16_t id);
double PanelUnitFactor(int unit, double pixelFactor);
// Null without the main window: scales are then not limited.
PanelScaleLimiter PanelScaleClamp();
// The scan pixel sizes a scan of the frame would have: the frame's own
// without the main window.
void SettlePanelScanSize(FrameRecord* frame);
