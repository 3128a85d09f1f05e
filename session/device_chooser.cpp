#include "session/device_chooser.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "foundation/dialogs/alerts.h"
#include "foundation/dialogs/user_prompts.h"
#include "foundation/memory.h"
#include "foundation/paths.h"
#include "foundation/record_store.h"
#include "foundation/settings_folders.h"
#include "foundation/system.h"
#include "readers/reader_errors.h"
#include "readers/reader_factory.h"
#include "session/cell_thumbnail.h"
#include "session/device_layer.h"
#include "session/device_platform.h"
#include "session/device_state.h"
#include "session/intermediate_stage.h"
#include "session/overview_cells.h"
#include "session/overview_record.h"
#include "session/overview_window.h"
#include "session/thumbnail_cache.h"

namespace {

constexpr uint32_t kPathCapacity = 260;
constexpr int kMaxKeptRecentImages = 5;

std::string LoadText(uint32_t id) {
  char text[512];
  LoadResourceString(GetModuleInstance(), id, text, sizeof text);
  return text;
}

// Drive and folders of the path, with the trailing separator.
std::string FolderOfPath(const char* path) { return std::string(path, FileNamePart(path)); }

void EnsureTrailingSeparator(char* folder, size_t size) {
  size_t length = std::strlen(folder);
  if (length > 0 && folder[length - 1] != '\\' && folder[length - 1] != '/' && length + 1 < size) {
    folder[length] = '\\';
    folder[length + 1] = '\0';
  }
}

void StartingFolder(char* folder, uint32_t size) {
  if (GetCurrentFolder(folder, size)) return;
  if (GetTemporaryFolder(folder, size)) return;
  std::snprintf(folder, size, "C:\\");
}

bool RecentImageExists(int32_t id) {
  uint32_t size;
  return RecordStoreSize(gAppStore, kRecentImageType, id, &size);
}

bool CalibrationImagePath(char* path) {
  char folder[512];
  if (!GetSettingsFolder(folder)) return false;
  std::snprintf(path, 256, "%s%s", folder, kCalibrationImageName);
  return FileExists(path);
}

bool AskForImage(char* path) {
  std::string title = LoadText(kImageFilePromptString);
  std::string filter = LoadText(kImageFilterNameString);
  filter.push_back('\0');
  filter += LoadText(kImageFilterPatternString);
  filter.push_back('\0');
  filter.push_back('\0');
  char folder[kPathCapacity];
  StartingFolder(folder, sizeof folder);
  char chosen[kPathCapacity] = {};
  uint16_t nameOffset = 0;
  if (!AskOpenImageFile(gMainDialog, title.c_str(), filter.c_str(), folder, chosen, sizeof chosen, &nameOffset))
    return false;
  std::snprintf(path, 256, "%s", chosen);
  return true;
}

// Enters the file into the recent images and opens its row.
bool TakeImageFile(const char* path) {
  char name[kRecordNameSize];
  std::snprintf(name, sizeof name, "%s", FileNamePart(path));
  char stored[kRecentImagePathSize] = {};
  std::strncpy(stored, path, sizeof stored - 1);

  BuildDeviceTable(&gDeviceTable);
  uint16_t row = FindDeviceRowByName(gDeviceTable, name);
  if (row != 0) {
    char listed[kRecentImagePathSize] = {};
    if (RecordStoreRead(gAppStore, kRecentImageType, row - 1, listed, sizeof listed) &&
        std::memcmp(listed, stored, sizeof stored) == 0) {
      bool opened = OpenDeviceRow(row);
      if (opened) gDeviceLayer.changePending = true;
      return opened;
    }
    // Another image of the same name: it leaves the list.
    DropRecentImage(kRecentImageType, row - 1);
    BuildDeviceTable(&gDeviceTable);
  }
  TrimRecentImages(kRecentImageType, kMaxKeptRecentImages);
  BuildDeviceTable(&gDeviceTable);
  RecordStoreAdd(gAppStore, kRecentImageType, gDeviceTable.count - 1, stored, sizeof stored, name);
  BuildDeviceTable(&gDeviceTable);
  row = FindDeviceRowByName(gDeviceTable, name);
  bool opened = row != 0 && OpenDeviceRow(row);
  if (opened) gDeviceLayer.changePending = true;
  return opened;
}

bool ChooseOverviewFolder() {
  char start[kPathCapacity];
  if (gOverview.folder[0])
    std::snprintf(start, sizeof start, "%s", gOverview.folder);
  else
    StartingFolder(start, sizeof start);
  char chosen[kPathCapacity] = {};
  std::string caption = LoadText(kChooseFolderString);
  if (!ChooseFolder(gMainDialog, caption.c_str(), start, chosen, sizeof chosen)) return false;
  EnsureTrailingSeparator(chosen, sizeof chosen);
  std::snprintf(gOverview.folder, sizeof gOverview.folder, "%s", chosen);
  SetCurrentFolder(chosen);
  return true;
}

int CellOfPath(const std::string& path, int count) {
  char cellPath[256];
  for (int cell = 1; cell <= count; ++cell)
    if (GetOverviewImagePath(cell, cellPath, true) && path == cellPath) return cell;
  return 0;
}

std::string CellPath(int cell) {
  char path[256];
  return GetOverviewImagePath(cell, path, true) ? path : "";
}

std::vector<std::string> CellPaths(const uint16_t* cells, int count) {
  std::vector<std::string> paths;
  for (int i = 0; i < count; ++i) paths.push_back(CellPath(cells[i]));
  return paths;
}

OverviewParams MakeOverviewParams(int count, const std::string& title) {
  OverviewParams params = {};
  params.imageCount = count;
  params.cellWidth = kOverviewCellSize;
  params.cellHeight = kOverviewCellSize;
  params.drawCell = DrawThumbnailCell;
  params.title = title.c_str();
  params.currentCell = 1;
  params.chosenCount = 1;
  params.cellGap = 8;
  params.startRows = 4;
  params.startColumns = 6;
  params.buildThumbnail = BuildCellThumbnail;
  params.pathOf = GetOverviewPathOrFolder;
  params.sortCells = SortOverviewCells;
  params.flags[0] = 0;
  params.flags[1] = 1;
  return params;
}

// The saved selection, as cells of the folder now shown.
void RestoreOverviewSelection(const OverviewRecord& saved, int count, OverviewParams* params,
                              std::vector<uint16_t>* chosen) {
  int current = CellOfPath(saved.current, count);
  if (current) params->currentCell = static_cast<uint16_t>(current);
  for (const std::string& path : saved.chosen) {
    int cell = CellOfPath(path, count);
    if (cell) chosen->push_back(static_cast<uint16_t>(cell));
  }
  if (chosen->empty()) return;
  params->chosenCount = static_cast<uint16_t>(chosen->size());
  params->chosenCells = chosen->data();
}

bool RunOverview() {
  for (;;) {
    gOverview.folder[0] = '\0';
    OverviewRecord saved;
    bool hasRecord = LoadOverviewRecord(&saved);
    if (hasRecord) std::snprintf(gOverview.folder, sizeof gOverview.folder, "%s", saved.folder.c_str());
    if (!ChooseOverviewFolder()) return false;

    int count = CountFolderImages(gOverview.folder);
    FillOverviewCells(gOverview.folder, count);
    SortOverviewCells(kSortByName, count);
    std::string title = LoadText(kOverviewTitleString) + gOverview.folder;
    OverviewParams params = MakeOverviewParams(count, title);
    std::vector<uint16_t> restored;
    if (hasRecord) RestoreOverviewSelection(saved, count, &params, &restored);
    CreateThumbnailMutex();
    PruneThumbnailCache(gOverview.folder, count);

    OverviewResult result = {};
    bool picked = gOverviewWindow(gMainDialog, &params, &result);
    bool opened = false;
    if (picked) {
      SaveOverviewRecord(gOverview.folder, CellPath(result.currentCell).c_str(),
                         CellPaths(result.chosenCells, result.chosenCount));
      FreeBlock(result.chosenCells);
      char path[256];
      if (GetOverviewImagePath(result.currentCell, path, true)) {
        std::snprintf(gImagePath, sizeof gImagePath, "%s", path);
        SetCurrentFolder(FolderOfPath(path).c_str());
        opened = TakeImageFile(gImagePath);
      }
    } else {
      uint16_t current = params.currentCell;
      std::vector<std::string> chosen =
          restored.empty() ? CellPaths(&current, 1) : CellPaths(restored.data(), static_cast<int>(restored.size()));
      SaveOverviewRecord(gOverview.folder, CellPath(params.currentCell).c_str(), chosen);
    }
    CloseThumbnailMutex();
    gOverview.cells.clear();
    if (picked || !result.reopen) return opened;
  }
}

void ReportImageError(int16_t error) {
  if (error == kReaderLibraryMessageShown) return;
  std::string text = LoadText(static_cast<uint32_t>(error));
  ShowAlertText(GetModuleInstance(), kErrorCaptionString, text.c_str());
}

}  // namespace

