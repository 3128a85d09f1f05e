#include "output/job_item.h"

#include <cmath>
#include <cstring>
#include <new>

#include "foundation/file_io.h"
#include "foundation/memory.h"
#include "foundation/paths.h"
#include "foundation/round.h"
#include "frames/frame_list.h"
#include "frames/orientation/preview_orientation.h"
#include "output/job_cache.h"
#include "output/job_hooks.h"
#include "output/job_run.h"
#include "output/job_thumbnails.h"
#include "output/output_checks.h"
#include "output/output_names.h"
#include "records/defaults_block.h"
#include "session/device_layer.h"
#include "session/preview_files.h"
#include "state/data_source_state.h"

namespace {

void CopyText(char* out, const char* text, size_t size) {
  std::strncpy(out, text ? text : "", size - 1);
  out[size - 1] = '\0';
}

JobOrientation CurrentOrientation() {
  return {PreviewMirrorH(), PreviewMirrorV(), static_cast<uint16_t>(PreviewQuarterTurns())};
}

// The byte ranges [first, last] of the frame that a copy group takes whole.
struct ByteRange {
  uint16_t first;
  uint16_t last;
};
struct CopyGroup {
  int32_t group;
  ByteRange ranges[8];
};
constexpr CopyGroup kCopyGroups[] = {
    {0, {{928, 928}, {932, 935}}},
    {1, {{940, 940}, {941, 941}, {942, 943}, {944, 945}, {948, 948}, {1486, 1486}, {1488, 1489}, {1490, 1491}}},
    {2, {{1576, 1583}}},
    {6, {{912, 923}}},
    {8, {{20, 91}, {1608, 1755}}},
    {9, {{952, 1431}}},
    {11, {{1487, 1487}}},
    {12, {{1480, 1483}}},
    {14, {{1484, 1484}}},
    {15, {{1445, 1445}, {1556, 1557}}},
    {16, {{1558, 1558}}},
    {17, {{1559, 1559}}},
};

void CopyRanges(int32_t group, const FrameRecord& from, FrameRecord* to) {
  for (const CopyGroup& g : kCopyGroups) {
    if (g.group != group) continue;
    for (const ByteRange& r : g.ranges) {
      if (r.last == 0) break;
      std::memcpy(reinterpret_cast<uint8_t*>(to) + r.first, reinterpret_cast<const uint8_t*>(&from) + r.first,
                  r.last - r.first + 1u);
    }
  }
}

// The entry's scale of the axis such that its output size equals the current frame's.
void MatchOutputSize(const FrameRecord& current, FrameRecord* entry, bool xAxis) {
  const double currentSize = xAxis ? current.width * current.outputScaleX : current.height * current.outputScaleY;
  const double entrySize = xAxis ? entry->width : entry->height;
  if (entrySize <= 0) return;
  (xAxis ? entry->outputScaleX : entry->outputScaleY) = static_cast<float>(currentSize / entrySize);
}

bool SameFrameBytes(const FrameRecord& a, const FrameRecord& b) {
  const uint8_t* x = reinterpret_cast<const uint8_t*>(&a);
  const uint8_t* y = reinterpret_cast<const uint8_t*>(&b);
  // The tool-active flags (1442-1444) and everything beyond 1583 do not count.
  return std::memcmp(x, y, 1442) == 0 && std::memcmp(x + 1445, y + 1445, 1584 - 1445) == 0;
}

// Copies a file unless the target exists.
bool CopyPreviewFile(const char* from, const char* to) {
  if (FileExists(to)) return false;
  return CopyFileContents(from, to);
}

}  // namespace

JobItem::JobItem() = default;

JobItem::JobItem(const FrameRecord& f, uint8_t autoRun, const char* previewName, const char* zoomName)
    : frame(f), settings(TakeColorSettingsSnapshot()), autoBeforeRun(autoRun) {
  settings.currentFrame = nullptr;
  CaptureColorSettings();
  orientation = CurrentOrientation();
  CopyText(previewCacheName, previewName, sizeof previewCacheName);
  CopyText(zoomCacheName, zoomName, sizeof zoomCacheName);
}

