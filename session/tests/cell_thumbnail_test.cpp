// Thumbnails of overview cells: drawn from the image the first time, from the
// folder's cache afterwards.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "foundation/file_io.h"
#include "foundation/record_store.h"
#include "session/cell_thumbnail.h"
#include "session/overview_cells.h"
#include "session/tests/session_test_environment.h"
#include "session/thumbnail_cache.h"

namespace fs = std::filesystem;

namespace {

class CellThumbnailTest : public SessionTest {
 protected:
  void SetUp() override {
    SessionTest::SetUp();
    std::string folder = Scratch("cells");
    fs::create_directories(folder);
    for (const char* name : {"rgb48.tif", "grey72.tif", "broken.tif"})
      fs::copy_file(Fixture(name), folder + PathSeparator() + name);
    folder += PathSeparator();
    std::snprintf(gOverview.folder, sizeof gOverview.folder, "%s", folder.c_str());
    int count = CountFolderImages(gOverview.folder);
    FillOverviewCells(gOverview.folder, count);
    SortOverviewCells(kSortByName, count);  // broken, grey72, rgb48
    CreateThumbnailMutex();
  }
  void TearDown() override {
    CloseThumbnailMutex();
    gOverview = OverviewState{};
    SessionTest::TearDown();
  }
  int CachedRecords() {
    FileHandle cache = OpenExistingFile((std::string(gOverview.folder) + kThumbnailCacheName).c_str());
    int count = RecordStoreCount(cache, kThumbnailType);
    CloseFile(cache);
    return count;
  }
};

TEST_F(CellThumbnailTest, FirstDrawnThenCached) {
  CachedThumbnail built;
  ASSERT_TRUE(GetCellThumbnail(3, &built));
  EXPECT_EQ(built.bitmap.width, 96);
  EXPECT_EQ(built.bitmap.height, -60);
  EXPECT_EQ(built.bitmap.bitCount, 24);
  EXPECT_EQ(built.bitmap.xPelsPerMeter, 7874);
  EXPECT_EQ(built.pixels.size(), 96u * 3 * 60);
  EXPECT_EQ(CachedRecords(), 1);

  CachedThumbnail cached;
  ASSERT_TRUE(LoadCachedThumbnail(gOverview.folder, "rgb48.tif", &cached));
  EXPECT_EQ(cached.pixels, built.pixels);
  CachedThumbnail again;
  ASSERT_TRUE(GetCellThumbnail(3, &again));
  EXPECT_EQ(again.pixels, built.pixels);
  EXPECT_EQ(CachedRecords(), 1);
}

TEST_F(CellThumbnailTest, UnreadableImageHasNoThumbnail) {
  CachedThumbnail thumbnail;
  EXPECT_FALSE(GetCellThumbnail(1, &thumbnail));
  EXPECT_FALSE(GetCellThumbnail(0, &thumbnail));
  EXPECT_FALSE(GetCellThumbnail(4, &thumbnail));
  EXPECT_EQ(CachedRecords(), 0);
}

}  // namespace
