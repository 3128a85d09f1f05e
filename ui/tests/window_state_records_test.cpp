// The window-state records in the two stores: selectors, tool-window
// positions, the main window's size per mode, the zoom records and the
// preview box.
#include <gtest/gtest.h>

#include <cstring>

#include "foundation/pstring.h"
#include "foundation/record_store.h"
#include "foundation/scripted_system.h"
#include "frames/orientation/preview_orientation.h"
#include "records/defaults_block.h"
#include "session/preview_store.h"
#include "state/data_source_state.h"
#include "ui/device_names.h"
#include "ui/dialog_size_record.h"
#include "ui/screen.h"
#include "ui/tests/stores_fixture.h"
#include "ui/window_state_records.h"

namespace {

using WindowStateRecordsTest = StoresTest;

TEST_F(WindowStateRecordsTest, ToolStripSelectorReadsOneWhenAbsentAndAtMostThree) {
  EXPECT_EQ(ReadTdemSetting(), 1);
  WriteTdemSetting(7);
  EXPECT_EQ(ReadTdemSetting(), 3);
  WriteTdemSetting(2);
  EXPECT_EQ(ReadTdemSetting(), 2);
  EXPECT_EQ(RecordStoreCount(gAppStore, kToolStripRecordType), 1);
  EXPECT_EQ(NameOf(gAppStore, kToolStripRecordType, 128), "");
  WriteFileFormatSetting(4);
  EXPECT_EQ(ReadFileFormatSetting(), 0);  // the list has no second entry
  EXPECT_EQ(NameOf(gAppStore, kFileFormatRecordType, 128), "");
}

TEST_F(WindowStateRecordsTest, DialogPositionsStartFromTheirDefaultsAndComeBack) {
  LoadDialogPositions();
  struct Slot {
    int slot;
    int32_t x, y;
  } defaults[] = {{0, 282, 10}, {1, 10, 10}, {19, 520, 10}, {22, 282, 200}, {28, 282, 215}, {49, 10, 10}};
  for (const Slot& d : defaults) {
    EXPECT_EQ(gDialogPositions[d.slot].x, d.x) << d.slot;
    EXPECT_EQ(gDialogPositions[d.slot].y, d.y) << d.slot;
  }
  StoreDialogPosition(11, 300, 400);
  StoreDialogPosition(50, 1, 1);  // beyond the slots: ignored
  StoreDialogPosition(kCentredSlot, 1, 1);
  SaveDialogPositions();
  uint32_t size = 0;
  ASSERT_TRUE(RecordStoreSize(gAppStore, kDialogPositionsRecordType, 16000, &size));
  EXPECT_EQ(size, 400u);
  EXPECT_EQ(NameOf(gAppStore, kDialogPositionsRecordType, 16000), "Dialog Positions");
  gDialogPositions[11] = DialogPosition{0, 0};
  LoadDialogPositions();
  EXPECT_EQ(gDialogPositions[11].x, 300);
  EXPECT_EQ(gDialogPositions[11].y, 400);
}

// Stored on another screen: every position outside this work area comes back to 10.
TEST_F(WindowStateRecordsTest, PositionsOutsideTheWorkAreaComeBackTo10) {
  const UiRect work = CurrentWorkArea();
  const int32_t x = work.left + 100, y = work.top + 100;
  DialogPosition stored[kDialogPositionSlots];
  for (DialogPosition& p : stored) p = DialogPosition{x, y};
  stored[1] = DialogPosition{work.right + 500, y};      // right of the work area
  stored[2] = DialogPosition{x, work.bottom + 100};     // below it
  stored[3] = DialogPosition{work.left - 400, y};       // left of it
  stored[4] = DialogPosition{x, work.top - 300};        // above it
  stored[5] = DialogPosition{work.right, work.bottom};  // at its far edges
  stored[6] = DialogPosition{work.right - 1, work.bottom - 1};
  RecordStoreAdd(gAppStore, kDialogPositionsRecordType, 16000, stored, sizeof stored, "Dialog Positions");
  LoadDialogPositions();
  const DialogPosition expected[] = {{x, y},   {10, y},  {x, 10}, {10, y},
                                     {x, 10}, {10, 10}, {work.right - 1, work.bottom - 1}};
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(gDialogPositions[i].x, expected[i].x) << i;
    EXPECT_EQ(gDialogPositions[i].y, expected[i].y) << i;
  }
}

TEST_F(WindowStateRecordsTest, ARecordOfAnotherSizeLeavesTheDefaults) {
  const uint8_t shortRecord[16] = {1};
  RecordStoreAdd(gAppStore, kDialogPositionsRecordType, 16000, shortRecord, sizeof shortRecord, "Dialog Positions");
  LoadDialogPositions();
  EXPECT_EQ(gDialogPositions[0].x, 282);
}

