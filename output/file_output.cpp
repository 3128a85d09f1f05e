#include "output/file_output.h"

#include <cstring>
#include <string>
#include <vector>

#include "foundation/dialogs/dialog_services.h"
#include "foundation/dialogs/user_prompts.h"
#include "foundation/file_io.h"
#include "foundation/paths.h"
#include "foundation/progress/session_values.h"
#include "frames/frame_list.h"
#include "output/image_file_writer.h"
#include "output/jpeg_options.h"
#include "output/output_checks.h"
#include "output/output_names.h"
#include "output/writer_progress.h"
#include "records/defaults_block.h"
#include "records/frame_record.h"
#include "session/user_interface_hooks.h"
#include "state/data_source_state.h"

namespace {

BatchCounterSettings gBatchCounter;

struct FileType {
  int32_t format;
  const char* description;
  const char* pattern;
};
// TIFF is always offered, the others when the frames can hold them.
const FileType kFileTypes[] = {
    {kFormatTiff, "TIFF (*.tif)", "*.tif"},
    {kFormatJpeg, "JPEG (*.jpg)", "*.jpg"},
    {kFormatDcs, "DCS (*.eps)", "*.eps"},
    {kFormatEpsf, "EPSF (*.eps)", "*.eps"},
};

bool EndsWith(const std::string& text, const char* end) {
  const size_t length = std::strlen(end);
  return text.size() >= length && text.compare(text.size() - length, length, end) == 0;
}

// The extension the format keeps: a long form shortened, any other one kept and the format's appended.
std::string WithFormatExtension(std::string path, int32_t format) {
  const char* extension = format == kFormatJpeg ? ".jpg" : format == kFormatTiff ? ".tif" : ".eps";
  const char* longForm = format == kFormatJpeg ? ".jpeg" : format == kFormatTiff ? ".tiff" : nullptr;
  if (longForm && EndsWith(path, longForm)) return path.substr(0, path.size() - std::strlen(longForm)) + extension;
  if (EndsWith(path, extension)) return path;
  return path + extension;
}

void InitialFolder(char* folder) {
  if (LoadOutputPath(folder)) {
    GetParentPath(folder);
    return;
  }
  if (!GetTemporaryFolder(folder, kPathSize)) std::strcpy(folder, "C:\\");
}

std::string OutputName(int16_t kind, int16_t number) {
  char path[kPathSize];
  if (!LoadOutputPath(path)) return std::string();
  BuildOutputFileName(kind, path, 0, number, 1);
  return path;
}

// The numbered name of a file of the run, whatever the current frame is called.
std::string NumberedName(int16_t kind, int16_t number) {
  const uint8_t hasName = gCurrentFrame->hasName;
  gCurrentFrame->hasName = 0;
  std::string name = OutputName(kind, number);
  gCurrentFrame->hasName = hasName;
  return name;
}

// A frame whose name gives the file of an earlier frame of the run, or the
// numbered file of any frame of the run, takes the batch number instead.
void AvoidNameCollision(int16_t kind, int16_t number, int16_t count, std::vector<std::string>* written) {
  std::string name = OutputName(kind, number);
  const auto used = [written](const std::string& path) {
    for (const std::string& other : *written)
      if (SamePathText(other.c_str(), path.c_str())) return true;
    return false;
  };
  const auto numbered = [kind, count](const std::string& path) {
    for (int16_t n = 1; n <= count; ++n)
      if (SamePathText(NumberedName(kind, n).c_str(), path.c_str())) return true;
    return false;
  };
  if (gCurrentFrame && gCurrentFrame->hasName && (used(name) || numbered(name))) {
    gCurrentFrame->hasName = 0;
    name = OutputName(kind, number);
  }
  written->push_back(name);
}

uint32_t ProgressTitle() {
  if (!gBatchOutput) return kFileOutputTitleString;
  const int32_t format = gOutputFormat >= kFormatTiff && gOutputFormat <= kFormatJpeg ? gOutputFormat : kFormatTiff;
  return kTiffBatchTitleString + static_cast<uint32_t>(format);
}

uint32_t CurrentColorModeName() {
  if (!gCurrentFrame) return 0;
  return ColorModeNameId(gCurrentFrame->colorMode == 2, gCurrentFrame->bitsPerChannel,
                         GetDefault(gDefaults, kDefaultOutputCmsMode));
}

}  // namespace

