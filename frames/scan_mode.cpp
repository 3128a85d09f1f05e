#include "frames/scan_mode.h"

ScanMode ScanModeOfItem(int item) {
  if (item < 1 || item > 4) return ScanMode{};
  return ScanMode{item == 2 || item == 4, item >= 3};
}

int ScanModeItem(ScanMode mode) { return 1 + (mode.batch ? 1 : 0) + (mode.toFile ? 2 : 0); }