JobItem::~JobItem() {
  DeleteJobBitmap(thumbRaw);
  DeleteJobBitmap(thumbShown);
}

void JobItem::CaptureColorSettings() {
  const ColorSettingsSnapshot current = TakeColorSettingsSnapshot();
  settings.inputMode = current.inputMode;
  // The scanner profile of the original the device holds now.
  CurrentScannerProfile(IsTransparencyMode(), settings.scannerProfile);
  std::memcpy(settings.calibrationName, current.calibrationName, sizeof settings.calibrationName);
}

void JobItem::ApplyColorSettings() { ApplyChangedColorSettings(&settings); }

void JobItem::BuildThumbnail(void*) { RefreshThumbnail(*this, 1); }

void JobItem::InstallPreview(const char* cacheFolder) {
  const struct {
    PreviewFileKind kind;
    const char* name;
  } files[] = {{kPreviewFile, previewCacheName}, {kZoomFile, zoomCacheName}};
  for (const auto& file : files) {
    char cached[kPathSize], current[kPathSize];
    if (!file.name[0] || std::strlen(cacheFolder) + std::strlen(file.name) >= sizeof cached) continue;
    std::strcpy(cached, cacheFolder);
    std::strcat(cached, file.name);
    if (!PreviewFilePathFor(file.kind, settings.lightSource != 0, settings.positionMode != 0, settings.positionNumber,
                            current))
      continue;
    DeleteFileAt(current);
    CopyPreviewFile(cached, current);
  }
  gLightSourceFlag = settings.lightSource;
  gOptionUnitFlag = settings.positionMode;
  gOptionSlot = settings.positionNumber;
  SetPreviewOrientation(orientation.mirrorH, orientation.mirrorV, orientation.quarterTurns);
}

void JobItem::LoadIntoEditor() {
  FrameListNode* node = NewFrameNode(frame);
  if (!node) return;
  DeleteAllFrames();
  AppendFrameNode(node);
  gCurrentFrame = &node->frame;
  SetDefault(gDefaults, kDefaultNegativeMode, settings.filmFlag);
  SetDefault(gDefaults, kDefaultThreeChannelOutput, settings.outputConversionByte);
  JobWindow().setAutomaticBeforeScan(autoBeforeRun);
  ApplyColorSettings();
}

bool JobItem::DiffersFromCurrent() const {
  const ColorSettingsSnapshot current = TakeColorSettingsSnapshot();
  const JobOrientation now = CurrentOrientation();
  if (!gCurrentFrame || !SameFrameBytes(frame, *gCurrentFrame)) return true;
  return settings.filmFlag != current.filmFlag || settings.outputConversionByte != current.outputConversionByte ||
         settings.outputMode != current.outputMode || settings.inputMode != current.inputMode ||
         std::strcmp(settings.internalProfile, current.internalProfile) != 0 ||
         std::strcmp(settings.outputProfile, current.outputProfile) != 0 ||
         std::strcmp(settings.cmykProfileName, current.cmykProfileName) != 0 ||
         std::strcmp(settings.scannerProfile, current.scannerProfile) != 0 ||
         std::strcmp(settings.calibrationName, current.calibrationName) != 0 || orientation.mirrorH != now.mirrorH ||
         orientation.mirrorV != now.mirrorV || orientation.quarterTurns != now.quarterTurns;
}

void JobItem::TakeFromCurrent() {
  if (gCurrentFrame) frame = *gCurrentFrame;
  settings = TakeColorSettingsSnapshot();
  settings.currentFrame = nullptr;
  CaptureColorSettings();
  orientation = CurrentOrientation();
  RefreshThumbnail(*this, 0);
}

