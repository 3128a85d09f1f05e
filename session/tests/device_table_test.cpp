// The device table, the recent images and the chooser's roads into them.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "foundation/dialogs/testing/scoped_prompts.h"
#include "foundation/file_io.h"
#include "foundation/file_names.h"
#include "foundation/pstring.h"
#include "foundation/record_store.h"
#include "foundation/settings_folders.h"
#include "readers/jpeg/jpeg_glue.h"
#include "session/device_chooser.h"
#include "session/device_state.h"
#include "session/device_table.h"
#include "session/tests/session_test_environment.h"
#include "state/data_source_state.h"

namespace {

std::string Text(const uint8_t* field) { return std::string(reinterpret_cast<const char*>(field + 1), field[0]); }

std::string RowName(int row) { return Text(gDeviceTable.entries[row].name); }

using DeviceTableTest = SessionTest;

TEST_F(DeviceTableTest, FixedRowsArePaddedAndCarryTheVendor) {
  ASSERT_EQ(BuildDeviceTable(&gDeviceTable), 2);
  EXPECT_EQ(RowName(0), "Bild \xf6" "ffnen...  ");
  EXPECT_EQ(RowName(1), "\xdc" "bersicht...    ");
  for (int row = 0; row < 2; ++row) {
    const DeviceEntry& entry = gDeviceTable.entries[row];
    EXPECT_EQ(entry.kind, 0);
    EXPECT_EQ(entry.index, row);
    EXPECT_EQ(entry.value, 1u);
    EXPECT_EQ(entry.flag, 0);
    EXPECT_EQ(Text(entry.vendor), "ZIR     ");
  }
}

TEST_F(DeviceTableTest, TakingAnImageListsItAndOpensItsRow) {
  ASSERT_TRUE(TakeImage(Fixture("img1.tif")));
  EXPECT_EQ(RecentNames(), std::vector<std::string>({"img1.tif"}));
  EXPECT_EQ(RecentPath(1), Fixture("img1.tif"));
  ASSERT_EQ(gDeviceTable.count, 3);
  EXPECT_EQ(RowName(2), "img1.tif");
  EXPECT_EQ(gDeviceLayer.deviceIndex, 2);
  EXPECT_TRUE(gDeviceLayer.changePending);
  EXPECT_STREQ(gImagePath, Fixture("img1.tif").c_str());
  EXPECT_EQ(gDeviceLayer.openedInfo.width, 4u);
}

TEST_F(DeviceTableTest, SeventhImageTrimsToFiveAndTakesIdSix) {
  for (int i = 1; i <= 6; ++i) ASSERT_TRUE(TakeImage(Fixture("img" + std::to_string(i) + ".tif")));
  EXPECT_EQ(RecentNames().size(), 6u);
  ASSERT_TRUE(TakeImage(Fixture("img7.tif")));
  // The oldest leaves, the others move down one id, the new one is id 6.
  EXPECT_EQ(RecentNames(),
            std::vector<std::string>({"img2.tif", "img3.tif", "img4.tif", "img5.tif", "img6.tif", "img7.tif"}));
  EXPECT_EQ(RecentPath(1), Fixture("img2.tif"));
  ASSERT_EQ(gDeviceTable.count, 8);
  EXPECT_EQ(RowName(7), "img7.tif");
  EXPECT_EQ(gDeviceLayer.deviceIndex, 7);
}

TEST_F(DeviceTableTest, SamePathReopensItsRowAndKeepsTheList) {
  for (int i = 1; i <= 3; ++i) ASSERT_TRUE(TakeImage(Fixture("img" + std::to_string(i) + ".tif")));
  ASSERT_TRUE(TakeImage(Fixture("img1.tif")));
  EXPECT_EQ(RecentNames(), std::vector<std::string>({"img1.tif", "img2.tif", "img3.tif"}));
  EXPECT_EQ(gDeviceLayer.deviceIndex, 2);
}

TEST_F(DeviceTableTest, SameNameFromAnotherFolderMovesToTheEnd) {
  for (int i = 1; i <= 3; ++i) ASSERT_TRUE(TakeImage(Fixture("img" + std::to_string(i) + ".tif")));
  ASSERT_TRUE(TakeImage(Fixture("other/img1.tif")));
  EXPECT_EQ(RecentNames(), std::vector<std::string>({"img2.tif", "img3.tif", "img1.tif"}));
  EXPECT_EQ(RecentPath(3), Fixture("other/img1.tif"));
  EXPECT_EQ(gDeviceLayer.openedInfo.width, 6u);
}

TEST_F(DeviceTableTest, MissingFilesLeaveTheListWithTheirDeviceStores) {
  std::string copy = Scratch("gone.tif");
  {
    FileHandle file = CreateFileForWriting(copy.c_str());
    ASSERT_NE(file, nullptr);
    CloseFile(file);
  }
  char path[kRecentImagePathSize] = {};
  for (const std::string& image : {Fixture("img1.tif"), copy, Fixture("img2.tif")}) {
    std::memset(path, 0, sizeof path);
    std::strncpy(path, image.c_str(), sizeof path - 1);
    int32_t id = RecordStoreCount(gAppStore, kRecentImageType) + 1;
    const char* name = std::strrchr(path, PathSeparator()) + 1;
    ASSERT_TRUE(RecordStoreAdd(gAppStore, kRecentImageType, id, path, sizeof path, name));
  }
  char prefs[512];
  ASSERT_TRUE(GetPrefsFolder(prefs));
  std::string store = std::string(prefs) + "QB (ZIR gone.tif).prf";
  CloseFile(CreateFileForWriting(store.c_str()));
  ASSERT_TRUE(FileExists(store.c_str()));
  ASSERT_TRUE(DeleteFileAt(copy.c_str()));

  EXPECT_EQ(BuildDeviceTable(&gDeviceTable), 4);
  EXPECT_EQ(RecentNames(), std::vector<std::string>({"img1.tif", "img2.tif"}));
  EXPECT_EQ(RecentPath(2), Fixture("img2.tif"));
  EXPECT_FALSE(FileExists(store.c_str()));
}

TEST_F(DeviceTableTest, FindRowByNameLooksFromRowTwoOn) {
  EXPECT_EQ(BuildDeviceTable(&gDeviceTable), 2);
  EXPECT_EQ(FindDeviceRowByName(gDeviceTable, "Bild \xf6" "ffnen...  "), 0);
  ASSERT_TRUE(TakeImage(Fixture("img1.tif")));
  ASSERT_TRUE(TakeImage(Fixture("img2.tif")));
  EXPECT_EQ(FindDeviceRowByName(gDeviceTable, "img2.tif"), 3);
  EXPECT_EQ(FindDeviceRowByName(gDeviceTable, "img9.tif"), 0);
}

TEST_F(DeviceTableTest, BrokenImageIsReportedAndDropped) {
  ScopedPrompts prompts;
  prompts.Reply(kAnswerOk);
  EXPECT_FALSE(TakeImage(Fixture("broken.tif")));
  ASSERT_EQ(prompts.Asked().size(), 1u);
  EXPECT_EQ(prompts.Asked(0).title, "Fehler");
  EXPECT_TRUE(RecentNames().empty());
  EXPECT_EQ(gDeviceTable.count, 2);
  EXPECT_EQ(gDeviceLayer.deviceIndex, kCurrentImageIndex);
}

// The JPEG library shows its own message for a file it rejects; no second,
// empty alert follows it.
TEST_F(DeviceTableTest, RejectedJpegGivesOnlyTheLibraryMessage) {
  const std::string path = Scratch("notajpeg.jpg");
  std::ofstream(path, std::ios::binary) << "this is no JPEG data at all";
  static std::vector<std::string> shown;
  shown.clear();
  JpegMessageSink previous = SetJpegMessageSink([](const char* text) { shown.push_back(text); });
  ScopedPrompts prompts;
  EXPECT_FALSE(TakeImage(path));
  SetJpegMessageSink(previous);
  EXPECT_TRUE(prompts.Asked().empty());
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_FALSE(shown[0].empty());
  EXPECT_TRUE(RecentNames().empty());
}

TEST_F(DeviceTableTest, OpenDialogAsksWithTheImageFilter) {
  ScopedPrompts prompts;
  prompts.Accept(PromptKind::kOpenImageFile, Fixture("img2.tif"));
  DeviceEntry openImage = {};
  openImage.index = kOpenImageRow;
  ASSERT_TRUE(OpenSourceDevice(openImage));
  const PromptRequest& asked = prompts.Asked(0);
  EXPECT_EQ(asked.title, "Name der Bilddatei:");
  EXPECT_EQ(asked.filter, std::string("Bilddateien (*.tif;*.jpg;*.psd)\0*.tif;*.jpg;*.psd\0\0", 51));
  EXPECT_EQ(RecentNames(), std::vector<std::string>({"img2.tif"}));
  EXPECT_EQ(gDeviceLayer.progress[0].end, 32767);
}

TEST_F(DeviceTableTest, CancelledOpenDialogOpensNothing) {
  ScopedPrompts prompts;
  prompts.Cancel(PromptKind::kOpenImageFile);
  DeviceEntry openImage = {};
  openImage.index = kOpenImageRow;
  EXPECT_FALSE(OpenSourceDevice(openImage));
  EXPECT_TRUE(RecentNames().empty());
}

TEST_F(DeviceTableTest, DeviceStoreNameFollowsTheOpenRow) {
  ASSERT_TRUE(TakeImage(Fixture("img3.tif")));
  PString name;
  MakeDevicePrefsFileName(name);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(name + 1), name[0]), "QB (ZIR img3.tif).prf");
}

}  // namespace