// Scan area 8 x 4 inches: a preview 400 wide is 200 high.
TEST_F(WindowStateRecordsTest, AStoredSizeOffTheScanAreaShapeIsIgnoredUnlessZoomed) {
  gScanAreaInches = {8.0, 4.0};
  SetPreviewOrientation(0, 0, 0);
  struct Case {
    int32_t width, height;
    bool zoomed, taken;
  } cases[] = {{400, 200, false, true}, {402, 200, false, true}, {398, 200, false, true},
               {403, 200, false, false}, {397, 200, false, false}, {600, 200, true, true}};
  for (const Case& c : cases) {
    DialogSizeRecord r{1, c.width, c.height, 16, 24};
    EXPECT_EQ(StoredDialogSizeFits(r, c.zoomed), c.taken) << c.width << " x " << c.height;
  }
  // Turned a quarter, the preview is higher than wide.
  SetPreviewOrientation(0, 0, 1);
  EXPECT_TRUE(StoredDialogSizeFits(DialogSizeRecord{1, 200, 400, 16, 24}, false));
  EXPECT_FALSE(StoredDialogSizeFits(DialogSizeRecord{1, 400, 200, 16, 24}, false));
  SetPreviewOrientation(0, 0, 0);
}

TEST_F(WindowStateRecordsTest, EachTurnOfThePreviewKeepsItsOwnSize) {
  gScanAreaInches = {8.0, 4.0};
  SetPreviewOrientation(0, 0, 0);
  WriteDialogSizeRecord(400, 200, 300, 120);
  SetPreviewOrientation(0, 0, 1);
  WriteDialogSizeRecord(200, 400, 300, 120);
  SetPreviewOrientation(0, 0, 0);
  DialogSizeRecord plain{}, turned{};
  ASSERT_TRUE(RecordStoreRead(gAppStore, kDialogSizeRecordType, 50, &plain, sizeof plain));
  ASSERT_TRUE(RecordStoreRead(gAppStore, kDialogSizeRecordType, 150, &turned, sizeof turned));
  EXPECT_EQ(plain.previewWidth, 400);
  EXPECT_EQ(turned.previewWidth, 200);
  EXPECT_EQ(NameOf(gAppStore, kDialogSizeRecordType, 50), "Dialog Size");
  DialogSizeRecord read{};
  ASSERT_TRUE(ReadDialogSizeRecord(&read));
  EXPECT_EQ(read.version, 1u);
  EXPECT_EQ(read.extraWidth, 300);
  EXPECT_EQ(read.extraHeight, 120);
  // Version 2 is not this layout.
  plain.version = 2;
  RecordStoreAdd(gAppStore, kDialogSizeRecordType, 50, &plain, sizeof plain, "Dialog Size");
  EXPECT_FALSE(ReadDialogSizeRecord(&read));
}

TEST_F(WindowStateRecordsTest, RelativeZoomSizeNeedsTheZoomRecord) {
  WriteRelativeZoomSize(300, 200);
  EXPECT_EQ(RecordStoreCount(gAppStore, kRelativeZoomRecordType), 0);
  EXPECT_FLOAT_EQ(ReadRelativeZoomSize(), 1.0f);
  double rect[4] = {0.5, 1.0, 2.0, 3.0};
  uint32_t words[8];
  std::memcpy(words, rect, sizeof words);
  WriteZoomInfo(words, 400, 250);
  WriteRelativeZoomSize(300, 200);
  EXPECT_FLOAT_EQ(ReadRelativeZoomSize(), 0.75f);  // along the longer side: 300 / 400
  WriteZoomInfo(words, 250, 400);
  WriteRelativeZoomSize(300, 200);
  EXPECT_FLOAT_EQ(ReadRelativeZoomSize(), 0.5f);   // 200 / 400
  uint32_t back[8] = {};
  int32_t w = 0, h = 0;
  ASSERT_TRUE(ReadZoomInfo(back, &w, &h));
  EXPECT_EQ(std::memcmp(back, words, sizeof back), 0);
  EXPECT_EQ(w, 250);
  EXPECT_EQ(h, 400);
  EXPECT_EQ(NameOf(gAppStore, kZoomInfoRecordType, 128), "Zoom Info");
  EXPECT_EQ(NameOf(gAppStore, kRelativeZoomRecordType, 128), "Relative Zoom Size");
  DeleteZoomInfo();
  EXPECT_FALSE(ReadZoomInfo(nullptr, nullptr, nullptr));
}

