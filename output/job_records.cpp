#include "output/job_records.h"

#include <cstdint>
#include <cstring>
#include <new>

#include "foundation/memory.h"
#include "output/job_item.h"
#include "output/job_list.h"
#include "output/job_thumbnails.h"

namespace {

using namespace job_block;

void PutU32(std::vector<uint8_t>* out, uint32_t value) {
  const uint8_t bytes[4] = {uint8_t(value), uint8_t(value >> 8), uint8_t(value >> 16), uint8_t(value >> 24)};
  out->insert(out->end(), bytes, bytes + 4);
}

uint32_t U32At(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }
int32_t I32At(const uint8_t* p) { return static_cast<int32_t>(U32At(p)); }

template <typename T>
void Put(uint8_t* block, uint32_t offset, const T& value) {
  std::memcpy(block + offset, &value, sizeof value);
}
template <typename T>
void Take(const uint8_t* block, uint32_t offset, T* value) {
  std::memcpy(value, block + offset, sizeof *value);
}

bool Terminated(const uint8_t* field, size_t size) { return std::memchr(field, 0, size) != nullptr; }

// The thumbnail's width and height when it can be stored: 1 to 50 each, and pixels to take them from.
bool StorableThumbnail(const JobItem& item, uint32_t* width, uint32_t* height) {
  const WinRect& r = item.thumbRect;
  if (!item.thumbRaw || !item.thumbRawBits || r.left != 0 || r.top != 0) return false;
  if (r.right < 1 || r.bottom < 1 || r.right > int32_t(kJobThumbnailLimit) || r.bottom > int32_t(kJobThumbnailLimit))
    return false;
  *width = static_cast<uint32_t>(r.right);
  *height = static_cast<uint32_t>(r.bottom);
  return true;
}

uint32_t ThumbnailBytes(const JobItem& item) {
  uint32_t width = 0, height = 0;
  return StorableThumbnail(item, &width, &height) ? 4 * width * height : 0;
}

bool IsFileKind(int32_t kind) { return kind == kJobFile || kind == kJobOverview; }

JobItem* NewEmptyItem(uint32_t kind) {
  switch (kind) {
    case kJobCurrentSource: return new (std::nothrow) JobItem();
    case kJobFile: return new (std::nothrow) FileJobItem();
    case kJobOverview: return new (std::nothrow) OverviewJobItem();
    default: return nullptr;
  }
}

void ReadThumbnail(JobItem* item, const uint8_t* record, uint32_t version) {
  const JobRecordThumbnail thumbnail = ThumbnailInRecord(record, version);
  item->thumbRect = thumbnail.rect;
  if (thumbnail.size == 0) return;
  const int32_t width = thumbnail.rect.right, height = thumbnail.rect.bottom;
  item->thumbRaw = CreateJobBitmap(width, height, &item->thumbRawBits);
  item->thumbShown = CreateJobBitmap(width, height, &item->thumbShownBits);
  if (!item->thumbRaw || !item->thumbShown) return;
  std::memcpy(item->thumbRawBits, thumbnail.pixels, thumbnail.size);
  std::memcpy(item->thumbShownBits, thumbnail.pixels, thumbnail.size);
  RenderJobThumbnail(*item);
}

}  // namespace

void WriteKindTag(const JobItem& item, std::vector<uint8_t>* out) { PutU32(out, static_cast<uint32_t>(item.Kind())); }

