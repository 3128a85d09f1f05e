// The file interface over POSIX descriptors (host checks).
#include "foundation/file_io.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

struct PlatformFile {
  int fd;
};

namespace {

// Paths arrive in the system's form; separators become "/".
std::string Native(const char* path) {
  std::string native(path);
  for (char& c : native)
    if (c == '\\') c = '/';
  return native;
}

FileHandle Wrap(int fd, bool exclusive) {
  if (fd < 0) return nullptr;
  // Not shared: a second opener for writing is refused, like a Windows share mode of 0.
  if (exclusive && flock(fd, LOCK_EX | LOCK_NB) != 0) {
    close(fd);
    return nullptr;
  }
  return new PlatformFile{fd};
}

}  // namespace

FileHandle OpenFileReadWrite(const char* path) { return Wrap(open(Native(path).c_str(), O_RDWR | O_CREAT, 0644), true); }
FileHandle OpenExistingFileReadWrite(const char* path) { return Wrap(open(Native(path).c_str(), O_RDWR), true); }
FileHandle OpenFileForReading(const char* path) { return Wrap(open(Native(path).c_str(), O_RDONLY), false); }
FileHandle CreateFileForWriting(const char* path) {
  return Wrap(open(Native(path).c_str(), O_RDWR | O_CREAT | O_TRUNC, 0644), true);
}

void CloseFile(FileHandle file) {
  if (!file) return;
  close(file->fd);
  delete file;
}

bool ReadBytesAt(FileHandle file, uint64_t offset, void* buffer, uint32_t count) {
  if (!file) return false;
  auto* bytes = static_cast<char*>(buffer);
  while (count > 0) {
    ssize_t got = pread(file->fd, bytes, count, static_cast<off_t>(offset));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    bytes += got;
    offset += static_cast<uint64_t>(got);
    count -= static_cast<uint32_t>(got);
  }
  return true;
}

bool WriteBytesAt(FileHandle file, uint64_t offset, const void* buffer, uint32_t count) {
  if (!file) return false;
  auto* bytes = static_cast<const char*>(buffer);
  while (count > 0) {
    ssize_t put = pwrite(file->fd, bytes, count, static_cast<off_t>(offset));
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return false;
    bytes += put;
    offset += static_cast<uint64_t>(put);
    count -= static_cast<uint32_t>(put);
  }
  return true;
}

bool GetFileSize(FileHandle file, uint64_t* size) {
  struct stat info;
  if (!file || fstat(file->fd, &info) != 0) return false;
  *size = static_cast<uint64_t>(info.st_size);
  return true;
}

bool SetFileSize(FileHandle file, uint64_t size) {
  return file && ftruncate(file->fd, static_cast<off_t>(size)) == 0;
}

bool GetOpenFilePath(FileHandle file, char* path, uint32_t size) {
  if (!file || size == 0) return false;
  const std::string link = "/proc/self/fd/" + std::to_string(file->fd);
  const ssize_t length = readlink(link.c_str(), path, size - 1);
  if (length <= 0 || static_cast<uint32_t>(length) >= size - 1) return false;
  path[length] = '\0';
  return true;
}

bool FileExists(const char* path) {
  struct stat info;
  return stat(Native(path).c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool DeleteFileAt(const char* path) { return unlink(Native(path).c_str()) == 0; }

FolderCreation CreateFolder(const char* path) {
  if (mkdir(Native(path).c_str(), 0755) == 0) return kFolderCreated;
  return errno == EEXIST ? kFolderExists : kFolderFailed;
}

bool FolderExists(const char* path) {
  struct stat info;
  return stat(Native(path).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool RemoveFolder(const char* path) { return rmdir(Native(path).c_str()) == 0; }

bool ForEachFileInFolder(const char* folder, void (*visit)(const char* name, void* context), void* context) {
  std::string base = Native(folder);
  DIR* dir = opendir(base.c_str());
  if (!dir) return false;
  if (base.empty() || base.back() != '/') base += '/';
  while (dirent* entry = readdir(dir)) {
    struct stat info;
    if (stat((base + entry->d_name).c_str(), &info) == 0 && S_ISREG(info.st_mode)) visit(entry->d_name, context);
  }
  closedir(dir);
  return true;
}

bool SetPathAttributes(const char*, uint32_t) { return true; }

bool GetFileStamp(const char* path, FileStamp* stamp) {
  struct stat info;
  if (stat(Native(path).c_str(), &info) != 0) return false;
  // 100 ns ticks since 1601, as the product's file times count.
  const uint64_t kEpochDifference = 11644473600ull;
  uint64_t ticks = (static_cast<uint64_t>(info.st_mtim.tv_sec) + kEpochDifference) * 10000000ull +
                   static_cast<uint64_t>(info.st_mtim.tv_nsec) / 100;
  stamp->timeLow = static_cast<uint32_t>(ticks);
  stamp->timeHigh = static_cast<uint32_t>(ticks >> 32);
  uint64_t size = static_cast<uint64_t>(info.st_size);
  stamp->sizeHigh = static_cast<uint32_t>(size >> 32);
  stamp->sizeLow = static_cast<uint32_t>(size);
  return true;
}

bool GetTemporaryFolder(char* folder, uint32_t size) {
  const char* temp = std::getenv("TMPDIR");
  if (!temp || !temp[0]) temp = "/tmp";
  const char* separator = temp[std::strlen(temp) - 1] == '/' ? "" : "/";
  int length = std::snprintf(folder, size, "%s%s", temp, separator);
  return length > 0 && static_cast<uint32_t>(length) < size;
}
