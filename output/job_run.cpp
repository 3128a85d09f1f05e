#include "output/job_run.h"

#include <cstring>
#include <string>

#include "foundation/dialogs/alerts.h"
#include "foundation/memory.h"
#include "foundation/paths.h"
#include "foundation/record_store.h"
#include "foundation/system.h"
#include "frames/frame_list.h"
#include "output/app_store_access.h"
#include "output/color_settings_snapshot.h"
#include "output/file_output.h"
#include "output/image_file_writer.h"
#include "output/job_hooks.h"
#include "output/output_names.h"
#include "output/resource_text.h"
#include "output/writer_progress.h"
#include "records/defaults_block.h"
#include "session/device_layer.h"
#include "session/preview_store.h"
#include "session/user_interface_hooks.h"
#include "state/data_source_state.h"

namespace {

constexpr uint32_t kBoxOkCancelInformation = kBoxOkCancel | kBoxIconInformation;

// The job's output folder + "\" + string 473.
std::string JobOutputPath(const JobList& list) {
  char folder[kPathSize];
  list.GetOutputFolder(folder);
  return std::string(folder) + "\\" + ResourceText(kJobOutputBaseString);
}

// The format the run writes the entry in.
int32_t EntryFormat(const JobItem& item, int32_t format) {
  return item.CanSaveInFormat(format, nullptr) ? format : kFormatTiff;
}

void Store(uint8_t* out, bool value) {
  if (out) *out = value;
}

bool FormatProblemAccepted(uint32_t messageId) {
  const std::string text = ResourceText(kJobFormatProblemString) + "\n" + ResourceText(kHintString) + ":\n" +
                           ResourceText(messageId) + "\n\n" + ResourceText(kJobWriteAsTiffString);
  return ShowMessageBox(nullptr, ResourceText(kWarningCaptionString).c_str(), text.c_str(), kBoxOkCancelInformation,
                        kWarningCaptionString, kJobFormatProblemString) == kAnswerOk;
}

// Replaces every "TIFL" record by the path under the record name; none when path is null.
void ReplaceOutputPathRecord(const char* path, const char* recordName) {
  WithAppStore([path, recordName](FileHandle store) {
    while (RecordStoreCount(store, kOutputPathType) > 0)
      if (!RecordStoreDeleteIndexed(store, kOutputPathType, 1)) break;
    if (!path) return true;
    char record[kPathSize] = {};
    std::strncpy(record, path, kPathSize - 1);
    return RecordStoreAdd(store, kOutputPathType, kOutputPathId, record, kPathSize, recordName);
  });
}

}  // namespace

void MakeJobOutputName(const JobList& list, const JobNode* node, int16_t number, char* path) {
  const bool batch = gBatchOutput;
  FrameRecord* const current = gCurrentFrame;
  FrameRecord scratch = {};
  node->item->GetFrameName(scratch.name, &scratch.hasName);
  gCurrentFrame = &scratch;
  gBatchOutput = true;
  std::memset(path, 0, kPathSize);
  std::strncpy(path, JobOutputPath(list).c_str(), kPathSize - 1);
  MakeOutputFileName(EntryFormat(*node->item, list.OutputFormat()), path, 0, number, 1);
  gBatchOutput = batch;
  gCurrentFrame = current;
}

bool CheckJobsBeforeRun(const JobList& list, const uint8_t* selection, uint8_t* exists, uint8_t* sourceOverwrite,
                        uint8_t* formatProblem) {
  bool go = true, found = false, overwrite = false, problem = false;
  uint32_t message = 0;
  int16_t number = 0, i = 0;
  for (const JobNode* node = list.Head(); node; node = node->next, ++i) {
    if (!selection[i] || node->item->Status() != kJobToRun) continue;
    uint32_t refusal = 0;
    if (!node->item->CanSaveInFormat(list.OutputFormat(), &refusal)) {
      problem = true;
      message = refusal;
    }
    // Numbered as the run numbers it, under the name it is written with.
    char path[kPathSize];
    MakeJobOutputName(list, node, ++number, path);
    if (FileExists(path)) {
      found = true;
      if (node->item->IsSourceFile(path)) overwrite = true;
    }
  }
  if (problem) go = FormatProblemAccepted(message);
  if (go && overwrite) {
    ShowAlert(GetModuleInstance(), kWarningCaptionString, kSourceOverwriteString, false, nullptr);
    go = false;
  } else if (go && found) {
    go = ShowAlert(GetModuleInstance(), kWarningCaptionString, kFilesExistString, true, nullptr) == kAnswerYes;
  }
  Store(exists, found);
  Store(sourceOverwrite, overwrite);
  Store(formatProblem, problem);
  return go;
}

char* OutputNameBlock(const JobList& list) {
  std::string names;
  int16_t number = 0;
  for (const JobNode* node = list.Head(); node; node = node->next) {
    if (node->item->Status() != kJobToRun) continue;
    char path[kPathSize];
    MakeJobOutputName(list, node, ++number, path);
    if (path[0]) names.append(path).append(1, '\0');
  }
  if (names.empty()) return nullptr;
  char* block = static_cast<char*>(AllocBlock(static_cast<uint32_t>(names.size() + 1)));
  if (block) std::memcpy(block, names.data(), names.size() + 1);
  return block;
}

