// What one row of the job list shows, in row coordinates: the thumbnail's
// place, the column of pictures, the status mark and the four text lines.
// The drawing itself is the platform's (DrawJobRow).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "foundation/geometry.h"

class JobItem;

enum : uint32_t {
  kUntitledFrameString = 711,  // "Rahmen ohne Titel"
  kNoFilterString = 1613,      // "Kein Filter"
  kDpiString = 654,
  kDpcmString = 655,
};
enum : uint16_t {
  kRowAutoPicture = 358, kRowRunningPicture = 359, kRowCmykPicture = 360, kRowFailedPicture = 361,
  kRowGradationPicture = 362, kRowLabPicture = 363, kRowWrittenPicture = 364, kRowRgbPicture = 365,
  kRowColorPicture = 366,
};
constexpr int32_t kRowPictureWidth = 14, kRowPictureHeight = 15, kRowStatusSize = 9;
constexpr int32_t kRowTextLeft = 74;

struct JobRowPicture {
  uint16_t id;
  WinPoint at;
};

struct JobRowLayout {
  bool hasThumbnail;
  WinRect thumbnail;                     // thumbRect centred on (6, 6, 56, 56)
  std::vector<JobRowPicture> pictures;   // 14 x 15 each, down from (60, 6)
  uint16_t statusPicture;                // 0: none
  WinPoint statusAt;                     // 9 x 9
};

JobRowLayout LayoutJobRow(const JobItem& item, int32_t width, int32_t height);
// The four lines: name, filter, output size in the size unit with the
// scales, resolution and megabytes.
std::array<std::string, 4> JobRowTexts(const JobItem& item);
// The top of the first of four lines of height h in a row of height H.
int32_t JobRowFirstLineTop(int32_t rowHeight, int32_t lineHeight);
