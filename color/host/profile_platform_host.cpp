// The host build has no registry, screen or combo boxes.
#include "color/color_calibration.h"
#include "color/profile_files.h"

bool HostMonitorProfilePath(char*) { return false; }
bool DisplayProfilePath(void*, char*) { return false; }
void FillProfileCombo(void*, int) {}
void FillCalibrationProfileCombo(void*, int) {}
