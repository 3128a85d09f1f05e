#include "output/job_thumbnails.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "foundation/file_io.h"
#include "foundation/round.h"
#include "frames/orientation/orient_image_block.h"
#include "frames/orientation/preview_orientation.h"
#include "output/job_hooks.h"
#include "output/job_item.h"
#include "readers/reader_factory.h"
#include "tone/curve_tables.h"
#include "tone/gamma_tables.h"

namespace {

constexpr float kThumbnailScale = 0.02f;  // 1 / 50
constexpr uint32_t kRgbColorSpace = 0x52474220;  // 'RGB '
enum : uint16_t { kCmsModeIcm = 2, kCmsModeTables = 5 };

int32_t Width(const WinRect& r) { return r.right - r.left; }
int32_t Height(const WinRect& r) { return r.bottom - r.top; }
size_t PixelCount(const JobItem& item) { return size_t(Width(item.thumbRect)) * size_t(Height(item.thumbRect)); }

// Pixels in blue, green, red, spare order.
void InvertPixels(uint32_t* pixels, size_t count) {
  for (size_t i = 0; i < count; ++i) pixels[i] ^= 0x00FFFFFFu;
}

void MapPixelsToGrey(uint32_t* pixels, size_t count, const uint8_t* table, uint8_t channel) {
  for (size_t i = 0; i < count; ++i) {
    const uint32_t p = pixels[i];
    const uint32_t b = p & 0xFF, g = p >> 8 & 0xFF, r = p >> 16 & 0xFF;
    const uint32_t grey = channel == 1 ? r : channel == 2 ? g : channel == 3 ? b : (r + g + b) / 3;
    const uint32_t v = table[grey];
    pixels[i] = (p & 0xFF000000u) | v << 16 | v << 8 | v;
  }
}

void ApplyChannelTables(uint32_t* pixels, size_t count, const uint8_t* red, const uint8_t* green, const uint8_t* blue) {
  for (size_t i = 0; i < count; ++i) {
    const uint32_t p = pixels[i];
    pixels[i] = (p & 0xFF000000u) | uint32_t(red[p >> 16 & 0xFF]) << 16 | uint32_t(green[p >> 8 & 0xFF]) << 8 |
                blue[p & 0xFF];
  }
}

// The black-and-white table of a line-art frame: 255 from the threshold on.
void BuildThresholdTable(FrameRecord& frame, uint8_t* table) {
  uint16_t gamma[256];
  BuildGammaTableForMode(gamma, 256, CurrentGamma(), 0, 0, &frame);
  const int32_t word = frame.tone[0].brightness;
  // The stored word may lie anywhere: the index stays inside the table.
  const int32_t index = std::clamp(frame.invert ? 128 + word : 128 - word, 0, 255);
  const uint32_t threshold = gamma[index];
  for (uint32_t n = 0; n < 256; ++n) table[n] = n >= threshold ? 255 : 0;
}

constexpr uint8_t kOverviewGround = 200;  // light grey where the file gives no picture
constexpr int16_t kOverviewReaderMode = 50;

// An overview entry's image file, when the call asks for the file.
const char* OverviewFile(const JobItem& item, int32_t fromFile) {
  return item.Kind() == kJobOverview && fromFile ? static_cast<const FileJobItem&>(item).imagePath : nullptr;
}

// The rectangle of the image file's size; of 50 x 50 when its header cannot be read.
void FitOverviewThumbnailRect(JobItem& item, const char* path) {
  ImageFileInfo info = {};
  std::unique_ptr<ImageFileReader> reader = CreateImageFileReader(path, kOverviewReaderMode, false);
  const bool read = reader && reader->ImageReaderIsOpen() && reader->ReadHeader(&info) == 0;
  item.thumbRect = read ? FitThumbnailSize(info.width, info.height, false) : FitThumbnailSize(50, 50, false);
}

// The image file read reduced into thumbRaw over a light grey ground.
void MakeOverviewThumbnail(JobItem& item, const char* path) {
  const int32_t width = Width(item.thumbRect), height = Height(item.thumbRect);
  std::memset(item.thumbRawBits, kOverviewGround, size_t(width) * size_t(height) * 4);
  std::unique_ptr<ImageFileReader> reader = CreateImageFileReader(path, kOverviewReaderMode, false);
  if (!reader || !reader->ImageReaderIsOpen()) return;
  ImageFileInfo info = {};
  if (reader->ReadHeader(&info) == 0 && reader->StartReading(0) == 0 &&
      reader->ReadPreviewLines(item.thumbRaw, reinterpret_cast<uint8_t*>(item.thumbRawBits), width, height, width * 4,
                               4))
    std::memcpy(item.thumbShownBits, item.thumbRawBits, size_t(width) * size_t(height) * 4);
  reader->FinishReading();
}

void ReplaceBitmaps(JobItem& item, void* raw, uint32_t* rawBits, void* shown, uint32_t* shownBits) {
  DeleteJobBitmap(item.thumbRaw);
  DeleteJobBitmap(item.thumbShown);
  item.thumbRaw = raw, item.thumbRawBits = rawBits;
  item.thumbShown = shown, item.thumbShownBits = shownBits;
}

}  // namespace

