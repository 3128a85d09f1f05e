#include "ui/win32/main_caption_win32.h"

#include <windows.h>

#include "color/color_profile_set.h"
#include "foundation/log/version_info.h"
#include "foundation/pstring.h"
#include "frames/frame_color_steps.h"
#include "frames/main_caption.h"
#include "session/device_state.h"
#include "state/data_source_state.h"
#include "ui/device_names.h"

void SetMainCaption() {
  CaptionParts parts;
  char version[256] = "";
  ReadVersionNumber(version);
  parts.version = version;
  const DeviceLayerState& device = gDeviceLayer;
  if (device.deviceIndex < device.table.count) {
    unsigned char name[256];
    char text[256];
    FormatDeviceName(name, device.table.entries[device.deviceIndex], false, true);
    PStrToText(name, text);
    parts.deviceName = text;
  }
  // The shown separation: the soft proof's ink, or all of them.
  parts.outputConversion = UsesOutputConversion();
  parts.separationChannel = gColorProfileSet.proofChannel;
  // The job editor does not exist yet: its part stays off.
  if (gMainDialog) SetWindowTextA(static_cast<HWND>(gMainDialog), ComposeMainCaption(parts).c_str());
}
