// The lines of the output statistics report: a text file in the ANSI code
// page, lines ended by CR LF, labels right-aligned so that every colon
// stands in the same column (indent + 30).
#pragma once

#include <cstdint>
#include <string>

#include "foundation/file_io.h"

// The report's file and where the next byte goes.
struct ReportFile {
  FileHandle handle = nullptr;
  uint64_t at = 0;
};

constexpr int kReportLabelWidth = 30;
constexpr const char* kReportLineEnd = "\r\n";

// Each returns true when every byte was written.
bool WriteReportText(ReportFile* file, const char* text);
// n blanks (n below 0 counts as 0).
bool WriteReportIndent(ReportFile* file, int n);
bool WriteIndentedText(ReportFile* file, int indent, const char* text);
// Indent, the label (string id, none for 0) right-aligned in 30 columns and cut to 30, then the value text.
bool WriteLabeledLine(ReportFile* file, int indent, const char* value, uint32_t labelId);
// Indent, the title (string id, or the text when the id is 0; right-aligned
// in 30 columns when asked) with every character from its first non-blank
// one on replaced by "-", CR LF. An empty title writes the indent only.
bool WriteUnderline(ReportFile* file, int indent, uint32_t titleId, const char* title, bool rightAligned);

// printf into a text of at most 511 characters.
std::string ReportFormat(const char* format, ...) __attribute__((format(printf, 1, 2)));
// A labelled line whose value text is followed by CR LF.
bool WriteReportRow(ReportFile* file, int indent, uint32_t labelId, const std::string& value);

// A string of the module's table (empty when missing), at most 255 characters.
struct ReportString {
  explicit ReportString(uint32_t id);
  const char* c_str() const { return text; }
  char text[256];
};
