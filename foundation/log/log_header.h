// The text of the log file's header: a block of system information that a
// user can send to support. The facts come from the platform; the text is
// built here so that its layout is the same on every build.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum LockState { kPathUnlocked, kPathLocked, kPathUnreadable };

struct LocalTime {
  int32_t day, month, year, hour, minute, second;
};

struct VolumeFreeSpace {
  std::string root;  // "C:\"
  uint64_t freeBytes;
};

enum SystemPlatform { kPlatformWindows9x, kPlatformWindowsNT, kPlatformOther };

struct SystemVersion {
  bool known = false;
  SystemPlatform platform = kPlatformOther;
  uint32_t major = 0, minor = 0, build = 0;
  std::string servicePack;
};

struct LogHeaderFacts {
  // The support texts (strings 5002 to 5007); an empty one leaves its line out.
  std::string supportLines[6];
  LocalTime time = {};
  std::string hostManufacturer, hostFamily, hostProduct;
  std::string modulePath;
  // The read-only state of a file or folder; null: every level unreadable.
  LockState (*lockState)(const char* path) = nullptr;
  // Volumes are listed only while Shift is held.
  bool listVolumes = false;
  std::vector<VolumeFreeSpace> volumes;
  std::string versionText;  // "%s v%s" of the module's description and version
  SystemVersion system;
  uint64_t physicalMemoryBytes = 0;
};

// The whole header, lines ended by CR LF.
std::string BuildLogHeader(const LogHeaderFacts& facts);

// The "Locking" lines of every level of the path, from the file up to the drive.
std::string LockingLines(const std::string& path, LockState (*lockState)(const char* path));
// " (1.50 GB free)", " ( 512 KB free)", " ( 300 MB free)".
std::string FreeSpaceText(uint64_t freeBytes);
// "Microsoft Windows NT " and the like; empty for systems it has no name for.
std::string SystemName(const SystemVersion& version);
// "%3.f MB RAM" of the memory rounded to whole megabytes the way support reads them.
std::string MemoryText(uint64_t physicalMemoryBytes);