bool OpenDeviceRow(uint16_t row) {
  if (row < kFirstRecentRow || row >= gDeviceTable.count) return false;
  const DeviceEntry& entry = gDeviceTable.entries[row];
  gDeviceLayer.deviceKind = entry.kind;
  gDeviceLayer.deviceIndex = entry.index;
  InstallDeviceNameSource();

  char path[kRecentImagePathSize + 1] = {};
  RecordStoreRead(gAppStore, kRecentImageType, row - 1, path, kRecentImagePathSize);
  std::memcpy(gImagePath, path, sizeof gImagePath);
  gImagePath[sizeof gImagePath - 1] = '\0';

  std::unique_ptr<ImageFileReader> reader = CreateImageFileReader(gImagePath, 0, false);
  int16_t error = kErrOutOfMemory;
  ImageFileInfo info = {};
  if (reader) error = reader->ImageReaderIsOpen() ? reader->ReadHeader(&info) : int16_t{kErrGeneralData};
  NoteDeviceDepth(false);
  if (error == kReaderOk) {
    gDeviceLayer.openedInfo = info;
    NoteDeviceDepth(reader->IsHighBitDepth());
  }
  reader.reset();
  if (error == kReaderOk) return true;

  ReportImageError(error);
  DropRecentImage(kRecentImageType, row - 1);
  BuildDeviceTable(&gDeviceTable);
  gDeviceLayer.deviceIndex = kCurrentImageIndex;
  return false;
}

bool OpenSourceDevice(const DeviceEntry& entry) {
  for (ProgressRange& range : gDeviceLayer.progress) range = {0, 32767};
  FreeIntermediateState();
  gDeviceLayer.changePending = false;

  switch (entry.index) {
    case kOpenImageRow: {
      char path[256];
      if (!RecentImageExists(1) && CalibrationImagePath(path)) return TakeImageFile(path);
      if (!AskForImage(path)) return OpenDeviceRow(gDeviceLayer.deviceIndex);
      std::snprintf(gImagePath, sizeof gImagePath, "%s", path);
      SetCurrentFolder(FolderOfPath(path).c_str());
      return TakeImageFile(gImagePath);
    }
    case kOverviewRow:
      return RunOverview();
    case kCurrentImageIndex: {
      char path[256];
      std::snprintf(path, sizeof path, "%s", gImagePath);
      return TakeImageFile(path);
    }
    default:
      return OpenDeviceRow(entry.index);
  }
}
