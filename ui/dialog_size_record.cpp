#include "ui/dialog_size_record.h"

#include "frames/orientation/preview_orientation.h"
#include "session/device_layer.h"

int32_t DialogSizeRecordId(bool transparency, bool optionMode, int16_t slot, bool zoomed) {
  int32_t id;
  if (optionMode) {
    id = (slot >= 1 && slot <= 9) ? slot + 1 : 1;
  } else {
    id = transparency ? 51 : 50;
  }
  if (OrientationSwapAxes()) id += 100;
  int32_t width = 0;
  int32_t height = 0;
  GetDeviceScanExtent(&width, &height);
  if (width > height) id += 1000;
  if (zoomed) id += 4000;
  return id;
}