WinRect FitThumbnailSize(double width, double height, bool swapAxes) {
  const float w = static_cast<float>(width);
  const float h = static_cast<float>(height);
  const float scale = std::max(w * kThumbnailScale, h * kThumbnailScale);
  int32_t across = 1, down = 1;
  if (scale > 0) {
    across = std::max(1, TruncRound(w / scale));
    down = std::max(1, TruncRound(h / scale));
  }
  return swapAxes ? WinRect{0, 0, down, across} : WinRect{0, 0, across, down};
}

bool FitThumbnailRect(JobItem& item) {
  WinRect preview = {};
  if (!JobWindow().framePreviewRect(item.frame, &preview)) return false;
  const FrameRecord& f = item.frame;
  const bool swap = OrientationTableRow(f.mirrorH, f.mirrorV, f.quarterTurns).quarterTurn != 0;
  item.thumbRect = FitThumbnailSize(Width(preview), Height(preview), swap);
  return true;
}

void MakeThumbnail(JobItem& item) {
  const FrameRecord& f = item.frame;
  const OrientationFlags& row = OrientationTableRow(f.mirrorH, f.mirrorV, f.quarterTurns);
  if (!JobWindow().renderFrameThumbnail(f, row.flipX, row.flipY, row.quarterTurn, item.thumbRaw, item.thumbRect,
                                        &item.previewBoxRect, &item.framePreviewRect))
    return;
  std::memcpy(item.thumbShownBits, item.thumbRawBits, PixelCount(item) * 4);
}

bool RefreshThumbnail(JobItem& item, int32_t fromFile) {
  ReplaceBitmaps(item, nullptr, nullptr, nullptr, nullptr);
  const char* file = OverviewFile(item, fromFile);
  if (file) FitOverviewThumbnailRect(item, file);
  else if (!FitThumbnailRect(item)) return false;
  uint32_t *rawBits = nullptr, *shownBits = nullptr;
  void* raw = CreateJobBitmap(Width(item.thumbRect), Height(item.thumbRect), &rawBits);
  void* shown = CreateJobBitmap(Width(item.thumbRect), Height(item.thumbRect), &shownBits);
  if (!raw || !shown) {
    DeleteJobBitmap(raw);
    DeleteJobBitmap(shown);
    return false;
  }
  ReplaceBitmaps(item, raw, rawBits, shown, shownBits);
  if (file) MakeOverviewThumbnail(item, file);
  else MakeThumbnail(item);
  RenderJobThumbnail(item);
  return true;
}

