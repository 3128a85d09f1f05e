#include "output/job_file.h"

#include <cstring>
#include <string>

#include "foundation/dialogs/alerts.h"
#include "foundation/folder_tools.h"
#include "foundation/paths.h"
#include "foundation/pstring.h"
#include "output/job_cache.h"
#include "output/job_list.h"
#include "output/job_records.h"
#include "output/job_run.h"
#include "output/output_names.h"
#include "output/resource_text.h"

namespace {

constexpr const char* kJobFileExtension = ".qbj";

std::string JobName(const JobList& list) {
  char name[kJobNameSize + 1] = {};
  list.GetName(name);
  return name;
}

// Only the job's own file is kept from copies and purges: a cache file whose
// name merely begins with the job's name (job "2", file "2024...") is not it.
bool IsJobFileName(const char* file, const std::string& jobName) {
  return SamePathText(file, (jobName + kJobFileExtension).c_str());
}

std::vector<std::string> FolderFiles(const std::string& folder) {
  std::vector<std::string> names;
  const auto keep = [](const char* name, void* context) {
    static_cast<std::vector<std::string>*>(context)->push_back(name);
  };
  ForEachFileInFolder(folder.c_str(), keep, &names);
  return names;
}

// The old folder's cache files copied into the new one, none replaced.
bool CopyCacheFiles(const std::string& from, const std::string& to, const std::string& jobName) {
  if (CreateFolder(to.c_str()) == kFolderFailed) return false;
  for (const std::string& name : FolderFiles(from)) {
    if (IsJobFileName(name.c_str(), jobName)) continue;
    const std::string target = to + "\\" + name;
    if (FileExists(target.c_str()) || !CopyFileContents((from + name).c_str(), target.c_str())) return false;
  }
  return true;
}

bool KeepsExistingJob() {
  return ShowMessageBox(nullptr, ResourceText(kWarningCaptionString).c_str(), ResourceText(kJobExistsString).c_str(),
                        kBoxOkCancel | kBoxIconExclamation, kWarningCaptionString, kJobExistsString) != kAnswerOk;
}

// Steps of a store under another name: the new folder made (copy) or moved there (rename).
bool MoveOrCopyJobFolder(const JobList& list, const char* name, bool asCopy) {
  char oldFolder[kPathSize];
  char jobs[kPathSize];
  if (!JobCacheFolder(list, oldFolder)) return false;
  JobsFolderPath(jobs);
  const std::string newFolder = std::string(jobs) + name;
  if (FolderExists(newFolder.c_str())) {
    if (KeepsExistingJob()) return false;
    DeleteFolder(newFolder.c_str());
  }
  if (asCopy) return CopyCacheFiles(oldFolder, newFolder, JobName(list));
  std::string from(oldFolder);
  from.pop_back();  // the folder itself, without its separator
  return MoveJobFolder(from.c_str(), newFolder.c_str());
}

bool WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  FileHandle file = CreateFileForWriting(path.c_str());
  if (!file) return false;
  const bool written = WriteBytesAt(file, 0, bytes.data(), static_cast<uint32_t>(bytes.size()));
  CloseFile(file);
  return written;
}

void AppendBytes(std::vector<uint8_t>* out, const void* data, size_t size) {
  const uint8_t* bytes = static_cast<const uint8_t*>(data);
  out->insert(out->end(), bytes, bytes + size);
}

}  // namespace

JobFileHeader MakeJobFileHeader(const JobList& list, uint32_t count) {
  JobFileHeader header = {};
  const unsigned char* vendor = list.VendorName();
  const size_t vendorBytes = vendor[0] < sizeof header.vendorName ? vendor[0] + 1u : sizeof header.vendorName;
  std::memcpy(header.vendorName, vendor, vendorBytes);
  char folder[kOutputFolderSize] = {};
  list.GetOutputFolder(folder);
  std::strncpy(header.outputFolder, folder, sizeof header.outputFolder - 1);
  header.outputFormat = static_cast<uint32_t>(list.OutputFormat());
  header.count = count;
  return header;
}

bool WriteJobFile(JobList* list, const char* name, bool asCopy) {
  // Under the job's own name a copy would delete the folder it copies from.
  if (!SamePathText(name, JobName(*list).c_str()) && !MoveOrCopyJobFolder(*list, name, asCopy)) return false;
  list->SetName(name);
  char folder[kPathSize];
  if (!JobCacheFolder(*list, folder)) return false;
  std::vector<uint8_t> bytes;
  const uint32_t version = kJobFileVersion;
  AppendBytes(&bytes, &version, sizeof version);
  const JobFileHeader header = MakeJobFileHeader(*list, static_cast<uint32_t>(list->Count()));
  AppendBytes(&bytes, &header, sizeof header);
  for (JobNode* node = list->Head(); node; node = node->next) WriteJobItem(*node->item, &bytes);
  if (!WriteWholeFile(std::string(folder) + name + kJobFileExtension, bytes)) return false;
  list->MarkStored();
  PurgeUnusedCacheFiles(*list);
  return true;
}

