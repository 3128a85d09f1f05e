#include "output/job_row.h"

#include <cstdio>

#include "foundation/decimal.h"
#include "foundation/pstring.h"
#include "foundation/round.h"
#include "frames/tool_active_flags.h"
#include "output/job_hooks.h"
#include "output/job_item.h"
#include "output/job_thumbnails.h"
#include "output/resource_text.h"
#include "records/defaults_block.h"
#include "state/data_source_state.h"

namespace {

constexpr int32_t kPixelUnit = 4;
enum : uint16_t { kCmykModeIcm = 2, kCmykModeLab = 4, kCmykModeTables = 5 };

std::string Decimal(double value, int decimals) {
  PString out;
  FormatDecimal(out, value, decimals);
  return std::string(reinterpret_cast<const char*>(out + 1), out[0]);
}

uint32_t FilterNameString(uint8_t kind) {
  static const uint32_t kNames[] = {kNoFilterString, 11, 12, 30, 37, 38, 39, 0, 0, 43, 44, 45, 46};
  return kind < sizeof kNames / sizeof kNames[0] ? kNames[kind] : 0;
}

uint32_t UnitNameString(int unit) {
  static const uint32_t kNames[] = {650, 651, 656, 657, 658};
  return unit >= 0 && unit <= kPixelUnit ? kNames[unit] : kNames[0];
}

double BytesPerPixel(const JobItem& item) {
  const FrameRecord& f = item.frame;
  if (f.colorMode == 2) {
    if (f.bitsPerChannel == 16) return 6;
    const uint16_t mode = item.settings.outputMode;
    return (mode == kCmykModeIcm || mode == kCmykModeTables) && !EntryOutputIsRgb(item) ? 4 : 3;
  }
  // Grey, and any other mode, by its depth.
  return f.bitsPerChannel == 1 ? 0.125 : f.bitsPerChannel == 16 ? 2 : 1;
}

}  // namespace

JobRowLayout LayoutJobRow(const JobItem& item, int32_t width, int32_t height) {
  JobRowLayout layout = {};
  layout.hasThumbnail = item.HasThumbnail();
  layout.thumbnail = item.thumbRect;
  CenterRectOn(&layout.thumbnail, WinRect{6, 6, 56, 56});
  // The pictures name the tools whose settings the entry's frame carries now.
  FrameRecord f = item.frame;
  ComputeToolActiveFlags(&f);
  std::vector<uint16_t> ids;
  if (item.autoBeforeRun) ids.push_back(kRowAutoPicture);
  else if (f.gradationToolActive) ids.push_back(kRowGradationPicture);
  if (f.colorToolActive) ids.push_back(kRowColorPicture);
  if (f.colorMode == 2) {
    if (!EntryOutputIsRgb(item)) ids.push_back(kRowCmykPicture);
    else ids.push_back(item.settings.outputMode == kCmykModeLab ? kRowLabPicture : kRowRgbPicture);
  }
  for (size_t k = 0; k < ids.size(); ++k) layout.pictures.push_back({ids[k], {60, int32_t(6 + 18 * k)}});
  static const uint16_t kStatus[] = {0, kRowRunningPicture, kRowWrittenPicture, kRowFailedPicture};
  layout.statusPicture = item.status >= 0 && item.status <= 3 ? kStatus[item.status] : 0;
  layout.statusAt = {width - 15, height - 15};
  return layout;
}

std::array<std::string, 4> JobRowTexts(const JobItem& item) {
  const FrameRecord& f = item.frame;
  std::array<std::string, 4> lines;
  lines[0] = f.hasName ? std::string(f.name, strnlen(f.name, sizeof f.name)) : ResourceText(kUntitledFrameString);
  if (const uint32_t filter = FilterNameString(f.filterMode)) lines[1] = ResourceText(filter);

  const JobWindowHooks& hooks = JobWindow();
  const int unit = GetDefault(gDefaults, kDefaultSizeUnit);
  const double resolution = f.outputResolution;
  const double width = f.width * f.outputScaleX * 0.01, height = f.height * f.outputScaleY * 0.01;
  const double factor = hooks.unitFactor(unit, resolution);
  const int decimals = unit == kPixelUnit ? 0 : 1;
  char line[256];
  std::snprintf(line, sizeof line, "%s x %s %s - %.1f%%,%.1f%%", Decimal(width * factor, decimals).c_str(),
                Decimal(height * factor, decimals).c_str(), ResourceText(UnitNameString(unit)).c_str(), f.outputScaleX,
                f.outputScaleY);
  lines[2] = line;

  const uint8_t resolutionUnit = hooks.resolutionUnit();
  unsigned char shown[16];
  PStrFromLong(TruncRound(resolution / hooks.unitFactor(resolutionUnit, resolution)), shown);
  const double megabytes = (resolution * width / 1024) * (resolution * height / 1024) * BytesPerPixel(item);
  std::snprintf(line, sizeof line, "%.*s %s - %s MB", shown[0], reinterpret_cast<const char*>(shown + 1),
                ResourceText(resolutionUnit == 0 ? kDpiString : kDpcmString).c_str(), Decimal(megabytes, 2).c_str());
  lines[3] = line;
  return lines;
}

int32_t JobRowFirstLineTop(int32_t rowHeight, int32_t lineHeight) { return 6 + (rowHeight - 4 * lineHeight - 14) / 3; }
