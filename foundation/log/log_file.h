// The log file "QB_LogFile.txt" in the temporary folder: made afresh when the
// source is opened, with a block of system information for support, and
// closed with an end marker. Lines written while it is closed are dropped.
#pragma once

#include <cstdint>

#include "foundation/file_io.h"

enum : uint32_t {
  kLogOpenFailedString = 5000,
  kNoScannerString = 5001,
  kFirstSupportString = 5002,  // 5002 to 5007: the support request of the header
};

extern const char kLogFileName[];

// The open log, null while it is closed.
extern FileHandle gLogFile;

// What the header needs of the TWAIN side: the host application's identity
// texts. The source's entry installs it; without one they are empty.
struct LogHostSource {
  void (*hostIdentity)(const char** manufacturer, const char** family, const char** product);
};
void SetLogHostSource(const LogHostSource* source);

// Opens (or creates) the log and moves to its end; with deleteOld the old
// file goes first. A failure is reported once in the module's life.
void LogOpen(bool deleteOld);
void WriteLogHeader();
// Writes the text (nothing for an empty one) and, with newline, CR LF.
void LogLine(const char* text, bool newline);
// One line whether or not a session has the log open (it is opened for the line).
void LogNote(const char* text);
// The string (up to 256 bytes) through LogLine; a missing or empty string writes nothing at all.
void LogStringId(uint32_t id, bool newline);
void LogFlush();
// With writeEnd an empty line and "*** END ***" go last; the log is closed afterwards in any case.
void LogClose(bool writeEnd);

// The alert that no scanner was found, pointing to the log file.
void ShowNoScannerMessage();
