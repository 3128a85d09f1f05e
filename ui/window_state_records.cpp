#include "ui/window_state_records.h"

#include <cmath>
#include <cstring>

#include "foundation/record_store.h"
#include "frames/orientation/preview_orientation.h"
#include "records/defaults_block.h"
#include "session/preview_store.h"
#include "state/data_source_state.h"
#include "ui/dialog_size_record.h"
#include "ui/screen.h"

DialogPosition gDialogPositions[kDialogPositionSlots];
PreviewBox gPreviewBox = {};

namespace {

constexpr int32_t kOffscreenFallback = 10;

// A record of exactly the size, read whole.
bool ReadExact(FileHandle store, RecordType type, int32_t id, void* data, uint32_t size) {
  uint32_t stored = 0;
  return store && RecordStoreSize(store, type, id, &stored) && stored == size &&
         RecordStoreRead(store, type, id, data, size);
}

void Replace(FileHandle store, RecordType type, int32_t id, const void* data, uint32_t size, const char* name) {
  if (!store) return;
  RecordStoreDelete(store, type, id);
  RecordStoreAdd(store, type, id, data, size, name);
}

int32_t CurrentDialogSizeId() {
  return DialogSizeRecordId(gLightSourceFlag != 0, gOptionUnitFlag != 0, gOptionSlot, gPreviewZoomed);
}

int32_t CurrentPreviewBoxId() {
  return PreviewBoxRecordId(gLightSourceFlag != 0, gOptionUnitFlag != 0, gOptionSlot,
                            GetDefault(gDefaults, kDefaultNegativeMode) != 0);
}

}  // namespace

uint8_t ReadTdemSetting() {
  uint8_t value = 1;
  if (!ReadExact(gAppStore, kToolStripRecordType, kSmallStateRecordId, &value, 1)) return 1;
  return value > 3 ? 3 : value;
}

void WriteTdemSetting(uint8_t value) {
  Replace(gAppStore, kToolStripRecordType, kSmallStateRecordId, &value, 1, "");
}

uint8_t ReadFileFormatSetting() {
  // The list offers fewer than two entries, so every choice is its first.
  return 0;
}

void WriteFileFormatSetting(uint8_t value) {
  Replace(gAppStore, kFileFormatRecordType, kSmallStateRecordId, &value, 1, "");
}

void LoadDialogPositions() {
  for (DialogPosition& p : gDialogPositions) p = DialogPosition{10, 10};
  gDialogPositions[0] = DialogPosition{282, 10};
  gDialogPositions[19] = DialogPosition{520, 10};
  gDialogPositions[22] = DialogPosition{282, 200};
  gDialogPositions[28] = DialogPosition{282, 215};
  DialogPosition stored[kDialogPositionSlots];
  if (ReadExact(gAppStore, kDialogPositionsRecordType, kDialogPositionsRecordId, stored, sizeof stored))
    std::memcpy(gDialogPositions, stored, sizeof stored);
  // A window stored on a larger screen, or left of or above this one's work
  // area, would open where it cannot be seen.
  const UiRect work = CurrentWorkArea();
  for (DialogPosition& p : gDialogPositions) {
    if (p.x < work.left || p.x >= work.right) p.x = kOffscreenFallback;
    if (p.y < work.top || p.y >= work.bottom) p.y = kOffscreenFallback;
  }
}

void SaveDialogPositions() {
  if (!gAppStore) return;
  RecordStoreDelete(gAppStore, kDialogPositionsRecordType, kDialogPositionsRecordId);
  RecordStoreAdd(gAppStore, kDialogPositionsRecordType, kDialogPositionsRecordId, gDialogPositions,
                 sizeof gDialogPositions, "Dialog Positions");
}

void StoreDialogPosition(int slot, int32_t x, int32_t y) {
  if (slot < 0 || slot >= kDialogPositionSlots) return;
  gDialogPositions[slot] = DialogPosition{x, y};
}

bool ReadDialogSizeRecord(DialogSizeRecord* record) {
  DialogSizeRecord stored;
  if (!ReadExact(gAppStore, kDialogSizeRecordType, CurrentDialogSizeId(), &stored, sizeof stored) ||
      stored.version != 1)
    return false;
  *record = stored;
  return true;
}

