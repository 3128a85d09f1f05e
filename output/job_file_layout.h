// The byte layout of job files (".qbj") and of the job clipboard block: a
// version word, a header, then each entry as its length and its record.
// Every number is little-endian; the layout is the same on every build.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr uint32_t kJobFileVersion = 5;
constexpr uint32_t kOldestJobFileVersion = 1;

// The header of version 5, and of the clipboard block.
struct JobFileHeader {
  unsigned char vendorName[64];  // length-prefixed
  unsigned char modelName[64];   // written as zeros, not used on reading
  char outputFolder[256];
  uint32_t outputFormat;
  uint8_t reserved[256];
  uint32_t count;
};
static_assert(sizeof(JobFileHeader) == 648, "stored layout");
static_assert(offsetof(JobFileHeader, modelName) == 64, "stored layout");
static_assert(offsetof(JobFileHeader, outputFolder) == 128, "stored layout");
static_assert(offsetof(JobFileHeader, outputFormat) == 384, "stored layout");
static_assert(offsetof(JobFileHeader, reserved) == 388, "stored layout");
static_assert(offsetof(JobFileHeader, count) == 644, "stored layout");

// Versions 1 to 4: vendor, model and folder as above, the count at 384.
constexpr uint32_t kOldJobHeaderSize = 388;
constexpr uint32_t kOldJobHeaderCount = 384;

// Offsets within the item block (the record from byte 4).
namespace job_block {
constexpr uint32_t kFrame = 0;
constexpr uint32_t kLightSource = 2080;
constexpr uint32_t kPositionMode = 2081;
constexpr uint32_t kPositionNumber = 2082;
constexpr uint32_t kFilmFlag = 2084;
constexpr uint32_t kOutputConversion = 2085;
constexpr uint32_t kCmykMode = 2086;
constexpr uint32_t kAutoBeforeRun = 2088;
constexpr uint32_t kInternalProfile = 2089;
constexpr uint32_t kOutputProfile = 2349;
constexpr uint32_t kCmykProfileName = 2609;
constexpr uint32_t kPreviewCacheName = 2872;
constexpr uint32_t kZoomCacheName = 2905;
constexpr uint32_t kStatus = 2940;
constexpr uint32_t kOrientation = 2944;  // versions 2 to 5
constexpr uint32_t kRgbMode = 2948;      // versions 4 and 5, as the three below
constexpr uint32_t kScannerProfile = 2950;
constexpr uint32_t kCalibrationName = 3210;
constexpr uint32_t kSize = 3972;     // versions 3 to 5; zero from 3274
constexpr uint32_t kOldSize = 3274;  // versions 1 and 2
}  // namespace job_block

constexpr uint32_t kJobKindTagSize = 4;
constexpr uint32_t kJobFileBlockSize = 1024;
constexpr uint32_t kJobThumbnailLimit = 50;
constexpr uint32_t kJobThumbnailMaxBytes = 4 * kJobThumbnailLimit * kJobThumbnailLimit;

// Where the parts of a record lie in a version's layout.
struct JobRecordLayout {
  uint32_t itemBlockSize;
  uint32_t fileBlock;
  uint32_t thumbnailRect;
  uint32_t thumbnailSize;
  uint32_t pixels;
};
constexpr JobRecordLayout kOldJobRecordLayout = {job_block::kOldSize, 3278, 4302, 4318, 4322};
constexpr JobRecordLayout kJobRecordLayout = {job_block::kSize, 3976, 5000, 5016, 5020};
static_assert(kJobRecordLayout.fileBlock == kJobKindTagSize + job_block::kSize, "stored layout");
static_assert(kOldJobRecordLayout.fileBlock == kJobKindTagSize + job_block::kOldSize, "stored layout");
static_assert(kJobRecordLayout.thumbnailRect == kJobRecordLayout.fileBlock + kJobFileBlockSize, "stored layout");
static_assert(kJobRecordLayout.pixels == kJobRecordLayout.thumbnailSize + 4, "stored layout");

// Versions 1 to 5; another version has no layout and is refused.
inline bool IsKnownJobFileVersion(uint32_t version) {
  return version >= kOldestJobFileVersion && version <= kJobFileVersion;
}
inline const JobRecordLayout& JobRecordLayoutFor(uint32_t version) {
  return version <= 2 ? kOldJobRecordLayout : kJobRecordLayout;
}
// A record without thumbnail ends with four zero bytes in place of the pixels.
inline uint32_t SmallestJobRecord(uint32_t version) { return JobRecordLayoutFor(version).pixels + 4; }
inline uint32_t LargestJobRecord(uint32_t version) {
  return JobRecordLayoutFor(version).pixels + kJobThumbnailMaxBytes;
}
