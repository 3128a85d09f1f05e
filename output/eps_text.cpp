#include "output/eps_text.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <cstdarg>
#include <ctime>

#include "foundation/memory.h"
#include "foundation/round.h"
#include "foundation/system.h"
#include "output/eps_state.h"

namespace {

constexpr const char* kProcessColors = " Cyan Magenta Yellow Black";
constexpr const char* kPlateNames[kEpsPlates] = {"Cyan", "Magenta", "Yellow", "Black"};

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Format(const char* format, ...) {
  char text[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  return text;
}

// The first five placeholders, common to every header.
bool LoadHeader(uint32_t id, const EpsTextInputs& image, const std::string& title, std::string* text) {
  if (!LoadTextTemplate(id, text)) return false;
  ReplacePlaceholder(text, "***AppName***", image.appName, 1);
  ReplacePlaceholder(text, "***DocTitle***", title, 1);
  ReplacePlaceholder(text, "***CreationDate***", FormatEpsDate(image.time), 1);
  ReplacePlaceholder(text, "***BoundingBox***", FormatBoundingBox(image, false), 1);
  ReplacePlaceholder(text, "***HiresBoundingBox***", FormatBoundingBox(image, true), 1);
  return true;
}

// Each entry ends in CR alone and the placeholder follows it again; the last one's is removed.
void AddPlateListEntry(std::string* text, const std::string& entry) {
  ReplacePlaceholder(text, "***PlateFiles***", entry + "\r***PlateFiles***", 1);
}

void FillSizes(std::string* text, const EpsTextInputs& image) {
  ReplacePlaceholderNumber(text, "***Cols***", image.columns, 0);
  ReplacePlaceholderNumber(text, "***Rows***", image.rows, 0);
}

void FillMaster(std::string* text) {
  ReplacePlaceholder(text, "***DocumentProcessColors***", kProcessColors, 1);
  ReplacePlaceholder(text, "***DocumentCustomColors***", "", 1);
}

void FillBlocks(std::string* text, const EpsTextInputs& image) {
  ReplacePlaceholder(text, "***ImageResources***", image.resources, 1);
  ReplacePlaceholder(text, "***ICCProfile***", image.profile, 1);
}

bool BuildPlateHeader(uint32_t id, const EpsTextInputs& image, const std::string& title, std::string* text) {
  if (!LoadHeader(id, image, title, text)) return false;
  FillSizes(text, image);
  ReplacePlaceholderNumber(text, "***Resolution***", static_cast<int64_t>(image.resolutionX), 0);
  ReplacePlaceholderNumber(text, "***ImageSizeP11***", int64_t{image.columns} * image.rows + 11, 1);
  ReplacePlaceholder(text, "***ScreenFunction***", "", 1);
  ReplacePlaceholder(text, "***Path***", "", 1);
  return true;
}

}  // namespace

bool LoadTextTemplate(uint32_t id, std::string* text) {
  uint32_t size = 0;
  const void* bytes = LoadCustomResource(GetModuleInstance(), "TEXT", id, &size);
  if (!bytes) return false;
  text->assign(static_cast<const char*>(bytes), size);
  return true;
}

void ReplacePlaceholder(std::string* text, const char* placeholder, const std::string& replacement, int count) {
  const size_t length = std::strlen(placeholder);
  size_t from = 0;
  for (int done = 0; count == 0 || done < count; ++done) {
    const size_t at = text->find(placeholder, from, length);
    if (at == std::string::npos) return;
    text->replace(at, length, replacement);
    from = at + replacement.size();
  }
}

void ReplacePlaceholderNumber(std::string* text, const char* placeholder, int64_t number, int count) {
  ReplacePlaceholder(text, placeholder, std::to_string(number), count);
}

std::string FormatEpsDate(const LocalTime& t) {
  return Format("%02d.%02d.%04d  %02d:%02d", t.day, t.month, t.year, t.hour, t.minute);
}

std::string FormatBoundingBox(const EpsTextInputs& image, bool highResolution) {
  const double w = image.columns / image.resolutionX * 72.0;
  const double h = image.rows / image.resolutionY * 72.0;
  if (highResolution) return Format("%.4f %.4f %.4f %.4f", 0.0, 0.0, w, h);
  return Format("%ld %ld %ld %ld", 0L, 0L, static_cast<long>(TruncRound(w)), static_cast<long>(TruncRound(h)));
}

LocalTime EpsLocalTimeNow() {
  const std::time_t now = std::time(nullptr);
  const std::tm* t = std::localtime(&now);
  if (!t) return LocalTime{};
  return LocalTime{t->tm_mday, t->tm_mon + 1, t->tm_year + 1900, t->tm_hour, t->tm_min, t->tm_sec};
}

bool BuildDcsSingleFileMaster(const EpsTextInputs& image, std::string* text) {
  if (!LoadHeader(kTextDcsMasterOneFile, image, EpsTargetAt(kEpsMasterTarget).fileName, text)) return false;
  FillMaster(text);
  for (const char* plate : kPlateNames)
    AddPlateListEntry(text, Format("%%%%PlateFile: (%s) EPS #%s %s", plate, kPlateOffsetPlaceholder,
                                   kPlateSizePlaceholder));
  ReplacePlaceholder(text, "***PlateFiles***", "", 1);
  FillSizes(text, image);
  FillBlocks(text, image);
  return true;
}

bool BuildDcsMultiFileMaster(const EpsTextInputs& image, std::string* text) {
  if (!LoadHeader(kTextDcsMasterSeparateFiles, image, EpsTargetAt(kEpsMasterTarget).fileName, text)) return false;
  FillMaster(text);
  for (int k = 0; k < kEpsPlates; ++k)
    AddPlateListEntry(text, Format("%%%%PlateFile: (%s) EPS Local %s", kPlateNames[k], EpsTargetAt(k).fileName));
  for (int k = 0; k < kEpsPlates; ++k)
    AddPlateListEntry(text, Format("%%%%%sPlate: %s", kPlateNames[k], EpsTargetAt(k).fileName));
  ReplacePlaceholder(text, "***PlateFiles***", "", 1);
  FillSizes(text, image);
  FillBlocks(text, image);
  return true;
}

bool BuildEpsCompositeHeader(const EpsTextInputs& image, std::string* text) {
  if (!LoadHeader(kTextEpsComposite, image, EpsTargetAt(kEpsMasterTarget).fileName, text)) return false;
  ReplacePlaceholder(text, "***DocumentProcessColors***", image.channels == 4 ? kProcessColors : "", 1);
  ReplacePlaceholderNumber(text, "***Channels***", image.channels, 0);
  FillSizes(text, image);
  ReplacePlaceholderNumber(text, "***Resolution***", static_cast<int64_t>(image.resolutionX), 0);
  // Every row holds its channels' lines and the grey line, as the prolog reads them.
  ReplacePlaceholderNumber(text, "***ImageSizeP11***",
                           int64_t{image.channels + 1} * image.columns * image.rows + 11, 1);
  FillBlocks(text, image);
  return true;
}

bool BuildDcsSingleFilePlateHeader(const EpsTextInputs& image, int32_t plate, std::string* text) {
  const EpsTarget& target = EpsTargetAt(plate);
  return BuildPlateHeader(kTextDcsPlateSection, image, Format("%s (%s)", target.fileName, target.name), text);
}

bool BuildDcsPlateFileHeader(const EpsTextInputs& image, int32_t plate, std::string* text) {
  return BuildPlateHeader(kTextDcsPlateFile, image, EpsTargetAt(plate).fileName, text);
}