bool StoredDialogSizeFits(const DialogSizeRecord& record, bool zoomed) {
  if (zoomed) return true;
  if (gScanAreaInches.width <= 0.0 || gScanAreaInches.height <= 0.0) return false;
  const double ratio = OrientationSwapAxes() ? gScanAreaInches.width / gScanAreaInches.height
                                              : gScanAreaInches.height / gScanAreaInches.width;
  const int32_t width = static_cast<int32_t>(record.previewHeight / ratio);
  return std::abs(width - record.previewWidth) <= 2;
}

void WriteDialogSizeRecord(int32_t previewWidth, int32_t previewHeight, uint16_t extraWidth, uint16_t extraHeight) {
  const DialogSizeRecord record{1, previewWidth, previewHeight, extraWidth, extraHeight};
  Replace(gAppStore, kDialogSizeRecordType, CurrentDialogSizeId(), &record, sizeof record, "Dialog Size");
  if (gPreviewZoomed) WriteRelativeZoomSize(previewWidth, previewHeight);
}

bool ReadZoomInfo(uint32_t* rect, int32_t* width, int32_t* height) {
  ZoomInfoRecord stored;
  if (!ReadExact(gAppStore, kZoomInfoRecordType, kSmallStateRecordId, &stored, sizeof stored) ||
      static_cast<uint16_t>(stored.version) != 1)
    return false;
  if (rect) std::memcpy(rect, stored.rect, sizeof stored.rect);
  if (width) *width = stored.width;
  if (height) *height = stored.height;
  return true;
}

void WriteZoomInfo(const uint32_t rect[8], int32_t width, int32_t height) {
  ZoomInfoRecord record{};
  record.version = 1;
  std::memcpy(record.rect, rect, sizeof record.rect);
  record.width = width;
  record.height = height;
  Replace(gAppStore, kZoomInfoRecordType, kSmallStateRecordId, &record, sizeof record, "Zoom Info");
}

void DeleteZoomInfo() {
  if (gAppStore) RecordStoreDelete(gAppStore, kZoomInfoRecordType, kSmallStateRecordId);
}

float ReadRelativeZoomSize() {
  float ratio = 1.0f;
  return ReadExact(gAppStore, kRelativeZoomRecordType, kSmallStateRecordId, &ratio, sizeof ratio) ? ratio : 1.0f;
}

void WriteRelativeZoomSize(int32_t width, int32_t height) {
  int32_t storedWidth = 0;
  int32_t storedHeight = 0;
  if (!ReadZoomInfo(nullptr, &storedWidth, &storedHeight)) return;
  const float ratio = storedWidth > storedHeight ? static_cast<float>(width) / storedWidth
                                                 : static_cast<float>(height) / storedHeight;
  Replace(gAppStore, kRelativeZoomRecordType, kSmallStateRecordId, &ratio, sizeof ratio, "Relative Zoom Size");
}

int32_t PreviewBoxRecordId(bool transparency, bool optionMode, int16_t slot, bool negative) {
  int32_t id;
  if (optionMode)
    id = 130 + (slot < 1 ? 0 : slot);
  else
    id = transparency ? 129 : 128;
  return negative ? id + 50 : id;
}

bool LoadPreviewBox() {
  PreviewBoxRecord stored;
  if (!ReadExact(gDeviceStore, kPreviewBoxRecordType, CurrentPreviewBoxId(), &stored, sizeof stored) ||
      stored.version != 1)
    return false;
  gPreviewBox.box = DRect{stored.left, stored.top, stored.width, stored.height};
  gPreviewBox.valid = 1;
  return true;
}

void SavePreviewBox() {
  PreviewBoxRecord record{};
  record.version = 1;
  record.left = gPreviewBox.box.x;
  record.top = gPreviewBox.box.y;
  record.width = gPreviewBox.box.width;
  record.height = gPreviewBox.box.height;
  record.valid = gPreviewBox.valid;
  Replace(gDeviceStore, kPreviewBoxRecordType, CurrentPreviewBoxId(), &record, sizeof record, "PreviewBox");
}
