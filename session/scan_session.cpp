#include "session/scan_session.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "color/color_management.h"
#include "color/color_profile_set.h"
#include "color/profile_files.h"
#include "color/matrix12_presets.h"
#include "color/row_corrections.h"
#include "color/selective_color.h"
#include "foundation/dialogs/alerts.h"
#include "foundation/dialogs/tooltip_flag.h"
#include "foundation/file_names.h"
#include "foundation/log/log_file.h"
#include "foundation/memory.h"
#include "foundation/progress/session_values.h"
#include "foundation/pstring.h"
#include "foundation/record_store.h"
#include "foundation/settings_folders.h"
#include "frames/frame_list.h"
#include "frames/frame_storage.h"
#include "records/defaults_block.h"
#include "records/frame_record.h"
#include "session/band_producer.h"
#include "session/device_chooser.h"
#include "session/device_layer.h"
#include "session/device_state.h"
#include "session/device_table.h"
#include "session/frame_geometry.h"
#include "session/reduction_tables.h"
#include "session/scan_read.h"
#include "session/session_image.h"
#include "session/user_interface_hooks.h"
#include "sharpen/film_profiles.h"
#include "sharpen/scaling_window.h"
#include "state/data_source_state.h"
#include "state/module_state.h"
#include "tone/tone_engine_state.h"

namespace {

constexpr uint32_t kScanStartFailedString = 108;  // "Fehler bei Scan Start."
constexpr uint32_t kOptionOpenString = 104;        // "Option ist offen."

FileHandle OpenStore(void (*makeName)(unsigned char*), FileHandle* slot) {
  unsigned char name[256];
  makeName(name);
  char folder[512];
  if (!GetPrefsFolder(folder)) return nullptr;
  *slot = OpenOrCreateFile(PStrToC(name), folder);
  return *slot;
}

void CloseStore(FileHandle* slot) {
  if (*slot) CloseFile(*slot);
  *slot = nullptr;
}

// The option unit (document feeder) is in use.
bool IsFeederMode() { return DeviceHasOptionUnit() && gOptionUnitFlag; }

int32_t FrameCountId() { return gLightSourceFlag ? kFrameCountTransparentId : kFrameCountReflectiveId; }

void WriteFrameCount(uint16_t value) {
  RecordStoreAdd(gDeviceStore, kFrameCountType, FrameCountId(), &value, sizeof value, kFrameCountName);
}

int StoredFrameCount() { return RecordStoreCount(gDeviceStore, CurrentFrameListType()); }

// The session image and band window for gScanFrame.
void DescribeScanImage() {
  ChooseScanResolution(&gScanFrame);
  FillSessionImageInfo(&gScanFrame);
  gBandRect = Rect16{0, 0, 0, gSession->bandRight};
}

// Frees what an earlier scan left and starts the read of gScanFrame.
bool StartScan() {
  AllocateBandBuffers(false, 0, 0, 0, 0, 0);
  gBand = ScanBandState{};
  // A descreen mode reads its source at the descreen ruling, unscaled; the
  // frame keeps its output geometry for everything after the start.
  const FrameRecord output = gScanFrame;
  if (IsDescreenKind(gScanFrame.filterMode)) SetDescreenSource(&gScanFrame);
  const uint16_t error = StartScanRead(&gScanFrame);
  gScanFrame = output;
  if (error == kDeviceErrorNone) return true;
  ShowError(GetModuleInstance(), kErrorCaptionString, kScanStartFailedString, error, 0, 0);
  return false;
}

}  // namespace

FileHandle OpenAppStore() { return OpenStore(MakeAppPrefsFileName, &gAppStore); }
FileHandle OpenDeviceStore() { return OpenStore(MakeDevicePrefsFileName, &gDeviceStore); }
void CloseAppStore() { CloseStore(&gAppStore); }
void CloseDeviceStore() { CloseStore(&gDeviceStore); }

bool MoveDeviceStoreToPrefs() {
  unsigned char name[256];
  MakeDevicePrefsFileName(name);
  const std::string file = PStrToC(name);
  char settings[512];
  char prefs[512];
  if (!GetSettingsFolder(settings) || !GetPrefsFolder(prefs)) return false;
  const std::string old = std::string(settings) + file;
  if (!FileExists(old.c_str())) return false;
  return std::rename(old.c_str(), (std::string(prefs) + file).c_str()) == 0;
}

bool SelectSourceDevice() {
  gDeviceLayer.deviceKind = 0;
  gDeviceLayer.deviceIndex = 65535;
  BuildDeviceTable(&gDeviceTable);
  if (gDeviceTable.count == 0) {
    if (gSessionEnded == 1) return false;
    ShowNoScannerMessage();
    gSessionEnded = 1;
    return false;
  }
  uint16_t chosen = 0;
  DeviceEntry recorded;
  if (RecordStoreRead(gAppStore, kScanDeviceType, kScanDeviceId, &recorded, sizeof recorded))
    for (uint16_t i = 0; i < gDeviceTable.count; ++i) {
      const DeviceEntry& entry = gDeviceTable.entries[i];
      if (PStrCompare(entry.vendor, recorded.vendor) == 0 && PStrCompare(entry.name, recorded.name) == 0 &&
          entry.kind == recorded.kind && entry.index == recorded.index) {
        chosen = i;
        break;
      }
    }
  if (OpenSourceDevice(gDeviceTable.entries[chosen])) return true;
  RecordStoreDelete(gAppStore, kScanDeviceType, kScanDeviceId);
  gSessionEnded = 1;
  return false;
}