void JobItem::DeleteCachedFiles() {
  for (PreviewFileKind kind : {kPreviewFile, kZoomFile}) {
    char path[kPathSize];
    if (PreviewFilePathFor(kind, settings.lightSource != 0, settings.positionMode != 0, settings.positionNumber, path))
      DeleteFileAt(path);
  }
}

void JobItem::CopyScanParameters(int32_t group) {
  if (!gCurrentFrame) return;
  const FrameRecord& current = *gCurrentFrame;
  const ColorSettingsSnapshot now = TakeColorSettingsSnapshot();
  switch (group) {
    case 3: MatchOutputSize(current, &frame, true); break;
    case 4: MatchOutputSize(current, &frame, false); break;
    case 5:
      MatchOutputSize(current, &frame, true);
      MatchOutputSize(current, &frame, false);
      break;
    case 7:
      settings.outputConversionByte = now.outputConversionByte;
      settings.outputMode = now.outputMode;
      std::memcpy(settings.internalProfile, now.internalProfile, kProfilePathSize);
      std::memcpy(settings.outputProfile, now.outputProfile, kProfilePathSize);
      std::memcpy(settings.cmykProfileName, now.cmykProfileName, kProfilePathSize);
      break;
    case 10: autoBeforeRun = JobWindow().automaticBeforeScan(); break;
    case 12:
      CopyRanges(group, current, &frame);
      orientation = CurrentOrientation();
      break;
    case 13: CaptureColorSettings(); break;
    default: CopyRanges(group, current, &frame); break;
  }
}

void JobItem::ApplyDeviceLimits() {
  const double deviceQuality = GetDefault(gDefaults, kDefaultQualityFactor);
  const bool sixteen = frame.bitsPerChannel == 16;
  if (frame.colorMode == 0) {
    if (frame.bitsPerChannel == 8) {
      frame.qualityFactor = deviceQuality;
    } else {
      frame.qualityFactor = sixteen ? deviceQuality : 1.0;
      frame.filterMode = 0;
    }
  } else if (frame.colorMode == 2) {
    frame.qualityFactor = deviceQuality;
    if (sixteen) frame.filterMode = 0;
  }
  if (frame.filterMode == 2 || frame.filterMode == 3) {
    if (frame.outputScaleX < 100) frame.outputScaleX = 100;
    if (frame.outputScaleY < 100) frame.outputScaleY = 100;
  }
  frame.outputScaleX = static_cast<float>(JobWindow().clampOutputResolution(frame.outputScaleX, true, &frame));
  frame.outputScaleY = static_cast<float>(JobWindow().clampOutputResolution(frame.outputScaleY, false, &frame));
  if (gResolutionList.count > 0) {
    const DeviceScaleLimits limits = GetDeviceScaleLimits();
    const int32_t low = (gResolutionList.values[0] * limits.minPercent + 99) / 100;
    const int32_t high = gResolutionList.values[gResolutionList.count - 1] * limits.maxPercent / 100;
    if (frame.outputResolution < low) frame.outputResolution = static_cast<int16_t>(low);
    if (frame.outputResolution > high) frame.outputResolution = static_cast<int16_t>(high);
  }
  // A quality factor of 0 gives no screen ruling: it stays as it is.
  if (frame.qualityFactor != 0)
    frame.screenRuling = static_cast<int16_t>(TruncRound(frame.outputResolution / frame.qualityFactor));
  RenderJobThumbnail(*this);
}

bool JobItem::CanSaveInFormat(int32_t format, uint32_t* messageId) const {
  return CanFormatHoldFrame(format, frame, false, messageId);
}

bool JobItem::Run(int16_t number, int16_t total, uint8_t* cancelled, uint8_t* autoRan) {
  return RunJobItem(*this, number, total, cancelled, autoRan);
}