void InstallFileOutputDialogServices() {
  SaveAsOutputServices services = SaveAsOutput();
  services.batch = &gBatchCounter;
  services.runJpegOptions = RunJpegOptionsDialog;
  InstallSaveAsOutputServices(services);
}

bool ChooseScanOutputFile(WindowHandle owner) {
  char folder[kPathSize];
  InitialFolder(folder);

  std::string filter;
  std::vector<int32_t> formats;
  int filterIndex = 1;
  for (const FileType& type : kFileTypes) {
    if (type.format != kFormatTiff && !CanFormatHoldFrames(type.format)) continue;
    formats.push_back(type.format);
    if (type.format == gOutputFormat) filterIndex = static_cast<int>(formats.size());
    filter.append(type.description).append(1, '\0').append(type.pattern).append(1, '\0');
  }
  filter.append(1, '\0');

  char path[kPathSize];
  DefaultOutputBaseName(path);
  gBatchCounter.batchScan = gBatchOutput;
  gBatchCounter.resetBeforeEachBatch = GetDefault(gDefaults, kDefaultBatchCounterReset) != 0;
  gBatchCounter.startCounter = GetDefault(gDefaults, kDefaultBatchStartNumber);
  uint16_t nameAt = 0;
  if (!SaveImageAs(owner, filter.c_str(), &filterIndex, folder, path, sizeof path, &nameAt)) return false;
  if (gBatchOutput) {
    SetDefault(gDefaults, kDefaultBatchCounterReset, static_cast<uint8_t>(gBatchCounter.resetBeforeEachBatch));
    SetDefault(gDefaults, kDefaultBatchStartNumber, gBatchCounter.startCounter);
    SessionUserInterface().saveColourBalanceAndDefaults();
  }

  char baseName[kPathSize], extension[kPathSize];
  SplitFileName(path, baseName, extension);
  if (gBatchOutput) {
    SaveBatchBaseName(baseName);
  } else if (gCurrentFrame && gCurrentFrame->hasName) {
    std::strncpy(gCurrentFrame->name, baseName, sizeof gCurrentFrame->name - 1);
    gCurrentFrame->name[sizeof gCurrentFrame->name - 1] = '\0';
  } else {
    ++gUntitledCounter;
  }

  const size_t chosen = filterIndex >= 1 && static_cast<size_t>(filterIndex) <= formats.size()
                            ? static_cast<size_t>(filterIndex - 1)
                            : 0;
  gOutputFormat = formats[chosen];
  const std::string output = WithFormatExtension(path, gOutputFormat);
  char record[kPathSize] = {};
  std::strncpy(record, output.c_str(), kPathSize - 1);
  return SaveOutputPath(record);
}

bool SaveScanToFiles() {
  const int16_t count = static_cast<int16_t>(gBatchOutput ? CountFrames() : 1);
  const int16_t kind = WriterKindForFormat(gOutputFormat);
  OpenWriterProgress(true, static_cast<int32_t>(ProgressTitle()), static_cast<int32_t>(CurrentColorModeName()));

  bool allWritten = true;
  int16_t started = 0;
  std::vector<std::string> written;
  for (int16_t n = 1; gCurrentFrame; ++n) {
    SetWriterProgressSubtitle(static_cast<int32_t>(CurrentColorModeName()));
    if (gBatchOutput) AvoidNameCollision(kind, n, count, &written);
    if (!SessionUserInterface().precheckBatchPreview()) {
      allWritten = false;
      break;
    }
    ++started;
    uint8_t cancelled = 0;
    if (WriteImageFile(kind, n, count, &cancelled)) {
      allWritten = false;
      break;
    }
    if (!gBatchOutput) break;
    // The next frame of the list becomes current.
    RemoveCurrentFrame();
  }

  ResetBatchCounter();
  SessionUserInterface().loadColourBalanceAndDefaults();
  SetDefault(gDefaults, kDefaultBatchStartNumber,
             static_cast<int16_t>(GetDefault(gDefaults, kDefaultBatchStartNumber) + started));
  SessionUserInterface().saveColourBalanceAndDefaults();
  CloseWriterProgress();
  return allWritten;
}