void WriteItemBlock(const JobItem& item, std::vector<uint8_t>* out) {
  const size_t start = out->size();
  out->resize(start + kSize, 0);
  uint8_t* block = out->data() + start;
  const ColorSettingsSnapshot& s = item.settings;
  Put(block, kFrame, item.frame);
  Put(block, kLightSource, s.lightSource);
  Put(block, kPositionMode, s.positionMode);
  Put(block, kPositionNumber, s.positionNumber);
  Put(block, kFilmFlag, s.filmFlag);
  Put(block, kOutputConversion, s.outputConversionByte);
  Put(block, kCmykMode, s.outputMode);
  Put(block, kAutoBeforeRun, item.autoBeforeRun);
  Put(block, kInternalProfile, s.internalProfile);
  Put(block, kOutputProfile, s.outputProfile);
  Put(block, kCmykProfileName, s.cmykProfileName);
  Put(block, kPreviewCacheName, item.previewCacheName);
  Put(block, kZoomCacheName, item.zoomCacheName);
  Put(block, kStatus, item.status);
  Put(block, kOrientation, item.orientation.mirrorH);
  Put(block, kOrientation + 1, item.orientation.mirrorV);
  Put(block, kOrientation + 2, item.orientation.quarterTurns);
  Put(block, kRgbMode, s.inputMode);
  Put(block, kScannerProfile, s.scannerProfile);
  Put(block, kCalibrationName, s.calibrationName);
}

void WriteFileBlock(const JobItem& item, std::vector<uint8_t>* out) {
  const size_t start = out->size();
  out->resize(start + kJobFileBlockSize, 0);
  if (IsFileKind(item.Kind())) {
    const char* path = static_cast<const FileJobItem&>(item).imagePath;
    std::memcpy(out->data() + start, path, strnlen(path, kImagePathSize - 1));
  }
}

void WriteThumbnail(const JobItem& item, std::vector<uint8_t>* out) {
  uint32_t width = 0, height = 0;
  if (!StorableThumbnail(item, &width, &height)) {
    out->resize(out->size() + 16 + 4 + 4, 0);
    return;
  }
  for (int32_t v : {0, 0, int32_t(width), int32_t(height)}) PutU32(out, static_cast<uint32_t>(v));
  PutU32(out, 4 * width * height);
  const uint8_t* pixels = reinterpret_cast<const uint8_t*>(item.thumbRawBits);
  out->insert(out->end(), pixels, pixels + 4 * width * height);
}

void WriteJobItem(const JobItem& item, std::vector<uint8_t>* out) {
  const uint32_t pixels = ThumbnailBytes(item);
  PutU32(out, kJobRecordLayout.pixels + (pixels ? pixels : 4));
  WriteKindTag(item, out);
  WriteItemBlock(item, out);
  WriteFileBlock(item, out);
  WriteThumbnail(item, out);
}

bool IsSoundJobRecord(const uint8_t* record, uint32_t length, uint32_t version) {
  if (!IsKnownJobFileVersion(version) || length < SmallestJobRecord(version) || length > LargestJobRecord(version))
    return false;
  const uint32_t kind = U32At(record);
  if (kind < kJobCurrentSource || kind > kJobOverview) return false;
  const JobRecordLayout& layout = JobRecordLayoutFor(version);
  const JobRecordThumbnail thumbnail = ThumbnailInRecord(record, version);
  const WinRect& r = thumbnail.rect;
  const int32_t limit = kJobThumbnailLimit;
  if (r.left != 0 || r.top != 0 || r.right < 0 || r.bottom < 0 || r.right > limit || r.bottom > limit) return false;
  if (thumbnail.size != 4u * uint32_t(r.right) * uint32_t(r.bottom)) return false;
  if (length != layout.pixels + (thumbnail.size ? thumbnail.size : 4)) return false;
  const uint8_t* block = record + kJobKindTagSize;
  const struct {
    uint32_t offset, size;
  } texts[] = {{kFrame + offsetof(FrameRecord, name), sizeof(FrameRecord::name)},
               {kFrame + offsetof(FrameRecord, maskName), sizeof(FrameRecord::maskName)},
               {kInternalProfile, kProfilePathSize},
               {kOutputProfile, kProfilePathSize},
               {kCmykProfileName, kProfilePathSize},
               {kPreviewCacheName, kPreviewCacheNameSize},
               {kZoomCacheName, kZoomCacheNameSize},
               {kScannerProfile, kProfilePathSize},
               {kCalibrationName, kCalibrationNameSize}};
  for (const auto& text : texts) {
    // Fields beyond an older block are not read.
    if (text.offset + text.size > layout.itemBlockSize) continue;
    if (version < 4 && text.offset >= kRgbMode) continue;
    if (!Terminated(block + text.offset, text.size)) return false;
  }
  return !IsFileKind(static_cast<int32_t>(kind)) || Terminated(record + layout.fileBlock, kImagePathSize);
}

