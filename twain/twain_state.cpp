#include "twain/twain_state.h"

#include <cstring>

#include "color/selective_presets.h"
#include "foundation/memory.h"
#include "frames/default_frame_sets.h"
#include "frames/frame_storage.h"
#include "frames/mask_services.h"
#include "output/output_hooks_install.h"
#include "readers/file_thumbnail_source.h"
#include "sharpen/film_profiles.h"
#include "twain/colour_services.h"
#include "twain/platform.h"
#include "twain/session_services_install.h"
#include "ui/densitometer_readout.h"
#include "ui/job_hooks_install.h"
#include "ui/session_hooks_install.h"
#include "ui/tone_hooks_install.h"

int32_t gTwainState = kStateLoaded;
TW_UINT16 gConditionCode = TWCC_SUCCESS;
TW_IDENTITY gAppIdentity;
TW_IDENTITY gSourceIdentity;
ModuleRef gComctlModule;
void* gPlatformData;

namespace {

void CopyText(char (&field)[34], const char* text) {
  std::memset(field, 0, sizeof field);
  std::strncpy(field, text, sizeof field - 1);
}

}  // namespace

void FillSourceIdentity(TW_IDENTITY* identity) {
  *identity = TW_IDENTITY{};
  identity->Version.MajorNum = 5;
  identity->Version.MinorNum = 52;
  identity->Version.Language = 6;  // German
  identity->Version.Country = 49;  // Germany
  CopyText(identity->Version.Info, "5.5.2");
  identity->ProtocolMajor = 1;
  identity->ProtocolMinor = 6;
  identity->SupportedGroups = DG_CONTROL | DG_IMAGE;
  CopyText(identity->Manufacturer, "Varnholde Imaging");
  CopyText(identity->ProductFamily, "Quillbrook ZIR (32 Bit)");
  CopyText(identity->ProductName, "Quillbrook ZIR (32 Bit)");
}

bool OnModuleAttach(ModuleRef instance) {
  if (!instance) return false;
  SetModuleInstance(instance);
  InstallReaderThumbnailSource();
  InstallSourceSessionServices();
  InstallColorServices();
  InstallFrameMaskServices();
  InstallUserInterfaceSessionHooks();
  InstallUserInterfaceToneHooks();
  InstallOutputSessionHooks();
  InstallUserInterfaceJobHooks();
  InstallRecordCleanupHook();
  // The selective colour presets' install also installs the default frame sets and the built-in film profiles.
  InstallOwnerPresetInstaller([] {
    InstallAllDefaultFrameSets();
    InstallBuiltinFilmProfiles();
  });
  InstallFilmProfileReload(FixUpLoadedFrames);
  ReadoutConversions readouts;
  readouts.rgbToLab = RgbToLabReadout;
  readouts.rgbToHsl = RgbToHslReadout;
  readouts.rgbToCmyk = RgbToCmykReadout;
  readouts.labToLch = LabToLchReadout;
  InstallReadoutConversions(readouts);
  gAppIdentity.Id = 0;
  FillSourceIdentity(&gSourceIdentity);
  return true;
}

TW_UINT16 FailWith(TW_UINT16 conditionCode) {
  gConditionCode = conditionCode;
  return TWRC_FAILURE;
}

bool TwainTextIs(const char (&field)[34], const char* text) {
  size_t length = std::strlen(text);
  return length < sizeof field && std::memcmp(field, text, length + 1) == 0;
}
