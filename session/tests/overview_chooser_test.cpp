// The chooser's overview road: folder, parameter block, pick and saved state.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "foundation/dialogs/testing/scoped_prompts.h"
#include "foundation/memory.h"
#include "session/device_chooser.h"
#include "session/device_state.h"
#include "session/overview_cells.h"
#include "session/overview_record.h"
#include "session/overview_window.h"
#include "session/tests/session_test_environment.h"

namespace fs = std::filesystem;

namespace {

struct SeenBlock {
  OverviewParams params;
  std::string title;
  std::vector<uint16_t> chosen;
  std::string firstPath;
};
SeenBlock gSeen;
bool gPick = true;

bool ScriptedOverview(WindowRef, OverviewParams* params, OverviewResult* result) {
  gSeen.params = *params;
  gSeen.title = params->title;
  gSeen.chosen.assign(params->chosenCells, params->chosenCells + (params->chosenCells ? params->chosenCount : 0));
  char path[256];
  params->pathOf(1, path);
  gSeen.firstPath = path;
  result->reopen = 0;
  if (!gPick) return false;
  result->currentCell = 2;
  result->chosenCount = 2;
  result->chosenCells = static_cast<uint16_t*>(AllocBlock(2 * sizeof(uint16_t)));
  result->chosenCells[0] = 1;
  result->chosenCells[1] = 2;
  return true;
}

class OverviewChooserTest : public SessionTest {
 protected:
  void SetUp() override {
    SessionTest::SetUp();
    folder_ = Scratch("pictures");
    fs::create_directories(folder_);
    for (const char* name : {"img2.tif", "img1.tif"}) fs::copy_file(Fixture(name), folder_ + PathSeparator() + name);
    gOverviewWindow = ScriptedOverview;
    gPick = true;
  }
  void TearDown() override {
    gOverviewWindow = previous_;
    SessionTest::TearDown();
  }
  bool RunOverviewRow() {
    DeviceEntry overview = {};
    overview.index = kOverviewRow;
    return OpenSourceDevice(overview);
  }

  std::string folder_;
  OverviewWindowFunction previous_ = gOverviewWindow;
};

TEST_F(OverviewChooserTest, PickOpensTheCurrentCellAndSavesTheState) {
  ScopedPrompts prompts;
  prompts.Accept(PromptKind::kFolder, folder_);
  ASSERT_TRUE(RunOverviewRow());
  EXPECT_EQ(prompts.Asked(0).title, "Bild-Ordner lokalisieren:");

  const OverviewParams& params = gSeen.params;
  EXPECT_EQ(params.imageCount, 2);
  EXPECT_EQ(params.cellWidth, 130);
  EXPECT_EQ(params.cellHeight, 130);
  EXPECT_EQ(params.cellGap, 8);
  EXPECT_EQ(params.startRows, 4);
  EXPECT_EQ(params.startColumns, 6);
  EXPECT_EQ(params.currentCell, 1);
  EXPECT_EQ(params.chosenCount, 1);
  EXPECT_EQ(params.chosenCells, nullptr);
  EXPECT_EQ(params.flags[0], 0);
  EXPECT_EQ(params.flags[1], 1);
  std::string folder = folder_ + "\\";  // the chooser ends folders the product's way
  EXPECT_EQ(gSeen.title, "\xdc" "bersicht \xfc" "ber: " + folder);
  EXPECT_EQ(gSeen.firstPath, folder + "img1.tif") << "cells sorted by name";

  EXPECT_STREQ(gImagePath, (folder + "img2.tif").c_str());
  EXPECT_EQ(RecentNames(), std::vector<std::string>({"img2.tif"}));
  OverviewRecord saved;
  ASSERT_TRUE(LoadOverviewRecord(&saved));
  EXPECT_EQ(saved.folder, folder);
  EXPECT_EQ(saved.current, folder + "img2.tif");
  EXPECT_EQ(saved.chosen, std::vector<std::string>({folder + "img1.tif", folder + "img2.tif"}));
}

TEST_F(OverviewChooserTest, SavedSelectionComesBackAndSurvivesACancel) {
  std::string folder = folder_ + "\\";  // the chooser ends folders the product's way
  ASSERT_TRUE(SaveOverviewRecord(folder.c_str(), (folder + "img2.tif").c_str(), {folder + "img2.tif"}));
  gPick = false;
  ScopedPrompts prompts;
  prompts.Accept(PromptKind::kFolder, folder_);
  EXPECT_FALSE(RunOverviewRow());
  EXPECT_EQ(prompts.Asked(0).initial, folder_) << "starts in the saved folder, without its separator";
  EXPECT_EQ(gSeen.params.currentCell, 2);
  EXPECT_EQ(gSeen.chosen, std::vector<uint16_t>({2}));
  EXPECT_TRUE(RecentNames().empty());
  OverviewRecord saved;
  ASSERT_TRUE(LoadOverviewRecord(&saved));
  EXPECT_EQ(saved.current, folder + "img2.tif");
  EXPECT_EQ(saved.chosen, std::vector<std::string>({folder + "img2.tif"}));
}

TEST_F(OverviewChooserTest, CancelledFolderChooserOpensNothing) {
  ScopedPrompts prompts;
  prompts.Cancel(PromptKind::kFolder);
  EXPECT_FALSE(RunOverviewRow());
  OverviewRecord saved;
  EXPECT_FALSE(LoadOverviewRecord(&saved));
}

}  // namespace
