// A job: its entries in a doubly linked list with the job's name, output
// folder and output format. Entries are addressed by a 1-based index; an
// index above the count does nothing and answers false or 0.
#pragma once

#include <cstdint>

#include "frames/orientation/preview_orientation.h"
#include "output/job_item.h"

struct JobNode {
  JobNode* prev;
  JobNode* next;
  JobItem* item;
};

constexpr uint32_t kJobNameSize = 33;
constexpr uint32_t kOutputFolderSize = 259;
// Frame names are at most 48 characters with their terminator.
constexpr size_t kFrameNameLimit = 48;

class JobList {
 public:
  // vendorName and modelName are length-prefixed strings of the device table.
  JobList(const unsigned char* vendorName, const unsigned char* modelName, const char* name);
  // Deletes the entries; a job never stored also loses its cache folder.
  ~JobList();
  JobList(const JobList&) = delete;
  JobList& operator=(const JobList&) = delete;

  int16_t Count() const { return count_; }
  JobNode* Head() const { return head_; }
  // Adds an entry of the kind for the frame and the current settings; the
  // node, or null (list unchanged) when memory is short or the kind unknown.
  JobNode* AddJobItem(FrameRecord* frame, uint8_t autoBeforeRun, int32_t kind, const char* imagePath, void* arg);
  void DeleteEntry(int16_t index);
  void DeleteAllEntries();
  bool CanEditEntry(int16_t index) const;
  // True also when the index is out of range.
  bool EntryDiffersFromCurrent(int16_t index) const;
  void TakeEntryFromCurrent(int16_t index);
  void RefreshEntryCache(int16_t index);
  void ResetEntryStatus(int16_t index);
  void CopyScanParametersTo(int16_t index, int32_t group);
  void ApplyDeviceLimitsTo(int16_t index);
  void GetOutputFolder(char* out) const;
  void SetOutputFolder(const char* path, bool quiet);
  int32_t OutputFormat() const { return outputFormat_; }
  void SetOutputFormat(int32_t format, bool quiet);
  void GetName(char* out) const;
  bool IsModified() const { return modified_ != 0; }
  bool IsStored() const { return stored_ != 0; }
  bool StopRequested() const { return stopRequested_ != 0; }
  bool NeedsThumbnails() const;
  bool EntryHasThumbnail(int16_t index) const;
  void RebuildEntryThumbnail(int16_t index);
  // Whether an entry's frame is named (case-insensitively) so.
  bool ContainsFrameName(const char* name) const;
  // Entries selected (one byte per entry) with status 0.
  int16_t CountRunnableEntries(const uint8_t* selection) const;

  void MarkModified() { modified_ = 1; }
  void MarkStored() { stored_ = 1, modified_ = 0; }
  // Read from its file: stored, with the changes reading made kept.
  void MarkRead() { stored_ = 1; }
  void RequestStop() { stopRequested_ = 1; }
  void ClearStopRequest() { stopRequested_ = 0; }

  // The device vendor's length-prefixed name (64 bytes).
  const unsigned char* VendorName() const { return vendorName_; }
  void SetName(const char* name);
  // Links a node read from a job file or the clipboard: after entry `after`,
  // at the end when `after` is 0 or past the end.
  void InsertNode(JobNode* node, int16_t after);

  // Editing an entry in the main window: the window's frames, settings and
  // preview files set aside, the entry loaded as its only frame, and the
  // window's state put back afterwards.
  void SaveEditorState();
  void LoadEntryIntoEditor(int16_t index);
  void RestoreEditorState();
  // The current preview and zoom files moved to new "~QB" files in the
  // temporary folder, or (back) moved back over the current ones.
  void SetAsideCurrentPreviews(bool back);

  // "Kopie von X", then "Kopie (2) von X", ... until no entry carries the name.
  void MakeUniqueFrameName(FrameRecord* frame) const;

 private:
  JobItem* ItemAt(int16_t index) const;

  unsigned char vendorName_[64] = {};
  unsigned char modelName_[64] = {};
  char name_[kJobNameSize] = {};
  char outputFolder_[kOutputFolderSize] = {};
  int32_t outputFormat_ = 0;
  JobNode* head_ = nullptr;
  int16_t count_ = 0;
  char savedPreviewPath_[256] = {};
  char savedZoomPath_[256] = {};
  ColorSettingsSnapshot editorSnapshot_;
  PreviewOrientation editorOrientation_ = {};
  uint8_t stopRequested_ = 0;
  uint8_t stored_ = 0;
  uint8_t modified_ = 0;
};

// The node of the 1-based entry (below 2: the head); null past the end.
JobNode* NthJobNode(const JobList& list, int16_t n);