bool ReadJobFileHeader(FileHandle file, JobFileHeader* header, uint32_t* version) {
  *header = {};
  if (!ReadBytesAt(file, 0, version, sizeof *version) || !IsKnownJobFileVersion(*version)) return false;
  if (*version == kJobFileVersion) {
    if (!ReadBytesAt(file, 4, header, sizeof *header)) return false;
  } else {
    uint8_t old[kOldJobHeaderSize];
    if (!ReadBytesAt(file, 4, old, sizeof old)) return false;
    std::memcpy(header, old, kOldJobHeaderCount);
    std::memcpy(&header->count, old + kOldJobHeaderCount, sizeof header->count);
  }
  // The names must lie inside their fields.
  return header->vendorName[0] < sizeof header->vendorName &&
         std::memchr(header->outputFolder, 0, sizeof header->outputFolder) != nullptr;
}

bool ReadJobFile(JobList* list, FileHandle file, uint32_t count, uint32_t version) {
  if (!IsKnownJobFileVersion(version)) return false;
  uint64_t offset = 4 + (version == kJobFileVersion ? sizeof(JobFileHeader) : kOldJobHeaderSize);
  bool failed = false;
  std::vector<uint8_t> record;
  for (uint32_t i = 0; i < count && !failed; ++i) {
    uint32_t length = 0;
    // A length no version allows is refused before anything is allocated for it.
    failed = !ReadBytesAt(file, offset, &length, sizeof length) || length < SmallestJobRecord(version) ||
             length > LargestJobRecord(version);
    if (failed) break;
    record.resize(length);
    failed = !ReadBytesAt(file, offset + 4, record.data(), length) ||
             !CreateJobItemFromRecord(list, record.data(), length, version, 0, true);
    offset += 4 + uint64_t(length);
  }
  for (JobNode* node = list->Head(); node; node = node->next) node->item->EndReading();
  if (!failed) list->MarkRead();
  return !failed;
}

void PurgeUnusedCacheFiles(const JobList& list) {
  char folder[kPathSize];
  if (!JobCacheFolder(list, folder)) return;
  const std::string jobName = JobName(list);
  std::vector<std::string> unused;
  for (const std::string& name : FolderFiles(folder)) {
    if (IsJobFileName(name.c_str(), jobName)) continue;
    bool referenced = false;
    for (JobNode* node = list.Head(); node && !referenced; node = node->next)
      referenced = name == node->item->previewCacheName || name == node->item->zoomCacheName;
    if (!referenced) unused.push_back(name);
  }
  for (const std::string& name : unused) DeleteFileAt((std::string(folder) + name).c_str());
}

std::vector<uint8_t> MakeJobClipboardBlock(const JobList& list, const int16_t* rows, int16_t count) {
  std::vector<uint8_t> block;
  const JobFileHeader header = MakeJobFileHeader(list, static_cast<uint32_t>(count < 0 ? 0 : count));
  AppendBytes(&block, &header, sizeof header);
  for (int16_t i = 0; i < count; ++i)
    if (JobNode* node = rows[i] >= 0 ? NthJobNode(list, static_cast<int16_t>(rows[i] + 1)) : nullptr)
      WriteJobItem(*node->item, &block);
  return block;
}

int16_t PasteJobClipboardBlock(JobList* list, const uint8_t* block, uint32_t size, int16_t insertAfter,
                               const unsigned char* vendorName) {
  JobFileHeader header;
  if (size < sizeof header) return 0;
  std::memcpy(&header, block, sizeof header);
  if (header.vendorName[0] >= sizeof header.vendorName || PStrCompare(header.vendorName, vendorName) != 0 ||
      header.count == 0)
    return 0;
  int16_t taken = 0;
  std::vector<uint8_t> record;
  for (uint32_t at = sizeof header; size - at >= 4 && uint32_t(taken) < header.count;) {
    uint32_t length;
    std::memcpy(&length, block + at, sizeof length);
    // A record must lie wholly inside the block.
    if (length > size - at - 4) break;
    record.assign(block + at + 4, block + at + 4 + length);
    if (!IsSoundJobRecord(record.data(), length, kJobFileVersion)) break;
    {
      FrameRecord frame;
      std::memcpy(&frame, record.data() + kJobKindTagSize, sizeof frame);
      list->MakeUniqueFrameName(&frame);
      std::memcpy(record.data() + kJobKindTagSize, &frame, sizeof frame);
    }
    // At the end each entry goes after the one pasted before it.
    const int16_t index = insertAfter > 0 ? int16_t(insertAfter + taken) : 0;
    if (!CreateJobItemFromRecord(list, record.data(), length, kJobFileVersion, index, false))
      break;
    ++taken;
    at += 4 + length;
  }
  if (taken > 0) list->MarkModified();
  return taken;
}