void RenderJobThumbnail(JobItem& item) {
  if (!item.thumbRawBits || !item.thumbShownBits) return;
  const size_t count = PixelCount(item);
  uint32_t* pixels = item.thumbShownBits;
  std::memcpy(pixels, item.thumbRawBits, count * 4);
  FrameRecord& f = item.frame;
  const bool rgb = f.colorMode == 2;
  const uint8_t channel = JobWindow().greyChannelChoice();
  uint8_t table[kCurveTableBytes];
  if (f.bitsPerChannel == 16) {
    if (rgb) return;
    if (f.invert) InvertPixels(pixels, count);
    for (uint32_t n = 0; n < 256; ++n) table[n] = static_cast<uint8_t>(n);
    MapPixelsToGrey(pixels, count, table, channel);
  } else if (f.bitsPerChannel == 8 && rgb) {
    uint8_t red[kCurveTableBytes], green[kCurveTableBytes], blue[kCurveTableBytes];
    BuildCurveTable(red, f.tone[1], f.invert, &f, 1);
    BuildCurveTable(green, f.tone[2], f.invert, &f, 2);
    BuildCurveTable(blue, f.tone[3], f.invert, &f, 3);
    if (f.invert) InvertPixels(pixels, count);
    ApplyChannelTables(pixels, count, red, green, blue);
  } else if (f.bitsPerChannel == 8 && f.colorMode == 0) {
    BuildCurveTable(table, f.tone[0], f.invert, &f, 0);
    if (f.invert) InvertPixels(pixels, count);
    MapPixelsToGrey(pixels, count, table, channel);
  } else {
    BuildThresholdTable(f, table);
    MapPixelsToGrey(pixels, count, table, 0);
    if (f.invert) InvertPixels(pixels, count);
  }
}

void ReorientThumbnail(JobItem& item, const JobOrientation& to) {
  if (!item.thumbRawBits || !item.thumbShownBits) return;
  const FrameRecord& f = item.frame;
  int32_t turns = int32_t(f.quarterTurns) - int32_t(to.quarterTurns);
  if (turns < 0) turns += 4;
  const OrientationFlags& row =
      OrientationTableRow((f.mirrorH != 0) != (to.mirrorH != 0), (f.mirrorV != 0) != (to.mirrorV != 0), turns);
  const int32_t width = Width(item.thumbRect), height = Height(item.thumbRect);
  const WinRect turned = row.quarterTurn ? WinRect{0, 0, height, width} : WinRect{0, 0, width, height};
  uint32_t *rawBits = nullptr, *shownBits = nullptr;
  void* raw = CreateJobBitmap(turned.right, turned.bottom, &rawBits);
  void* shown = CreateJobBitmap(turned.right, turned.bottom, &shownBits);
  // The source is mirrored in place: a copy keeps the old raw pixels whole until the new ones replace them.
  std::vector<uint32_t> source(item.thumbRawBits, item.thumbRawBits + size_t(width) * size_t(height));
  if (!raw || !shown ||
      !OrientImageBlock(reinterpret_cast<uint8_t*>(source.data()), reinterpret_cast<uint8_t*>(rawBits), height, width,
                        32, row.flipX, row.flipY, row.quarterTurn, true, 0)) {
    DeleteJobBitmap(raw);
    DeleteJobBitmap(shown);
    return;
  }
  ReplaceBitmaps(item, raw, rawBits, shown, shownBits);
  item.thumbRect = turned;
  RenderJobThumbnail(item);
}

bool EntryOutputIsRgb(const JobItem& item) {
  const uint16_t mode = item.settings.outputMode;
  if (mode == kCmsModeTables) return false;
  if (mode != kCmsModeIcm) return true;
  if (!item.settings.outputProfile[0]) return false;
  FileHandle file = OpenFileForReading(item.settings.outputProfile);
  uint8_t header[128];
  const bool read = file && ReadBytesAt(file, 0, header, sizeof header);
  CloseFile(file);
  // The ICC header's data colour space, big-endian at byte 16.
  return read && (uint32_t(header[16]) << 24 | header[17] << 16 | header[18] << 8 | header[19]) == kRgbColorSpace;
}
