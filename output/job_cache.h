// The job's folder inside the jobs folder, the entries' cached preview files
// in it, and the default output folder of a new job.
#pragma once

#include <cstdint>

class JobList;
struct FrameRecord;

// A local time with the day of the week (0 Sunday) and milliseconds.
struct CacheTime {
  int32_t year, month, dayOfWeek, day, hour, minute, second, milliseconds;
};

enum : uint32_t {
  kJobsFolderString = 1600,    // "Jobs"
  kJobsFolderTipString = 527,  // "Quillbrook Jobs"
};
constexpr uint32_t kJobsFolderIconGroup = 6;

// "%04d%02d%02d%02d%02d%02d%02d%03d %s" from the time and the name cut
// before the character ahead of its first "(", into 33 bytes; a name without
// "(" gives an empty name and false.
bool MakeCacheFileName(const CacheTime& time, const char* previewName, char* out);
// The creation time of the file as local time; false when it cannot be had.
bool FileCreationLocalTime(const char* path, CacheTime* time);

// The settings folder + "Jobs\": true when it existed, false when it was
// made now (it holds no jobs yet) or cannot be made.
bool JobsFolderPath(char* path);
// The jobs folder + the job's name + "\", made on demand; false when it cannot be had.
bool JobCacheFolder(const JobList& list, char* path);
// The current preview (zoom-preview) file copied into the job's folder
// under its cache name, unless a file of that name is there; the name is
// given whenever the file exists. The zoom file only when its frame area
// holds the frame.
bool CachePreviewFile(const JobList& list, char* name);
bool CacheZoomFile(const JobList& list, char* name, const FrameRecord& frame);
// The output folder of a new job (lower case).
void InitDefaultOutputFolder(char* folder);
// Copies the whole file; false when it cannot be read or written.
bool CopyFileContents(const char* from, const char* to);
