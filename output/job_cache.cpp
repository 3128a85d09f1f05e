#include "output/job_cache.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <vector>

#include "foundation/file_io.h"
#include "foundation/geometry.h"
#include "foundation/memory.h"
#include "foundation/paths.h"
#include "foundation/record_store.h"
#include "foundation/settings_folders.h"
#include "foundation/system.h"
#include "output/app_store_access.h"
#include "output/job_list.h"
#include "output/output_names.h"
#include "records/frame_record.h"
#include "session/device_platform.h"
#include "session/preview_files.h"

namespace {

constexpr RecordType kJobFolderRecordType = TagFromString("JMQB");
constexpr int32_t kJobFolderRecordId = 128;

// The preview file of the kind copied into the job's folder under its cache name.
bool CacheFile(const JobList& list, PreviewFileKind kind, char* name) {
  name[0] = '\0';
  char current[kPathSize];
  CacheTime time;
  if (!PreviewFilePath(kind, current) || !FileExists(current) || !FileCreationLocalTime(current, &time)) return false;
  MakeCacheFileName(time, FileNamePart(current), name);
  char folder[kPathSize];
  if (!name[0] || !JobCacheFolder(list, folder) || std::strlen(folder) + std::strlen(name) >= sizeof folder)
    return false;
  std::strcat(folder, name);
  return !FileExists(folder) && CopyFileContents(current, folder);
}

void LowerCase(char* text) {
  for (; *text; ++text) *text = static_cast<char>(std::tolower(static_cast<unsigned char>(*text)));
}

}  // namespace

bool MakeCacheFileName(const CacheTime& t, const char* previewName, char* out) {
  out[0] = '\0';
  const char* bracket = std::strchr(previewName, '(');
  if (!bracket) return false;
  const size_t cut = bracket > previewName ? static_cast<size_t>(bracket - previewName - 1) : 0;
  char text[64];
  std::snprintf(text, sizeof text, "%04d%02d%02d%02d%02d%02d%02d%03d %.*s", t.year, t.month, t.dayOfWeek, t.day,
                t.hour, t.minute, t.second, t.milliseconds, static_cast<int>(cut), previewName);
  std::strncpy(out, text, 32);
  out[32] = '\0';
  return true;
}

bool JobsFolderPath(char* path) {
  if (!GetSettingsFolder(path)) return false;
  char name[64] = {};
  LoadResourceString(GetModuleInstance(), kJobsFolderString, name, sizeof name);
  if (!AppendToPath(path, name) || !AppendToPath(path, "\\")) return false;
  switch (CreateFolder(path)) {
    case kFolderExists: return true;
    case kFolderCreated: MarkFolderWithIcon(path, kJobsFolderIconGroup, "JobsFolder", kJobsFolderTipString); return false;
    default: return false;
  }
}

bool JobCacheFolder(const JobList& list, char* path) {
  JobsFolderPath(path);
  if (!path[0]) return false;
  char name[40];
  list.GetName(name);
  if (!AppendToPath(path, name) || !AppendToPath(path, "\\")) return false;
  return CreateFolder(path) != kFolderFailed;
}

bool CachePreviewFile(const JobList& list, char* name) { return CacheFile(list, kPreviewFile, name); }

bool CacheZoomFile(const JobList& list, char* name, const FrameRecord& frame) {
  name[0] = '\0';
  char path[kPathSize];
  if (!PreviewFilePath(kZoomFile, path)) return false;
  FileHandle file = OpenFileForReading(path);
  DRect area = {};
  const bool read = file && ReadBytesAt(file, 0, &area, sizeof area);
  CloseFile(file);
  const DRect frameRect = {frame.originX, frame.originY, frame.width, frame.height};
  if (!read || !IsDRectInside(frameRect, area)) return false;
  return CacheFile(list, kZoomFile, name);
}

void InitDefaultOutputFolder(char* folder) {
  folder[0] = '\0';
  const bool stored = WithAppStore([folder](FileHandle store) {
    return RecordStoreRead(store, kJobFolderRecordType, kJobFolderRecordId, folder, kPathSize);
  });
  char outputPath[kPathSize];
  if (stored && folder[0]) {
    folder[kPathSize - 1] = '\0';
  } else if (LoadOutputPath(outputPath)) {
    GetParentPath(outputPath);
    std::strcpy(folder, outputPath);
  } else if (!GetCurrentFolder(folder, kPathSize) && !GetTemporaryFolder(folder, kPathSize)) {
    std::strcpy(folder, "c:\\");
  }
  LowerCase(folder);
}

bool CopyFileContents(const char* from, const char* to) {
  FileHandle in = OpenFileForReading(from);
  uint64_t size = 0;
  if (!in || !GetFileSize(in, &size)) {
    CloseFile(in);
    return false;
  }
  FileHandle out = CreateFileForWriting(to);
  bool ok = out != nullptr;
  std::vector<uint8_t> buffer(1 << 16);
  for (uint64_t at = 0; ok && at < size; at += buffer.size()) {
    const uint32_t count = static_cast<uint32_t>(size - at < buffer.size() ? size - at : buffer.size());
    ok = ReadBytesAt(in, at, buffer.data(), count) && WriteBytesAt(out, at, buffer.data(), count);
  }
  CloseFile(in);
  CloseFile(out);
  if (!ok) DeleteFileAt(to);
  return ok;
}
