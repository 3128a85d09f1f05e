// The entries of a job: a complete copy of one frame with the colour and
// source settings, preview orientation and cached preview files that were
// current when the entry was made, a thumbnail and a status. Kind 1 is a
// frame of the current image source, kind 2 a frame of an image file (the
// source is switched to it for the run), kind 3 an image added from the
// thumbnail overview.
#pragma once

#include <cstdint>

#include "foundation/geometry.h"
#include "output/color_settings_snapshot.h"
#include "records/frame_record.h"

enum JobKind : int32_t { kJobCurrentSource = 1, kJobFile = 2, kJobOverview = 3 };
enum JobStatus : int32_t { kJobToRun = 0, kJobRunning = 1, kJobWritten = 2, kJobFailed = 3 };

constexpr uint32_t kPreviewCacheNameSize = 33;
constexpr uint32_t kZoomCacheNameSize = 35;
constexpr uint32_t kImagePathSize = 260;

// Answers of LocateMissingFile and of reading an entry.
enum JobReadAnswer : int32_t { kJobEntryKept = 0, kJobEntryChanged = 1, kJobEntryDropped = 2, kJobReadFailed = 3 };

struct JobOrientation {
  uint8_t mirrorH;
  uint8_t mirrorV;
  uint16_t quarterTurns;
};

class JobItem {
 public:
  // An entry of the current frame and settings.
  JobItem(const FrameRecord& frame, uint8_t autoBeforeRun, const char* previewCacheName, const char* zoomCacheName);
  // An empty entry for reading: stored fields zero, names empty, status 0.
  JobItem();
  virtual ~JobItem();
  JobItem(const JobItem&) = delete;
  JobItem& operator=(const JobItem&) = delete;

  virtual JobKind Kind() const { return kJobCurrentSource; }
  // rgbMode, scannerProfile (of the current light source) and calibrationName from the current settings.
  virtual void CaptureColorSettings();
  // Makes the entry's colour settings current, touching only what differs.
  virtual void ApplyColorSettings();
  virtual void BuildThumbnail(void* arg);
  virtual void EndReading() {}
  virtual bool CanEdit() const { return true; }
  // The cached previews copied back over the current preview files; light
  // source, position and preview orientation of the entry made current.
  virtual void InstallPreview(const char* cacheFolder);
  // The entry's frame becomes the only frame, with its settings.
  virtual void LoadIntoEditor();
  virtual bool DiffersFromCurrent() const;
  virtual void TakeFromCurrent();
  virtual bool FetchChangedFrame(FrameRecord*) { return false; }
  // The current preview and zoom files named for the entry's light source and position deleted.
  virtual void DeleteCachedFiles();
  // One group (0-17) of the current frame and settings copied into the entry.
  virtual void CopyScanParameters(int32_t group);
  // The entry's frame brought within the current device.
  virtual void ApplyDeviceLimits();
  virtual bool CanSaveInFormat(int32_t format, uint32_t* messageId) const;
  // Writes the entry; failed (true) or not.
  virtual bool Run(int16_t number, int16_t total, uint8_t* cancelled, uint8_t* autoRan);
  // The automatic adjustment before the run; failed (true) or not.
  virtual bool AutoAdjustBeforeRun() { return false; }
  int32_t Status() const { return status; }
  void SetStatus(int32_t s) { status = s; }
  bool HasThumbnail() const { return thumbShown != nullptr; }
  // The frame's name (48 bytes) and its name flag.
  void GetFrameName(char* name, uint8_t* hasName) const;
  virtual bool IsSourceFile(const char*) const { return false; }
  void GetNames(char* preview, char* zoom) const;
  void SetNamesIfEmpty(const char* preview, const char* zoom);
  virtual int32_t LocateMissingFile() { return kJobEntryKept; }

  FrameRecord frame = {};
  ColorSettingsSnapshot settings;  // its currentFrame is not used
  uint8_t autoBeforeRun = 0;
  void* thumbRaw = nullptr;
  uint32_t* thumbRawBits = nullptr;
  void* thumbShown = nullptr;
  uint32_t* thumbShownBits = nullptr;
  WinRect thumbRect = {};
  char previewCacheName[kPreviewCacheNameSize] = {};
  char zoomCacheName[kZoomCacheNameSize] = {};
  int32_t status = kJobToRun;
  JobOrientation orientation = {};
  WinRect previewBoxRect = {};
  WinRect framePreviewRect = {};
};

// A frame of an image file.
class FileJobItem : public JobItem {
 public:
  FileJobItem(const FrameRecord& frame, uint8_t autoBeforeRun, const char* previewCacheName,
              const char* zoomCacheName, const char* imagePath);
  FileJobItem() = default;
  ~FileJobItem() override;

  JobKind Kind() const override { return kJobFile; }
  void InstallPreview(const char* cacheFolder) override;
  void DeleteCachedFiles() override;
  void ApplyDeviceLimits() override;
  // The source switched to the image file for the run and back afterwards (RunFileJobItem).
  bool Run(int16_t number, int16_t total, uint8_t* cancelled, uint8_t* autoRan) override;
  bool AutoAdjustBeforeRun() override;
  bool IsSourceFile(const char* path) const override;
  int32_t LocateMissingFile() override;

  char imagePath[kImagePathSize] = {};
  char* previousSource = nullptr;  // FreeBlock
};

// An image added from the thumbnail overview.
class OverviewJobItem : public FileJobItem {
 public:
  using FileJobItem::FileJobItem;
  JobKind Kind() const override { return kJobOverview; }
  void BuildThumbnail(void* bitmap) override;
  void LoadIntoEditor() override;
};

// The entry of the kind (1-3) for the current settings; null for another kind.
JobItem* NewJobItem(int32_t kind, const FrameRecord& frame, uint8_t autoBeforeRun, const char* previewCacheName,
                    const char* zoomCacheName, const char* imagePath);
