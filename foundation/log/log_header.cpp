#include "foundation/log/log_header.h"

#include <cstdarg>
#include <cstdio>

namespace {

const char kLineEnd[] = "\r\n";

std::string Format(const char* format, ...) {
  char text[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  return text;
}

void AddLine(std::string& out, const std::string& line) { out += line + kLineEnd; }
void AddEmptyLines(std::string& out, int count) {
  for (int i = 0; i < count; ++i) out += kLineEnd;
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

const char* LockText(LockState state) {
  switch (state) {
    case kPathLocked:
      return ">: LOCKED";
    case kPathUnlocked:
      return ">: unlocked";
    case kPathUnreadable:
      break;
  }
  return ">: ????";
}

// Every line feed of the version texts becomes a blank, so that the entry stays on one line.
std::string OnOneLine(std::string text) {
  for (char& c : text) {
    if (c == '\n') c = ' ';
  }
  return text;
}

}  // namespace

std::string LockingLines(const std::string& path, LockState (*lockState)(const char* path)) {
  std::string out;
  std::string level = path;
  while (!level.empty()) {
    while (level.size() > 1 && IsSeparator(level.back())) level.pop_back();
    size_t separator = level.find_last_of("\\/");
    bool isRoot = separator == std::string::npos || separator + 1 == level.size();
    // The drive has no name of its own: the whole remaining path stands for it.
    std::string name = isRoot ? level : level.substr(separator + 1);
    std::string queried = isRoot && !level.empty() && level.back() == ':' ? level + "\\" : level;
    LockState state = lockState ? lockState(queried.c_str()) : kPathUnreadable;
    AddLine(out, "Locking      : <" + name + LockText(state));
    if (isRoot) break;
    level.erase(separator);
  }
  return out;
}

std::string FreeSpaceText(uint64_t freeBytes) {
  double megabytes = static_cast<double>(freeBytes) / 1048576.0;
  if (megabytes > 1024.0) return Format(" (%4.2f GB free)", megabytes / 1024.0);
  if (megabytes <= 1.0) return Format(" (%4.f KB free)", megabytes * 1024.0);
  return Format(" (%4.f MB free)", megabytes);
}

std::string SystemName(const SystemVersion& version) {
  switch (version.platform) {
    case kPlatformWindows9x:
      return version.major < 4 || (version.major == 4 && version.minor == 0) ? "Microsoft Windows 95 "
                                                                               : "Microsoft Windows 98 ";
    case kPlatformWindowsNT:
      if (version.major <= 4) return "Microsoft Windows NT ";
      if (version.major == 5) return "Microsoft Windows 2000 ";
      return "";
    case kPlatformOther:
      break;
  }
  return "";
}

std::string MemoryText(uint64_t physicalMemoryBytes) {
  return Format("%3.f MB RAM", static_cast<double>(physicalMemoryBytes + 655360) / 1048576.0);
}

std::string BuildLogHeader(const LogHeaderFacts& facts) {
  std::string out;
  AddLine(out, "*** Quillbrook LOGFILE ***");
  AddEmptyLines(out, 1);
  for (int i = 0; i < 6; ++i) {
    if (!facts.supportLines[i].empty()) AddLine(out, facts.supportLines[i]);
    if (i == 2) AddEmptyLines(out, 1);
  }
  AddEmptyLines(out, 2);

  const LocalTime& t = facts.time;
  AddLine(out, Format("Date and time: %ld.%ld.%ld  %ld:%ld:%ld", static_cast<long>(t.day), static_cast<long>(t.month),
                      static_cast<long>(t.year), static_cast<long>(t.hour), static_cast<long>(t.minute),
                      static_cast<long>(t.second)));
  AddEmptyLines(out, 1);
  AddLine(out, "Platform     : PC");
  AddLine(out, "Plugin       : Twain");
  AddLine(out, Format("Host         : %s, %s, %s", facts.hostManufacturer.c_str(), facts.hostFamily.c_str(),
                      facts.hostProduct.c_str()));
  AddEmptyLines(out, 1);
  AddLine(out, "Path         : " + facts.modulePath);
  AddEmptyLines(out, 1);
  out += LockingLines(facts.modulePath, facts.lockState);
  AddEmptyLines(out, 1);

  if (facts.listVolumes && !facts.volumes.empty()) {
    for (const VolumeFreeSpace& volume : facts.volumes) {
      AddLine(out, "Volume       : " + volume.root + FreeSpaceText(volume.freeBytes));
    }
    AddEmptyLines(out, 1);
  }

  AddLine(out, "Version      : " + OnOneLine(facts.versionText));
  AddEmptyLines(out, 1);
  const SystemVersion& system = facts.system;
  if (system.known) {
    AddLine(out, "System       : " + SystemName(system) +
                     Format("(Version %d.%d %s, Build %d)", static_cast<int>(system.major),
                            static_cast<int>(system.minor), system.servicePack.c_str(),
                            static_cast<int>(system.build & 0xFFFF)));
  }
  AddLine(out, "Memory       : " + MemoryText(facts.physicalMemoryBytes));
  AddEmptyLines(out, 2);
  return out;
}
