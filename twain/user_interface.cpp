// The session's user interface: built at MSG_ENABLEDS and torn down at
// MSG_DISABLEDS (or a MSG_CLOSEDS that comes first), each step in the order
// the later layers rely on.
#include <string>

#include "color/matrix12_presets.h"
#include "color/selective_color.h"
#include "color/selective_presets.h"
#include "color/cmyk_tables.h"
#include "color/color_management.h"
#include "color/profile_files.h"
#include "foundation/dialogs/alerts.h"
#include "foundation/dialogs/tooltip_flag.h"
#include "foundation/file_io.h"
#include "foundation/log/log_file.h"
#include "foundation/memory.h"
#include "foundation/paths.h"
#include "foundation/record_store.h"
#include "foundation/record_type.h"
#include "frames/frame_list.h"
#include "frames/frame_storage.h"
#include "session/device_layer.h"
#include "session/frame_geometry.h"
#include "session/preview_store.h"
#include "session/scan_session.h"
#include "sharpen/film_profiles.h"
#include "state/data_source_state.h"
#include "twain/source_lifecycle.h"
#include "ui/dialog_shell.h"
#include "ui/option_records.h"
#include "ui/ui_state_records.h"

namespace {

constexpr int kMainAcceleratorIds[2] = {219, 441};

// A damaged settings store still gives a usable source: what does not fit is
// left out, and the user is told with the file named in the log.
void ReportDamagedStore(FileHandle store) {
  char path[kPathSize];
  if (!RecordStoreIsDamaged(store) || !GetOpenFilePath(store, path, sizeof path)) return;
  LogNote((std::string("damaged settings store: ") + path).c_str());
  ShowAlert(GetModuleInstance(), kErrorCaptionString, kDamagedStoreString, false, nullptr);
}

}  // namespace

bool BuildUserInterface() {
  ReportDamagedStore(OpenAppStore());
  if (!SelectSourceDevice()) return false;
  ReportDamagedStore(OpenDeviceStore());
  RecordStoreDeleteIndexed(gDeviceStore, TagFromString("FCNT"), 1);
  ClearFrameCountRecords();

  InstallSelectiveColorPresets();
  InstallColorMatrixPresets();
  InitToneTools();
  LoadImageGeometry();
  ResetDeviceStatus();
  InitDeviceCapabilities();
  // Frames are kept in inches of the scan area, which the open image gives.
  ComputeScanAreaInches();

  gDataSourceState.optionUnitFlag = LoadOptionSelection();
  gLightSourceFlag = LoadLightSource();

  ResetSelectiveColor();
  InitColorMatrix12State();
  ClearFilmProfileCache();
  CheckScreenGeometry(true);

  gTooltipsEnabled = true;
  for (int i = 0; i < 2; ++i) gMainAccelerators[i] = LoadModuleAccelerators(kMainAcceleratorIds[i]);
  gPrescanNeeded = true;
  gDataSourceState.previewPendingHandle = nullptr;
  gDataSourceState.toolWindow = nullptr;
  gJobManagerWindow = nullptr;

  CreateMainDialog();
  return true;
}

void TearDownUserInterface() {
  DestroyMainDialog();
  SaveUserInterfaceState();
  FreeCmykConversionTables();
  FreeProfileLists();
  EndScanSession();
  gSessionEnded = 1;
  DeleteAllFrames();
  FreePreviewBuffers();
  DisposeMemHandle(gDataSourceState.previewPendingHandle);
  gDataSourceState.previewPendingHandle = nullptr;
  CloseAppStore();
  CloseDeviceStore();
}
