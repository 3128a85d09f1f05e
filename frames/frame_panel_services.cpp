#include "frames/frame_panel_services.h"

namespace {

FramePanelServices gServices;

}  // namespace

void InstallFramePanelServices(const FramePanelServices& services) { gServices = services; }

// Without the main window: no range to bound by, no pending note, inches.
PanelLimits CurrentPanelLimits() { return gServices.limits ? gServices.limits() : PanelLimits{}; }
void NotePanelFieldPending(bool pending, uint16_t id) {
  if (gServices.notePendingEdit) gServices.notePendingEdit(pending, id);
}
double PanelUnitFactor(int unit, double pixelFactor) {
  return gServices.unitFactor ? gServices.unitFactor(unit, pixelFactor) : 1.0;
}
PanelScaleLimiter PanelScaleClamp() { return gServices.clampScale; }
void SettlePanelScanSize(FrameRecord* frame) {
  if (gServices.settleScanSize) gServices.settleScanSize(frame);
}