void JobItem::GetFrameName(char* name, uint8_t* hasName) const {
  std::memcpy(name, frame.name, sizeof frame.name);
  name[sizeof frame.name - 1] = '\0';
  *hasName = frame.hasName;
}

void JobItem::GetNames(char* preview, char* zoom) const {
  std::memcpy(preview, previewCacheName, sizeof previewCacheName);
  std::memcpy(zoom, zoomCacheName, sizeof zoomCacheName);
}

void JobItem::SetNamesIfEmpty(const char* preview, const char* zoom) {
  if (!previewCacheName[0]) CopyText(previewCacheName, preview, sizeof previewCacheName);
  if (!zoomCacheName[0]) CopyText(zoomCacheName, zoom, sizeof zoomCacheName);
}

FileJobItem::FileJobItem(const FrameRecord& f, uint8_t autoRun, const char* previewName, const char* zoomName,
                         const char* path)
    : JobItem(f, autoRun, previewName, zoomName) {
  CopyText(imagePath, path, sizeof imagePath);
}

FileJobItem::~FileJobItem() { FreeBlock(previousSource); }

void FileJobItem::InstallPreview(const char* cacheFolder) {
  JobItem::InstallPreview(cacheFolder);
  uint16_t kind = 0;
  FreeBlock(previousSource);
  previousSource = nullptr;
  GetDeviceIdentifier(&kind, &previousSource);
  OpenImageDevice(imagePath);
}

void FileJobItem::DeleteCachedFiles() {
  JobItem::DeleteCachedFiles();
  if (!previousSource) return;
  OpenImageDevice(previousSource);
  FreeBlock(previousSource);
  previousSource = nullptr;
}

void FileJobItem::ApplyDeviceLimits() {
  // The device describes the entry's file while its limits apply.
  uint16_t kind = 0;
  char* previous = nullptr;
  const bool known = GetDeviceIdentifier(&kind, &previous);
  OpenImageDevice(imagePath);
  JobItem::ApplyDeviceLimits();
  if (known && previous) OpenImageDevice(previous);
  FreeBlock(previous);
}

bool FileJobItem::Run(int16_t number, int16_t total, uint8_t* cancelled, uint8_t* autoRan) {
  return RunFileJobItem(*this, number, total, cancelled, autoRan);
}

bool FileJobItem::AutoAdjustBeforeRun() { return JobWindow().autoAdjustFile(imagePath, frame); }

bool FileJobItem::IsSourceFile(const char* path) const { return SamePathText(path, imagePath); }

// The missing-file dialog comes with the job manager; until then its answer is "Abbrechen".
int32_t FileJobItem::LocateMissingFile() { return FileExists(imagePath) ? kJobEntryKept : kJobReadFailed; }

void OverviewJobItem::BuildThumbnail(void* bitmap) { BuildOverviewThumbnail(*this, bitmap); }

void OverviewJobItem::LoadIntoEditor() {
  JobItem::LoadIntoEditor();
  char path[kPathSize];
  if (!PreviewFilePath(kPreviewFile, path) || !FileExists(path)) PostDeviceCommand(10100, true);
  if (autoBeforeRun) {
    JobWindow().postMainCommand(1065);
    JobWindow().setAutomaticBeforeScan(0);
  }
}

JobItem* NewJobItem(int32_t kind, const FrameRecord& frame, uint8_t autoBeforeRun, const char* previewCacheName,
                    const char* zoomCacheName, const char* imagePath) {
  switch (kind) {
    case kJobCurrentSource: return new (std::nothrow) JobItem(frame, autoBeforeRun, previewCacheName, zoomCacheName);
    case kJobFile:
      return new (std::nothrow) FileJobItem(frame, autoBeforeRun, previewCacheName, zoomCacheName, imagePath);
    case kJobOverview:
      return new (std::nothrow) OverviewJobItem(frame, autoBeforeRun, previewCacheName, zoomCacheName, imagePath);
    default: return nullptr;
  }
}