TEST_F(WindowStateRecordsTest, PreviewBoxIdsFollowTheMode) {
  EXPECT_EQ(PreviewBoxRecordId(false, false, 0, false), 128);
  EXPECT_EQ(PreviewBoxRecordId(true, false, 0, false), 129);
  EXPECT_EQ(PreviewBoxRecordId(true, true, 0, false), 130);
  EXPECT_EQ(PreviewBoxRecordId(false, true, 3, false), 133);
  EXPECT_EQ(PreviewBoxRecordId(false, false, 0, true), 178);
  EXPECT_EQ(PreviewBoxRecordId(false, true, 2, true), 182);
}

TEST_F(WindowStateRecordsTest, PreviewBoxComesBackValid) {
  gPreviewBox = PreviewBox{DRect{0.5, 1.5, 2.0, 3.0}, 0};
  SetDefault<uint8_t>(gDefaults, kDefaultNegativeMode, 1);
  SavePreviewBox();
  uint32_t size = 0;
  ASSERT_TRUE(RecordStoreSize(gDeviceStore, kPreviewBoxRecordType, 178, &size));
  EXPECT_EQ(size, 48u);
  EXPECT_EQ(NameOf(gDeviceStore, kPreviewBoxRecordType, 178), "PreviewBox");
  gPreviewBox = PreviewBox{};
  ASSERT_TRUE(LoadPreviewBox());
  EXPECT_DOUBLE_EQ(gPreviewBox.box.y, 1.5);
  EXPECT_DOUBLE_EQ(gPreviewBox.box.height, 3.0);
  EXPECT_EQ(gPreviewBox.valid, 1u);
  SetDefault<uint8_t>(gDefaults, kDefaultNegativeMode, 0);
  EXPECT_FALSE(LoadPreviewBox());  // the reflective mode has none
}

DeviceEntry EntryOf(const char* vendor, const char* model) {
  DeviceEntry e{};
  e.kind = 3;
  e.index = 12;
  PStrFromC(e.vendor, vendor);  // both fit in 64 bytes
  PStrFromC(e.name, model);
  return e;
}

std::string Text(const unsigned char* p) { return std::string(reinterpret_cast<const char*>(p + 1), p[0]); }

TEST(DeviceNamesTest, NameWithIdsAndVendorWithoutTrailingBlanks) {
  const DeviceEntry e = EntryOf("ZIR     ", "Bild 1   ");
  PString out;
  FormatDeviceName(out, e, true, true);
  EXPECT_EQ(Text(out), "3:12: ZIR Bild 1");
  FormatDeviceName(out, e, false, true);
  EXPECT_EQ(Text(out), "ZIR Bild 1");
  FormatDeviceName(out, e, true, false);
  EXPECT_EQ(Text(out), "3:12: Bild 1");
  FormatDeviceName(out, e, false, false);
  EXPECT_EQ(Text(out), "Bild 1");
}

TEST(DeviceNamesTest, TheNameTableGivesTheDisplayNames) {
  ScopedScriptedSystem system;
  std::vector<uint8_t> table(16 + 2 * 60, 0);
  auto put = [&](size_t at, const char* text) {
    table[at] = static_cast<uint8_t>(std::strlen(text));
    std::memcpy(&table[at + 1], text, std::strlen(text));
  };
  put(16, "ACME");
  put(16 + 9, "X1");
  put(16 + 26, "Acme Corp");
  put(16 + 43, "Scanner X1");
  put(76, "ZIR");
  put(76 + 9, "Bild 1");
  put(76 + 26, "Quillbrook");
  put(76 + 43, "Bilddatei");
  system->resources[{"SNAM", 128}] = table;
  DeviceEntry e = EntryOf("ZIR  ", "Bild 1 ");
  ApplyScannerNameTable(&e);
  EXPECT_EQ(Text(e.vendor), "Quillbrook");
  EXPECT_EQ(Text(e.name), "Bilddatei");
  DeviceEntry other = EntryOf("ZIR", "Bild 2");
  ApplyScannerNameTable(&other);
  EXPECT_EQ(Text(other.name), "Bild 2");
  system->resources.clear();
  DeviceEntry unchanged = EntryOf("ZIR", "Bild 1");
  ApplyScannerNameTable(&unchanged);
  EXPECT_EQ(Text(unchanged.vendor), "ZIR");
}

TEST(DeviceNamesTest, ResolutionListIndexIsOneBased) {
  ResetDataSourceState();
  gResolutionList.count = 3;
  gResolutionList.values[0] = 75;
  gResolutionList.values[1] = 150;
  gResolutionList.values[2] = 300;
  const int16_t cases[][2] = {{10, 1}, {75, 1}, {76, 2}, {150, 2}, {299, 3}, {300, 3}, {301, 4}};
  for (const auto& c : cases) EXPECT_EQ(ResolutionListIndex(c[0]), c[1]) << c[0];
  ResetDataSourceState();
}

}  // namespace
