#include "output/report_lines.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

#include "foundation/memory.h"
#include "foundation/system.h"

ReportString::ReportString(uint32_t id) {
  text[0] = '\0';
  if (id != 0) LoadResourceString(GetModuleInstance(), id, text, sizeof text);
}

bool WriteReportText(ReportFile* file, const char* text) {
  const uint32_t length = static_cast<uint32_t>(std::strlen(text));
  if (length == 0) return true;
  const bool written = WriteBytesAt(file->handle, file->at, text, length);
  file->at += length;
  return written;
}

bool WriteReportIndent(ReportFile* file, int n) {
  if (n <= 0) return true;
  return WriteReportText(file, std::string(static_cast<size_t>(n), ' ').c_str());
}

bool WriteIndentedText(ReportFile* file, int indent, const char* text) {
  return WriteReportIndent(file, indent) && WriteReportText(file, text);
}

namespace {

// "%30.30s" of the label: padded on the left, cut after 30 characters.
std::string AlignedLabel(const char* label) {
  char format[16], text[kReportLabelWidth + 1];
  std::snprintf(format, sizeof format, "%%%d.%ds", kReportLabelWidth, kReportLabelWidth);
  std::snprintf(text, sizeof text, format, label);
  return text;
}

}  // namespace

bool WriteLabeledLine(ReportFile* file, int indent, const char* value, uint32_t labelId) {
  const std::string label = AlignedLabel(ReportString(labelId).c_str());
  return WriteReportIndent(file, indent) && WriteReportText(file, label.c_str()) && WriteReportText(file, value);
}

bool WriteUnderline(ReportFile* file, int indent, uint32_t titleId, const char* title, bool rightAligned) {
  std::string text = titleId ? ReportString(titleId).c_str() : title;
  if (text.empty()) return WriteReportIndent(file, indent);
  if (rightAligned) text = AlignedLabel(text.c_str());
  const size_t first = text.find_first_not_of(' ');
  if (first != std::string::npos) text.replace(first, text.size() - first, text.size() - first, '-');
  return WriteReportIndent(file, indent) && WriteReportText(file, text.c_str()) &&
         WriteReportText(file, kReportLineEnd);
}

std::string ReportFormat(const char* format, ...) {
  char text[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  return text;
}

bool WriteReportRow(ReportFile* file, int indent, uint32_t labelId, const std::string& value) {
  return WriteLabeledLine(file, indent, (value + kReportLineEnd).c_str(), labelId);
}
