#include <sys/stat.h>

#include <ctime>
#include <string>

#include "output/job_cache.h"

// POSIX keeps no creation time: the last status change stands in for it.
bool FileCreationLocalTime(const char* path, CacheTime* time) {
  // The host takes "\\" as "/", as its file layer does.
  std::string native(path);
  for (char& c : native)
    if (c == '\\') c = '/';
  struct stat info;
  if (stat(native.c_str(), &info) != 0) return false;
  struct tm t;
  const time_t seconds = info.st_ctim.tv_sec;
  if (!localtime_r(&seconds, &t)) return false;
  *time = {t.tm_year + 1900, t.tm_mon + 1, t.tm_wday, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec,
           static_cast<int32_t>(info.st_ctim.tv_nsec / 1000000)};
  return true;
}
