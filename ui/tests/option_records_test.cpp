// Option-unit, light-source, screen-geometry, version and preview-parameter
// records in the two stores, and the profile folder.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "foundation/file_io.h"
#include "foundation/folder_tools.h"
#include "foundation/paths.h"
#include "foundation/record_store.h"
#include "foundation/scripted_system.h"
#include "state/data_source_state.h"
#include "ui/dialog_size_record.h"
#include "ui/option_records.h"
#include "ui/preview_param.h"
#include "ui/profile_folder.h"
#include "ui/screen.h"
#include "ui/tests/stores_fixture.h"

namespace {

constexpr RecordType kDialogSize = TagFromString("DSiz");

TEST_F(StoresTest, WithoutAnOptionUnitTheChoiceIsForgotten) {
  gOptionSlot = 3;
  StoreOptionSelection(true);
  int16_t slot = 0;
  ASSERT_TRUE(RecordStoreRead(gDeviceStore, kOptionRecordType, kOptionRecordId, &slot, sizeof slot));
  EXPECT_EQ(slot, 3);
  EXPECT_EQ(NameOf(gDeviceStore, kOptionRecordType, kOptionRecordId), "Use_Option");
  uint32_t size = 0;
  ASSERT_TRUE(RecordStoreSize(gDeviceStore, kOptionRecordType, kOptionRecordId, &size));
  EXPECT_EQ(size, 2u);

  // The image device has no option unit: the record goes, the slot is 0.
  EXPECT_FALSE(LoadOptionSelection());
  EXPECT_EQ(gOptionSlot, 0);
  EXPECT_EQ(RecordStoreCount(gDeviceStore, kOptionRecordType), 0);
}

TEST_F(StoresTest, LightSourceRecordIsEmptyAndOnlyForTransparencies) {
  StoreLightSource(true);
  StoreLightSource(true);
  ASSERT_EQ(RecordStoreCount(gDeviceStore, kLightSourceRecordType), 1);
  uint32_t size = 99;
  ASSERT_TRUE(RecordStoreSize(gDeviceStore, kLightSourceRecordType, kLightSourceRecordId, &size));
  EXPECT_EQ(size, 0u);
  EXPECT_EQ(NameOf(gDeviceStore, kLightSourceRecordType, kLightSourceRecordId), "Trans");

  StoreLightSource(false);
  EXPECT_EQ(RecordStoreCount(gDeviceStore, kLightSourceRecordType), 0);

  // The image device has no transparency unit: reflective, and stored so.
  StoreLightSource(true);
  EXPECT_FALSE(LoadLightSource());
  EXPECT_EQ(RecordStoreCount(gDeviceStore, kLightSourceRecordType), 0);
}

TEST_F(StoresTest, VersionRecord) {
  EXPECT_EQ(ReadVersionRecord(gAppStore), 0u);
  WriteVersionRecord(gAppStore, 7);
  WriteVersionRecord(gAppStore, 0x01020304);
  EXPECT_EQ(RecordStoreCount(gAppStore, kVersionRecordType), 1);
  EXPECT_EQ(ReadVersionRecord(gAppStore), 0x01020304u);
  EXPECT_EQ(NameOf(gAppStore, kVersionRecordType, kVersionRecordId), "");
}

// The screen check against a stored screen: (stored rectangle or none) -> whether
// the stored size of the current mode survives.
struct GeometryCase {
  const char* name;
  bool stored;
  int32_t dx;  // stored right - current right
  int32_t dy;  // stored bottom - current bottom
  bool dropSizes;
  bool sizeKept;
};

class ScreenGeometry : public StoresTest, public testing::WithParamInterface<GeometryCase> {};

TEST_P(ScreenGeometry, SmallerScreenDropsTheStoredSize) {
  const GeometryCase& c = GetParam();
  const UiRect screen = CurrentScreenRect();
  if (c.stored) {
    const UiRect old = {0, 0, screen.right + c.dx, screen.bottom + c.dy};
    RecordStoreAdd(gAppStore, kScreenGeometryRecordType, 16000, &old, sizeof old, "Screen_Geometry");
    RecordStoreAdd(gAppStore, kScreenGeometryRecordType, 16001, &old, sizeof old, "Screen_Geometry");
  }
  const int32_t sizeId = DialogSizeRecordId(false, false, 0, false);
  const int32_t zoomedId = DialogSizeRecordId(false, false, 0, true);
  const uint8_t size[16] = {1};
  RecordStoreAdd(gAppStore, kDialogSize, sizeId, size, sizeof size, "Dialog Size");
  RecordStoreAdd(gAppStore, kDialogSize, zoomedId, size, sizeof size, "Dialog Size");

  CheckScreenGeometry(c.dropSizes);

  uint32_t ignored = 0;
  EXPECT_EQ(RecordStoreSize(gAppStore, kDialogSize, sizeId, &ignored), c.sizeKept);
  EXPECT_TRUE(RecordStoreSize(gAppStore, kDialogSize, zoomedId, &ignored)) << "zoomed sizes stay";
  UiRect now = {};
  ASSERT_TRUE(RecordStoreReadIndexed(gAppStore, kScreenGeometryRecordType, 1, &now, sizeof now));
  EXPECT_TRUE(now == screen);
  const bool unchanged = c.stored && c.dx == 0 && c.dy == 0;
  EXPECT_EQ(RecordStoreCount(gAppStore, kScreenGeometryRecordType), unchanged ? 2 : 1);
  if (!unchanged) {
    EXPECT_EQ(NameOf(gAppStore, kScreenGeometryRecordType, kScreenGeometryRecordId), "Screen_Geometry");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Screens, ScreenGeometry,
    testing::Values(GeometryCase{"same_screen", true, 0, 0, true, true},
                    GeometryCase{"no_record", false, 0, 0, true, false},
                    GeometryCase{"narrower_now", true, 200, 0, true, false},
                    GeometryCase{"lower_now", true, 0, 100, true, false},
                    GeometryCase{"larger_now", true, -200, -100, true, true},
                    GeometryCase{"narrower_without_drop", true, 200, 0, false, true}),
    [](const testing::TestParamInfo<GeometryCase>& info) { return info.param.name; });

TEST(DialogSizeIds, ByModeOfTheWindow) {
  ResetDataSourceState();
  EXPECT_EQ(DialogSizeRecordId(false, false, 0, false), 50);
  EXPECT_EQ(DialogSizeRecordId(true, false, 0, false), 51);
  EXPECT_EQ(DialogSizeRecordId(true, true, 4, false), 5);
  EXPECT_EQ(DialogSizeRecordId(false, true, 0, false), 1);
  EXPECT_EQ(DialogSizeRecordId(false, true, 10, true), 4001);
}

TEST_F(StoresTest, PreviewParamRoundTrip) {
  PreviewParamRecord missing = {};
  missing.zoomFactor = 77;
  EXPECT_FALSE(LoadPreviewParam(&missing));
  EXPECT_EQ(missing.zoomFactor, 77u) << "untouched when absent";

  FrameRecord frame;
  std::memset(&frame, 0x5A, sizeof frame);
  const PreviewParamRecord record = MakePreviewParam(frame, UiRect{10, 20, 410, 320}, 2, 8.5, 11.0, true);
  EXPECT_TRUE(record.previewRect == (UiRect{10, 20, 310, 420})) << "width and height exchanged";
  ASSERT_TRUE(SavePreviewParam(record));
  ASSERT_TRUE(SavePreviewParam(record));
  EXPECT_EQ(RecordStoreCount(gDeviceStore, kPreviewParamRecordType), 1);
  EXPECT_EQ(NameOf(gDeviceStore, kPreviewParamRecordType, kPreviewParamRecordId), "PreviewParam");

  uint8_t bytes[kPreviewParamRecordSize];
  ASSERT_TRUE(RecordStoreRead(gDeviceStore, kPreviewParamRecordType, 128, bytes, sizeof bytes));
  EXPECT_EQ(bytes[2079], 0x5A);
  int32_t right;
  std::memcpy(&right, bytes + 2088, 4);
  EXPECT_EQ(right, 310);
  uint32_t zoom;
  std::memcpy(&zoom, bytes + 2096, 4);
  EXPECT_EQ(zoom, 2u);
  double height;
  std::memcpy(&height, bytes + 2112, 8);
  EXPECT_EQ(height, 11.0);

  PreviewParamRecord loaded = {};
  ASSERT_TRUE(LoadPreviewParam(&loaded));
  EXPECT_EQ(std::memcmp(&loaded, &record, sizeof loaded), 0);
}

TEST(ProfileFolder, InTheSettingsFolderOrMissing) {
  ScopedScriptedSystem system;
  char program[256];
  ASSERT_TRUE(PlatformSystemServices().ModuleFileName(nullptr, program, sizeof program));
  program[FileNamePart(program) - program] = '\0';
  const std::string base = std::string(program) + "ui_profile_cases\\";
  CreateFolder(base.c_str());
  system->modulePath = base + "QB ZIR.ds";
  system->strings = {{300, "Quillbrook"}};
  char path[256] = {};
  ASSERT_TRUE(ProfileFolderPath(path));
  EXPECT_EQ(std::string(path), base + "Quillbrook\\CB Profile\\");
  // The colour services answer for the table itself.
  EXPECT_NE(LoadSeparationTableFromFolder("Sep Euro UCR340.ast"), kProfileFolderMissing);

  system->modulePath.clear();
  EXPECT_FALSE(ProfileFolderPath(path));
  EXPECT_EQ(LoadSeparationTableFromFolder("Sep Euro UCR340.ast"), kProfileFolderMissing);
  EXPECT_EQ(ReleaseSeparationTables(), 0);
}

}  // namespace