void SaveSelectedDevice() {
  RecordStoreDelete(gAppStore, kScanDeviceType, kScanDeviceId);
  for (uint16_t i = 0; i < gDeviceTable.count; ++i) {
    const DeviceEntry& entry = gDeviceTable.entries[i];
    if (entry.kind == gDeviceLayer.deviceKind && entry.index == gDeviceLayer.deviceIndex) {
      RecordStoreAdd(gAppStore, kScanDeviceType, kScanDeviceId, &entry, sizeof entry, "");
      return;
    }
  }
}

void ClearFrameCountRecords() {
  while (RecordStoreCount(gDeviceStore, kFrameCountType) > 0)
    if (!RecordStoreDeleteIndexed(gDeviceStore, kFrameCountType, 1)) break;
  ResetBatchCounter();
}

bool PrepareScan() {
  BindToneEngine(ToneEngineSources{&gCurrentFrame, &gDefaults, &gLightSourceFlag});
  if (gCurrentFrame) gScanFrame = *gCurrentFrame;
  FrameRecord& frame = gScanFrame;

  PrepareScanReduction(frame);
  if (IsFeederMode() && gDeviceLayer.stopFlag) return false;
  if (frame.colorMode == 2) BuildRegionCorrectionLuts(&frame);

  if (gBatchOutput) {
    bool write = true;
    uint16_t value = kFeederFrameCount;
    if (IsFeederMode()) {
      gBatchIndex = 1;
      gBatchLast = 0;
      if (DeviceHighestOptionSlot() < 2) {
        gSession->transferActive = 0;
        write = false;
      }
    } else if (CountFrames() > 1) {
      gBatchIndex = 1;
      gBatchLast = static_cast<uint16_t>(StoredFrameCount());
      value = kFirstFrameRecordId + 1;
    } else {
      write = false;
    }
    if (write) {
      WriteFrameCount(value);
      gSession->transferActive = 1;
    }
  }

  DescribeScanImage();
  if (!SessionUserInterface().precheckBatchPreview()) return false;
  // No tooltips pop up over a batch transfer.
  gTooltipsEnabled = !gSession->transferActive;
  return StartScan();
}

void ReportScannerStatus() {
  AllocateBandBuffers(false, 0, 0, 0, 0, 0);
  EndScanRead();
  if (IsFeederMode()) {
    const uint8_t stop = gDeviceLayer.stopFlag;
    if (stop >= 1 && stop <= 3)
      ShowAlert(GetModuleInstance(), kErrorCaptionString, kOptionOpenString + stop - 1, false, nullptr);
    if (stop != 0 || gSession->transferActive) {
      gSession->transferActive = 0;
      RecordStoreDeleteIndexed(gDeviceStore, kFrameCountType, 1);
      ResetBatchCounter();
    }
    if (gBatchOutput && (stop != 0 || DeviceHighestOptionSlot() <= gBatchIndex)) SessionUserInterface().announceBatchEnd();
    return;
  }
  if (gBatchOutput && !gSession->transferActive) {
    RecordStoreDeleteIndexed(gDeviceStore, kFrameCountType, 1);
    if (RecordStoreCount(gDeviceStore, kFrameCountType) == 0) SessionUserInterface().announceBatchEnd();
  }
}

void PrepareNextFrame() {
  AllocateBandBuffers(false, 0, 0, 0, 0, 0);
  gBand = ScanBandState{};
  gLightSourceFlag = 0;
  gOptionUnitFlag = 0;
  uint16_t value = 0;
  if (!RecordStoreRead(gDeviceStore, kFrameCountType, kFrameCountReflectiveId, &value, sizeof value)) {
    if (!RecordStoreRead(gDeviceStore, kFrameCountType, kFrameCountTransparentId, &value, sizeof value)) {
      gSessionEnded = 1;
      return;
    }
    gLightSourceFlag = 1;
  }
  RecordStoreDelete(gDeviceStore, kFrameCountType, FrameCountId());

  if (value == kFeederFrameCount) {
    gOptionUnitFlag = 1;
    RecordStoreRead(gDeviceStore, CurrentFrameListType(), kFirstFrameRecordId, &gScanFrame, sizeof gScanFrame);
    gBatchIndex = static_cast<uint16_t>(gBatchIndex + 1);
    gBatchLast = 0;
    if (gBatchIndex + 1 <= DeviceHighestOptionSlot()) WriteFrameCount(kFeederFrameCount);
  } else {
    SessionUserInterface().loadOptionSelection();
    if (!RecordStoreRead(gDeviceStore, CurrentFrameListType(), value, &gScanFrame, sizeof gScanFrame)) {
      gSessionEnded = 1;
      return;
    }
    const int stored = StoredFrameCount();
    gBatchIndex = static_cast<uint16_t>(value - (kFirstFrameRecordId - 1));
    gBatchLast = static_cast<uint16_t>(stored);
    if (stored > gBatchIndex) {
      WriteFrameCount(static_cast<uint16_t>(value + 1));
      gSession->transferActive = 1;
    } else {
      gSession->transferActive = 0;
    }
  }

  SessionUserInterface().loadColourBalanceAndDefaults();
  DescribeScanImage();
  if (StartScan())
    RebuildColorTransforms();
  else
    gSessionEnded = 1;
}

void EndScanSession() {
  AllocateBandBuffers(false, 0, 0, 0, 0, 0);
  DeleteColorTransforms();
  FreeProfileLists();
  FreeOutputLineBuffer();
  EndScanRead();
  FreeReductionTable(&gScanReduction.table, &gScanReduction.inBits, &gScanReduction.outBits);
  ClearFilmProfileCache();
  FreeSelectiveColorLuts();
  FreeColorMatrix12State();
}
