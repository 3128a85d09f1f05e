#include "foundation/log/log_file.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "foundation/dialogs/alerts.h"
#include "foundation/log/log_platform.h"
#include "foundation/log/module_string.h"
#include "foundation/paths.h"
#include "foundation/system.h"

const char kLogFileName[] = "QB_LogFile.txt";
FileHandle gLogFile = nullptr;

namespace {

enum : int { kVirtualKeyShift = 0x10 };

const LogHostSource* gHostSource = nullptr;
uint64_t gLogEnd = 0;
bool gOpenFailureShown = false;

void Append(const char* bytes, uint32_t count) {
  // Write errors are ignored: the log must never stop the source.
  if (WriteBytesAt(gLogFile, gLogEnd, bytes, count)) gLogEnd += count;
}

}  // namespace

void SetLogHostSource(const LogHostSource* source) { gHostSource = source; }

void LogOpen(bool deleteOld) {
  if (gLogFile) LogClose(false);
  char path[kPathSize];
  bool named = GetTemporaryFolder(path, sizeof path) && AppendToPath(path, kLogFileName);
  if (named && deleteOld) DeleteFileAt(path);
  gLogFile = named ? OpenFileReadWrite(path) : nullptr;
  if (gLogFile && GetFileSize(gLogFile, &gLogEnd)) return;
  CloseFile(gLogFile);
  gLogFile = nullptr;
  if (!gOpenFailureShown) {
    gOpenFailureShown = true;
    ShowAlertText(GetModuleInstance(), kErrorCaptionString, ModuleString(kLogOpenFailedString).c_str());
  }
}

void WriteLogHeader() {
  if (!gLogFile) return;
  LogHeaderFacts facts;
  for (int i = 0; i < 6; ++i) facts.supportLines[i] = ModuleString(kFirstSupportString + i);
  if (gHostSource && gHostSource->hostIdentity) {
    const char* texts[3] = {"", "", ""};
    gHostSource->hostIdentity(&texts[0], &texts[1], &texts[2]);
    facts.hostManufacturer = texts[0];
    facts.hostFamily = texts[1];
    facts.hostProduct = texts[2];
  }
  facts.listVolumes = IsKeyDown(kVirtualKeyShift);
  GatherLogHeaderFacts(&facts);
  std::string header = BuildLogHeader(facts);
  Append(header.data(), static_cast<uint32_t>(header.size()));
}

void LogLine(const char* text, bool newline) {
  if (!gLogFile) return;
  if (text && text[0]) Append(text, static_cast<uint32_t>(std::strlen(text)));
  if (newline) Append("\r\n", 2);
}

void LogNote(const char* text) {
  const bool wasOpen = gLogFile != nullptr;
  if (!wasOpen) LogOpen(false);
  LogLine(text, true);
  if (wasOpen) {
    LogFlush();
  } else {
    LogClose(false);
  }
}

void LogStringId(uint32_t id, bool newline) {
  std::string text = ModuleString(id);
  if (!text.empty()) LogLine(text.c_str(), newline);
}

void LogFlush() {
  if (gLogFile) FlushLogFile(gLogFile);
}

void LogClose(bool writeEnd) {
  if (!gLogFile) return;
  LogFlush();
  if (writeEnd) {
    LogLine("", true);
    LogLine("*** END ***", false);
  }
  CloseFile(gLogFile);
  gLogFile = nullptr;
}

void ShowNoScannerMessage() {
  char text[512];
  std::snprintf(text, sizeof text, ModuleString(kNoScannerString).c_str(), kLogFileName);
  ShowAlertText(GetModuleInstance(), 0, text);
}