void StopJobRun(JobList& list) { list.RequestStop(); }

void RunJobList(JobList& list, const uint8_t* selection) {
  list.ClearStopRequest();
  const int16_t total = list.CountRunnableEntries(selection);
  if (total < 1) return;
  const bool batch = gBatchOutput;
  const int32_t format = gOutputFormat;
  const ColorSettingsSnapshot snapshot = TakeColorSettingsSnapshot();

  char before[kPathSize] = {};
  const bool hadPath = LoadOutputPath(before);
  ReplaceOutputPathRecord(JobOutputPath(list).c_str(), kJobOutputPathName);

  gBatchOutput = true;
  gOutputFormat = list.OutputFormat();
  SuppressAlerts(true);
  const bool progress = gOutputFormat >= kFormatTiff && gOutputFormat <= kFormatJpeg;
  if (progress) OpenWriterProgress(true, static_cast<int32_t>(kTiffBatchTitleString + gOutputFormat), 0);

  bool autoAdjusted = false;
  uint8_t cancelled = 0;
  int16_t number = 0, finished = 0, index = 1;
  for (JobNode* node = list.Head(); node && !cancelled && !list.StopRequested(); node = node->next, ++index) {
    JobItem& item = *node->item;
    if (!selection[index - 1] || item.Status() != kJobToRun) continue;
    item.SetStatus(kJobRunning);
    JobWindow().redrawJobRow(index, 1);
    uint8_t autoRan = 0;
    const bool failed = item.Run(++number, total, &cancelled, &autoRan);
    if (cancelled) {
      item.SetStatus(kJobToRun);
      StopJobRun(list);
    } else {
      item.SetStatus(failed ? kJobFailed : kJobWritten);
      list.MarkModified();
      ++finished;
    }
    JobWindow().redrawJobRow(index, 1);
    if (autoRan) autoAdjusted = true;
  }

  JobWindow().initColourSystem();
  if (progress) CloseWriterProgress();
  SuppressAlerts(false);
  // The band pipeline starts its next read from the beginning.
  gBand.passByte = 0;
  JobWindow().initScanFrame();
  gCurrentFrame = snapshot.currentFrame;
  PutBackSourceSettings(snapshot);
  ApplySettingsSnapshot(snapshot);
  // The numbers of finished entries are used up, as after any batch run, so
  // that a job started again after a cancel replaces none of their files
  // (stored once the settings are the user's own again).
  if (finished > 0) {
    SetDefault(gDefaults, kDefaultBatchStartNumber,
               static_cast<int16_t>(GetDefault(gDefaults, kDefaultBatchStartNumber) + finished));
    SessionUserInterface().saveColourBalanceAndDefaults();
  }
  ReplaceOutputPathRecord(hadPath ? before : nullptr, kOutputPathName);
  gBatchOutput = batch;
  gOutputFormat = format;
  if (autoAdjusted) {
    FreePreviewBuffers();
    JobWindow().relayoutPreview();
  }
}

bool RunJobItem(JobItem& item, int16_t number, int16_t total, uint8_t* cancelled, uint8_t* autoRan) {
  *autoRan = 0;
  FrameListNode* node = NewFrameNode(item.frame);
  // No node, no file: the entry counts as failed.
  if (!node) return true;
  node->next = nullptr;
  gCurrentFrame = &node->frame;
  PutBackSourceSettings(item.settings);
  item.ApplyColorSettings();
  if (item.settings.outputMode == 4) JobWindow().setupMonitorMatching();

  bool failed = false;
  if (item.autoBeforeRun) {
    *autoRan = 1;
    failed = item.AutoAdjustBeforeRun();
  }
  if (!failed) {
    const int32_t format = gOutputFormat;
    // A format code outside 0-3 writes nothing: the entry counts as failed.
    if (format < kFormatTiff || format > kFormatJpeg) {
      failed = true;
    } else {
      const int16_t kind = WriterKindForFormat(EntryFormat(item, format));
      failed = WriteImageFile(kind, number, total, cancelled);
    }
  }
  FreeBlock(node);
  gCurrentFrame = nullptr;
  return failed;
}

bool RunFileJobItem(FileJobItem& item, int16_t number, int16_t total, uint8_t* cancelled, uint8_t* autoRan) {
  uint16_t kind = 0;
  char* previous = nullptr;
  *autoRan = 0;
  // With the current source unknown it could not be put back: nothing is written.
  if (!GetDeviceIdentifier(&kind, &previous) || !previous) return true;
  // A file that cannot be opened leaves the previous image as the source: nothing is written.
  const bool failed = !OpenImageDevice(item.imagePath) || RunJobItem(item, number, total, cancelled, autoRan);
  OpenImageDevice(previous);
  FreeBlock(previous);
  return failed;
}
