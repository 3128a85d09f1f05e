// The PostScript texts of the EPS writer: the templates (module resources of
// type "TEXT") with their placeholders replaced, the plate lists and the
// numbers and dates as the headers show them.
#pragma once

#include <cstdint>
#include <string>

#include "foundation/log/log_header.h"

enum : uint32_t {
  kTextDcsMasterOneFile = 431,
  kTextDcsPlateSection = 432,
  kTextDcsPlateSectionTail = 433,
  kTextEpsComposite = 434,
  kTextEpsCompositeTail = 435,
  kTextDcsMasterSeparateFiles = 436,
  kTextDcsPlateFile = 437,
  kTextDcsPlateFileTail = 438,
};

// What a header says of the image, in output order.
struct EpsTextInputs {
  int32_t columns = 0, rows = 0, channels = 0;
  double resolutionX = 72.0, resolutionY = 72.0;  // dots per inch
  LocalTime time = {};
  std::string appName;
  std::string resources;  // the image resource block, or empty
  std::string profile;    // the profile block, or empty
};

// The template's bytes; false when the resource is missing.
bool LoadTextTemplate(uint32_t id, std::string* text);
// Replaces the first `count` occurrences (0: all), each search going on behind the previous replacement.
void ReplacePlaceholder(std::string* text, const char* placeholder, const std::string& replacement, int count);
void ReplacePlaceholderNumber(std::string* text, const char* placeholder, int64_t number, int count);

// "dd.mm.yyyy  hh:mm".
std::string FormatEpsDate(const LocalTime& time);
// "0 0 W H" in whole points, or "0 0 w h" with four decimals.
std::string FormatBoundingBox(const EpsTextInputs& image, bool highResolution);
// The local time now.
LocalTime EpsLocalTimeNow();

// The five headers; false when the template is missing. Titles come from the targets' file names.
bool BuildDcsSingleFileMaster(const EpsTextInputs& image, std::string* text);
bool BuildDcsSingleFilePlateHeader(const EpsTextInputs& image, int32_t plate, std::string* text);
bool BuildEpsCompositeHeader(const EpsTextInputs& image, std::string* text);
bool BuildDcsMultiFileMaster(const EpsTextInputs& image, std::string* text);
bool BuildDcsPlateFileHeader(const EpsTextInputs& image, int32_t plate, std::string* text);

// The placeholders of the plate offsets and lengths in the one-file master.
constexpr const char* kPlateOffsetPlaceholder = "***PlOff***";
constexpr const char* kPlateSizePlaceholder = "***PlSize***";
