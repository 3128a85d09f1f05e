// The file interface over Win32 file handles (the product).
#include <windows.h>

#include <cstring>
#include <string>

#include "foundation/file_io.h"

namespace {

FileHandle Open(const char* path, DWORD access, DWORD share, DWORD disposition) {
  HANDLE h = CreateFileA(path, access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  return h == INVALID_HANDLE_VALUE ? nullptr : reinterpret_cast<FileHandle>(h);
}

HANDLE Native(FileHandle file) { return reinterpret_cast<HANDLE>(file); }

bool Seek(FileHandle file, uint64_t offset) {
  LARGE_INTEGER position;
  position.QuadPart = static_cast<LONGLONG>(offset);
  return SetFilePointerEx(Native(file), position, nullptr, FILE_BEGIN) != 0;
}

}  // namespace

FileHandle OpenFileReadWrite(const char* path) {
  return Open(path, GENERIC_READ | GENERIC_WRITE, 0, OPEN_ALWAYS);
}
FileHandle OpenExistingFileReadWrite(const char* path) {
  return Open(path, GENERIC_READ | GENERIC_WRITE, 0, OPEN_EXISTING);
}
FileHandle OpenFileForReading(const char* path) {
  return Open(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
}
FileHandle CreateFileForWriting(const char* path) {
  return Open(path, GENERIC_READ | GENERIC_WRITE, 0, CREATE_ALWAYS);
}

void CloseFile(FileHandle file) {
  if (file) CloseHandle(Native(file));
}

bool ReadBytesAt(FileHandle file, uint64_t offset, void* buffer, uint32_t count) {
  if (!file || !Seek(file, offset)) return false;
  DWORD got = 0;
  return ReadFile(Native(file), buffer, count, &got, nullptr) && got == count;
}

bool WriteBytesAt(FileHandle file, uint64_t offset, const void* buffer, uint32_t count) {
  if (!file || !Seek(file, offset)) return false;
  DWORD put = 0;
  return WriteFile(Native(file), buffer, count, &put, nullptr) && put == count;
}

bool GetFileSize(FileHandle file, uint64_t* size) {
  LARGE_INTEGER value;
  if (!file || !GetFileSizeEx(Native(file), &value)) return false;
  *size = static_cast<uint64_t>(value.QuadPart);
  return true;
}

bool SetFileSize(FileHandle file, uint64_t size) {
  return file && Seek(file, size) && SetEndOfFile(Native(file));
}

bool GetOpenFilePath(FileHandle file, char* path, uint32_t size) {
  // Looked up by name: systems before Vista do not have it.
  using FinalPathName = DWORD(WINAPI*)(HANDLE, LPSTR, DWORD, DWORD);
  static const auto finalPathName = reinterpret_cast<FinalPathName>(
      GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetFinalPathNameByHandleA"));
  char full[MAX_PATH * 2];
  if (!file || !finalPathName) return false;
  const DWORD length = finalPathName(Native(file), full, sizeof full, 0);
  if (length == 0 || length >= sizeof full) return false;
  // The name comes with the long-path prefix: "\\?\C:\..." or "\\?\UNC\server\...".
  std::string name(full, length);
  if (name.rfind("\\\\?\\UNC\\", 0) == 0) {
    name = "\\" + name.substr(7);
  } else if (name.rfind("\\\\?\\", 0) == 0) {
    name = name.substr(4);
  }
  if (name.size() >= size) return false;
  std::memcpy(path, name.c_str(), name.size() + 1);
  return true;
}

bool FileExists(const char* path) {
  DWORD attributes = GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool DeleteFileAt(const char* path) { return DeleteFileA(path) != 0; }

FolderCreation CreateFolder(const char* path) {
  if (CreateDirectoryA(path, nullptr)) return kFolderCreated;
  return GetLastError() == ERROR_ALREADY_EXISTS ? kFolderExists : kFolderFailed;
}

bool FolderExists(const char* path) {
  DWORD attributes = GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool RemoveFolder(const char* path) { return RemoveDirectoryA(path) != 0; }

bool ForEachFileInFolder(const char* folder, void (*visit)(const char* name, void* context), void* context) {
  std::string pattern(folder);
  if (pattern.empty() || (pattern.back() != '\\' && pattern.back() != '/')) pattern += '\\';
  pattern += '*';
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) visit(found.cFileName, context);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return true;
}

bool SetPathAttributes(const char* path, uint32_t attributes) {
  DWORD flags = 0;
  if (attributes & kAttributeReadOnly) flags |= FILE_ATTRIBUTE_READONLY;
  if (attributes & kAttributeHidden) flags |= FILE_ATTRIBUTE_HIDDEN;
  if (attributes & kAttributeSystem) flags |= FILE_ATTRIBUTE_SYSTEM;
  if (flags == 0) flags = FILE_ATTRIBUTE_NORMAL;
  return SetFileAttributesA(path, flags) != 0;
}

bool GetFileStamp(const char* path, FileStamp* stamp) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data)) return false;
  stamp->timeLow = data.ftLastWriteTime.dwLowDateTime;
  stamp->timeHigh = data.ftLastWriteTime.dwHighDateTime;
  stamp->sizeHigh = data.nFileSizeHigh;
  stamp->sizeLow = data.nFileSizeLow;
  return true;
}

bool GetTemporaryFolder(char* folder, uint32_t size) {
  DWORD length = GetTempPathA(size, folder);
  return length > 0 && length < size;
}
