// Files as the data source uses them: opened for reading and writing (or for
// reading only), not shared, read and written in exact byte counts at
// absolute offsets. Implemented over Win32 for the product and over POSIX for
// the host checks, so that record stores and image readers run on both.
#pragma once

#include <cstdint>

// An open file; null means none. Opaque to its users.
struct PlatformFile;
typedef PlatformFile* FileHandle;

// Opens an existing file for reading and writing, or creates it; null on failure.
FileHandle OpenFileReadWrite(const char* path);
// Opens an existing file for reading and writing; null when missing or locked.
FileHandle OpenExistingFileReadWrite(const char* path);
// Opens an existing file for reading only (shared with other readers); null on failure.
FileHandle OpenFileForReading(const char* path);
// Creates or truncates a file for writing; null on failure.
FileHandle CreateFileForWriting(const char* path);
// Closes the file; null is ignored.
void CloseFile(FileHandle file);

// True only when all count bytes were read or written at the offset.
bool ReadBytesAt(FileHandle file, uint64_t offset, void* buffer, uint32_t count);
bool WriteBytesAt(FileHandle file, uint64_t offset, const void* buffer, uint32_t count);

// Size of the open file in bytes; false when it cannot be had.
bool GetFileSize(FileHandle file, uint64_t* size);
// Cuts or extends the file to the size.
bool SetFileSize(FileHandle file, uint64_t size);
// The path of the open file, in the system's form; false when the system
// cannot tell or it does not fit.
bool GetOpenFilePath(FileHandle file, char* path, uint32_t size);

// A file's last-write time as the system's 64-bit file time (100 ns since
// 1601), split as the system stores it, and its size in two parts.
struct FileStamp {
  uint32_t timeLow;
  uint32_t timeHigh;
  uint32_t sizeHigh;
  uint32_t sizeLow;
};
bool GetFileStamp(const char* path, FileStamp* stamp);

// The system's folder for temporary files, with its trailing separator.
bool GetTemporaryFolder(char* folder, uint32_t size);

// Whole-file helpers on paths.
bool FileExists(const char* path);
bool DeleteFileAt(const char* path);

// Folders. Paths are in the system's form; the host build takes "\\" as "/".
enum FolderCreation { kFolderCreated, kFolderExists, kFolderFailed };
FolderCreation CreateFolder(const char* path);
bool FolderExists(const char* path);
bool RemoveFolder(const char* path);
// Calls visit with the name of every file of the folder (folders skipped);
// false when the folder cannot be listed.
bool ForEachFileInFolder(const char* folder, void (*visit)(const char* name, void* context), void* context);

// File and folder attributes; a platform without them accepts and ignores them.
enum : uint32_t { kAttributeReadOnly = 1, kAttributeHidden = 2, kAttributeSystem = 4 };
bool SetPathAttributes(const char* path, uint32_t attributes);
