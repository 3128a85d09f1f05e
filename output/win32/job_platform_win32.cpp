#include <windows.h>

#include "output/job_cache.h"

bool FileCreationLocalTime(const char* path, CacheTime* time) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  FILETIME local;
  SYSTEMTIME t;
  if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data) ||
      !FileTimeToLocalFileTime(&data.ftCreationTime, &local) || !FileTimeToSystemTime(&local, &t))
    return false;
  *time = {t.wYear, t.wMonth, t.wDayOfWeek, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds};
  return true;
}