const char* FileBlockInRecord(const uint8_t* record, uint32_t version) {
  return reinterpret_cast<const char*>(record + JobRecordLayoutFor(version).fileBlock);
}

JobRecordThumbnail ThumbnailInRecord(const uint8_t* record, uint32_t version) {
  const JobRecordLayout& layout = JobRecordLayoutFor(version);
  const uint8_t* r = record + layout.thumbnailRect;
  return {{I32At(r), I32At(r + 4), I32At(r + 8), I32At(r + 12)}, U32At(record + layout.thumbnailSize),
          record + layout.pixels};
}

int32_t ReadJobItem(JobItem* item, const uint8_t* record, uint32_t version, bool checkFile) {
  int32_t answer = kJobEntryKept;
  if (IsFileKind(item->Kind())) {
    auto* fileItem = static_cast<FileJobItem*>(item);
    std::memcpy(fileItem->imagePath, FileBlockInRecord(record, version), kImagePathSize);
    if (checkFile) {
      answer = fileItem->LocateMissingFile();
      if (answer == kJobEntryDropped || answer == kJobReadFailed) return answer;
    }
  }
  const uint8_t* block = record + kJobKindTagSize;
  ColorSettingsSnapshot& s = item->settings;
  Take(block, kFrame, &item->frame);
  Take(block, kLightSource, &s.lightSource);
  Take(block, kPositionMode, &s.positionMode);
  Take(block, kPositionNumber, &s.positionNumber);
  Take(block, kFilmFlag, &s.filmFlag);
  Take(block, kOutputConversion, &s.outputConversionByte);
  Take(block, kCmykMode, &s.outputMode);
  Take(block, kAutoBeforeRun, &item->autoBeforeRun);
  Take(block, kInternalProfile, &s.internalProfile);
  Take(block, kOutputProfile, &s.outputProfile);
  Take(block, kCmykProfileName, &s.cmykProfileName);
  Take(block, kStatus, &item->status);
  item->orientation = {};
  if (version >= 2) {
    Take(block, kOrientation, &item->orientation.mirrorH);
    Take(block, kOrientation + 1, &item->orientation.mirrorV);
    Take(block, kOrientation + 2, &item->orientation.quarterTurns);
  }
  if (version >= 4) {
    Take(block, kRgbMode, &s.inputMode);
    Take(block, kScannerProfile, &s.scannerProfile);
    Take(block, kCalibrationName, &s.calibrationName);
  } else {
    item->CaptureColorSettings();
  }
  Take(block, kPreviewCacheName, &item->previewCacheName);
  Take(block, kZoomCacheName, &item->zoomCacheName);
  ReadThumbnail(item, record, version);
  return answer;
}

bool CreateJobItemFromRecord(JobList* list, const uint8_t* record, uint32_t length, uint32_t version, int16_t index,
                             bool checkFile) {
  if (!IsSoundJobRecord(record, length, version) || list->Count() == INT16_MAX) return false;
  JobNode* node = static_cast<JobNode*>(AllocBlock(sizeof(JobNode)));
  JobItem* item = node ? NewEmptyItem(U32At(record)) : nullptr;
  if (!item) {
    FreeBlock(node);
    return false;
  }
  const int32_t answer = ReadJobItem(item, record, version, checkFile);
  if (answer == kJobReadFailed || answer == kJobEntryDropped) {
    delete item;
    FreeBlock(node);
    if (answer == kJobEntryDropped) list->MarkModified();
    return answer == kJobEntryDropped;
  }
  node->item = item;
  list->InsertNode(node, index);
  if (answer == kJobEntryChanged) list->MarkModified();
  return true;
}
