// The window-state records: the tool-strip and file-format selectors, the
// tool windows' positions, the main window's size per mode, the zoom state
// and the preview box. Each is written by deleting the old record of its
// type and id first; a record is read only with its own size and version 1.
#pragma once

#include <cstddef>
#include <cstdint>

#include "foundation/geometry.h"
#include "foundation/record_type.h"

constexpr RecordType kToolStripRecordType = TagFromString("Tdem");
constexpr RecordType kFileFormatRecordType = TagFromString("tmFF");
constexpr RecordType kDialogPositionsRecordType = TagFromString("DPOS");
constexpr RecordType kZoomInfoRecordType = TagFromString("ZInf");
constexpr RecordType kRelativeZoomRecordType = TagFromString("rZSz");
constexpr RecordType kPreviewBoxRecordType = TagFromString("PvBx");
constexpr int32_t kSmallStateRecordId = 128;
constexpr int32_t kDialogPositionsRecordId = 16000;

// The tool-strip selector of button 1226: 1 when absent, at most 3.
uint8_t ReadTdemSetting();
void WriteTdemSetting(uint8_t value);
// The selected entry of the frame panel's file-format list, which has no
// entries here: every stored value reads as 0.
uint8_t ReadFileFormatSetting();
void WriteFileFormatSetting(uint8_t value);

// Tool-window positions: 50 slots; slot 99 means centred on the screen.
constexpr int kDialogPositionSlots = 50;
constexpr int kCentredSlot = 99;
struct DialogPosition {
  int32_t x;
  int32_t y;
};
static_assert(sizeof(DialogPosition) == 8, "stored slot");
extern DialogPosition gDialogPositions[kDialogPositionSlots];

// The defaults, the stored record over them, then every position outside
// the work area back to 10.
void LoadDialogPositions();
void SaveDialogPositions();
// Slots below 50 only.
void StoreDialogPosition(int slot, int32_t x, int32_t y);

// The main window's size of one mode ("DSiz").
struct DialogSizeRecord {
  uint32_t version;
  int32_t previewWidth;
  int32_t previewHeight;
  uint16_t extraWidth;   // dialog's right edge - preview control's right edge
  uint16_t extraHeight;  // dialog's bottom edge - preview control's bottom edge
};
static_assert(sizeof(DialogSizeRecord) == 16, "stored size");
static_assert(offsetof(DialogSizeRecord, previewWidth) == 4 && offsetof(DialogSizeRecord, previewHeight) == 8 &&
                  offsetof(DialogSizeRecord, extraWidth) == 12 && offsetof(DialogSizeRecord, extraHeight) == 14,
              "stored layout");
// The record of the current mode's id, version 1; false when there is none.
bool ReadDialogSizeRecord(DialogSizeRecord* record);
// Whether a stored size is taken: always when zoomed; otherwise only when
// the stored height over the scan area's proportions (turned with the preview)
// lies within 2 pixels of the stored width.
bool StoredDialogSizeFits(const DialogSizeRecord& record, bool zoomed);
// Replaces the current mode's record; while zoomed also the relative zoom size.
void WriteDialogSizeRecord(int32_t previewWidth, int32_t previewHeight, uint16_t extraWidth, uint16_t extraHeight);

// The zoom state ("ZInf").
struct ZoomInfoRecord {
  uint32_t version;
  uint32_t reserved;
  double rect[4];  // x, y, width, height as the zoom hands them
  int32_t width;
  int32_t height;
};
static_assert(sizeof(ZoomInfoRecord) == 48, "stored size");
static_assert(offsetof(ZoomInfoRecord, rect) == 8 && offsetof(ZoomInfoRecord, width) == 40 &&
                  offsetof(ZoomInfoRecord, height) == 44,
              "stored layout");
// rect: the four doubles as eight 32-bit words; any output may be null.
bool ReadZoomInfo(uint32_t* rect, int32_t* width, int32_t* height);
void WriteZoomInfo(const uint32_t rect[8], int32_t width, int32_t height);
void DeleteZoomInfo();
// 1.0 when absent.
float ReadRelativeZoomSize();
// The size over the stored zoom size along its longer side; nothing without a zoom record.
void WriteRelativeZoomSize(int32_t width, int32_t height);

// The preview box of one mode ("PvBx", device store), in scan-area inches.
struct PreviewBoxRecord {
  uint32_t version;
  uint32_t reserved;
  double left;
  double top;
  double width;
  double height;
  uint32_t valid;
  uint32_t reserved2;
};
static_assert(sizeof(PreviewBoxRecord) == 48, "stored size");
static_assert(offsetof(PreviewBoxRecord, left) == 8 && offsetof(PreviewBoxRecord, top) == 16 &&
                  offsetof(PreviewBoxRecord, width) == 24 && offsetof(PreviewBoxRecord, height) == 32 &&
                  offsetof(PreviewBoxRecord, valid) == 40,
              "stored layout");
struct PreviewBox {
  DRect box;
  uint32_t valid;
};
extern PreviewBox gPreviewBox;

// 130 + slot for the option unit (130 below slot 1), 129 transparency, 128
// reflective; + 50 in negative mode.
int32_t PreviewBoxRecordId(bool transparency, bool optionMode, int16_t slot, bool negative);
// The current mode's box; true when read (the box is then valid).
bool LoadPreviewBox();
void SavePreviewBox();
