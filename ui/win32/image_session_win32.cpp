#include "ui/win32/image_session_win32.h"

#include <string>

#include "color/matrix12_presets.h"
#include "color/selective_color.h"
#include "color/selective_presets.h"
#include "foundation/file_names.h"
#include "foundation/pstring.h"
#include "foundation/settings_folders.h"
#include "foundation/file_io.h"
#include "frames/frame_list.h"
#include "frames/frame_panel.h"
#include "frames/frame_storage.h"
#include "session/device_chooser.h"
#include "session/device_layer.h"
#include "session/device_state.h"
#include "session/frame_geometry.h"
#include "session/preview_store.h"
#include "session/scan_session.h"
#include "session/user_interface_hooks.h"
#include "state/data_source_state.h"
#include "tone/fixed_pipette_window.h"
#include "ui/defaults_record.h"
#include "ui/dialog_shell.h"
#include "ui/frame_region_refresh.h"
#include "ui/main_commands.h"
#include "ui/option_records.h"
#include "ui/preview_orientation_store.h"
#include "ui/ui_state_records.h"
#include "ui/win32/dialog_size_win32.h"
#include "ui/win32/frame_edit_view_win32.h"
#include "ui/win32/main_caption_win32.h"
#include "ui/win32/main_dialog_win32.h"
#include "ui/window_state_records.h"

namespace {

constexpr int kPreviewControl = 1047;

// The name of the open image's row, by which it is found again after a failed open.
std::string OpenRowName() {
  if (gDeviceLayer.deviceIndex >= gDeviceTable.count) return std::string();
  char name[64];
  EntryNameText(gDeviceTable.entries[gDeviceLayer.deviceIndex], name);
  return name;
}

// The window shows the current frame: painted with the outlines and its
// preview corrected for it.
void ShowCurrentFrame(HWND dialog) {
  UpdateWindow(dialog);
  PaintPreviewNow(dialog);
  if (gCurrentFrame) {
    PreviewEditView view(dialog, kPreviewControl);
    const FrameRecord frame = *gCurrentFrame;
    // The preview-correction flag is not kept yet: its clear state.
    RefreshPreviewAfterFrameChange(frame, true, false, 2, view);
  }
}

void DeleteDeviceSettings() {
  char prefs[512];
  unsigned char name[256];
  if (!GetPrefsFolder(prefs)) return;
  MakeDevicePrefsFileName(name);
  DeleteFileAt((std::string(prefs) + PStrToC(name)).c_str());
}

}  // namespace

bool ReopenImageSession(const DeviceEntry& entry, bool* posted, bool discard) {
  HWND dialog = static_cast<HWND>(gMainDialog);
  SaveFrameList();
  SaveColourBalanceAndDefaults();
  if (dialog) SaveDialogSize(dialog);
  SavePreviewOrientation();
  CloseDeviceStore();

  const std::string previous = OpenRowName();
  if (!OpenSourceDevice(entry)) {
    BuildDeviceTable(&gDeviceTable);
    const uint16_t row = previous.empty() ? 0 : FindDeviceRowByName(gDeviceTable, previous.c_str());
    if (row != 0) OpenDeviceRow(row);
    OpenDeviceStore();
    return false;
  }

  LoadImageGeometry();
  ClearFixedPipettePoints();
  UpdateFixedPipetteWindow();
  ResetDeviceStatus();
  InitDeviceCapabilities();
  ComputeScanAreaInches();
  FreeSelectiveColorLuts();
  FreeColorMatrix12State();
  ResetSelectiveColor();
  InitColorMatrix12State();
  DeleteAllFrames();
  SaveDialogPositions();
  FreePreviewBuffers();
  MoveDeviceStoreToPrefs();
  if (discard) DeleteDeviceSettings();

  OpenDeviceStore();
  InstallSelectiveColorPresets();
  InstallColorMatrixPresets();
  InitToneTools();
  CheckScreenGeometry(true);
  LoadPreviewOrientation();
  gPreviewZoomed = false;

  DeleteAllFrames();
  ResetUiState();
  ReloadFramePanel();
  if (dialog) {
    // Another image is another device: the caption names it.
    SetMainCaption();
    ApplyStoredDialogSize(dialog, gPreviewZoomed);
    LayoutPreviewArea(dialog);
    ShowCurrentFrame(dialog);
  }
  const bool wasPosted = PostDeviceCommand(kCommandDevicePrescan, false);
  if (posted) *posted = wasPosted;
  return true;
}

void RefreshMainEditor() {
  HWND dialog = static_cast<HWND>(gMainDialog);
  if (!dialog) return;
  ShowCurrentFrame(dialog);
  RefreshFramePanel();
}

void InstallImageSessionReopen() {
  SessionUserInterfaceHooks hooks = SessionUserInterface();
  hooks.reopenImageSession = [](const DeviceEntry& entry) { return ReopenImageSession(entry, nullptr, false); };
  InstallSessionUserInterfaceHooks(hooks);
}
