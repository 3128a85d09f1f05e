// Choosing the image that plays the scanner: open an image, the overview of
// a folder, the current image again, or one of the recent images.
#pragma once

#include <cstdint>

#include "session/device_table.h"

enum : uint32_t {
  kOverviewTitleString = 1013,
  kChooseFolderString = 1015,
  kImageFilePromptString = 475,
  kImageFilterPatternString = 478,
  kImageFilterNameString = 479,
};
constexpr char kCalibrationImageName[] = "QB_CalImage.jpg";

// Progress ranges reset, then the entry's image is chosen and opened; false
// when nothing was opened.
bool OpenSourceDevice(const DeviceEntry& entry);
// Opens the recent image of a row (2 and above); a bad image is reported,
// dropped from the list, and the device index becomes 0xFFFF.
bool OpenDeviceRow(uint16_t row);
