// The thumbnail cache, the overview cells and the overview record.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "foundation/file_io.h"
#include "foundation/record_store.h"
#include "session/device_platform.h"
#include "session/overview_cells.h"
#include "session/overview_record.h"
#include "session/overview_window.h"
#include "session/tests/session_test_environment.h"
#include "session/thumbnail_cache.h"
#include "state/data_source_state.h"

namespace fs = std::filesystem;

namespace {

class ThumbnailCacheTest : public SessionTest {
 protected:
  void SetUp() override {
    SessionTest::SetUp();
    folder_ = Scratch("images") + PathSeparator();
    fs::create_directories(folder_);
    CreateThumbnailMutex();
  }
  void TearDown() override {
    CloseThumbnailMutex();
    gThumbnailDriveIsRemovable = IsOnRemovableDrive;
    gOverview = OverviewState{};
    SessionTest::TearDown();
  }
  void WriteImage(const std::string& name, const std::string& bytes) {
    std::ofstream(folder_ + name, std::ios::binary) << bytes;
  }
  static DibHeader Bitmap(int32_t width, int32_t height) {
    DibHeader header = {};
    header.size = 40;
    header.width = width;
    header.height = -height;
    header.planes = 1;
    header.bitCount = 24;
    header.sizeImage = static_cast<uint32_t>(((width * 3 + 3) & ~3) * height);
    header.xPelsPerMeter = header.yPelsPerMeter = 7874;
    return header;
  }
  std::string CachePath() const { return folder_ + kThumbnailCacheName; }

  std::string folder_;
};

TEST_F(ThumbnailCacheTest, StoredThumbnailReadsBackWithItsStamp) {
  WriteImage("a.tif", "0123456789");
  DibHeader bitmap = Bitmap(3, 2);
  std::vector<uint8_t> pixels(bitmap.sizeImage);
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint8_t>(i * 7);
  ASSERT_TRUE(StoreThumbnail(folder_.c_str(), "a.tif", bitmap, pixels.data()));

  CachedThumbnail loaded;
  ASSERT_TRUE(LoadCachedThumbnail(folder_.c_str(), "a.tif", &loaded));
  EXPECT_EQ(std::memcmp(&loaded.bitmap, &bitmap, sizeof bitmap), 0);
  EXPECT_EQ(loaded.pixels, pixels);

  // The record as stored: head of 60 bytes, then the pixels.
  FileHandle cache = OpenExistingFile(CachePath().c_str());
  ASSERT_NE(cache, nullptr);
  int32_t id;
  uint32_t size;
  ASSERT_TRUE(RecordStoreFind(cache, kThumbnailType, "a.tif", &id));
  ASSERT_TRUE(RecordStoreSize(cache, kThumbnailType, id, &size));
  EXPECT_EQ(size, 60 + bitmap.sizeImage);
  std::vector<uint8_t> data(size);
  ASSERT_TRUE(RecordStoreRead(cache, kThumbnailType, id, data.data(), size));
  CloseFile(cache);
  FileStamp stamp;
  ASSERT_TRUE(GetFileStamp((folder_ + "a.tif").c_str(), &stamp));
  uint32_t words[5];
  std::memcpy(words, data.data(), sizeof words);
  EXPECT_EQ(words[0], 1u);
  EXPECT_EQ(words[1], stamp.timeLow);
  EXPECT_EQ(words[2], stamp.timeHigh);
  EXPECT_EQ(words[3], 0u);
  EXPECT_EQ(words[4], 10u);
  EXPECT_EQ(std::memcmp(data.data() + 20, &bitmap, 40), 0);
}

TEST_F(ThumbnailCacheTest, StoringAgainReplacesTheRecord) {
  WriteImage("a.tif", "0123456789");
  DibHeader bitmap = Bitmap(1, 1);
  std::vector<uint8_t> pixels(bitmap.sizeImage, 9);
  ASSERT_TRUE(StoreThumbnail(folder_.c_str(), "a.tif", bitmap, pixels.data()));
  ASSERT_TRUE(StoreThumbnail(folder_.c_str(), "a.tif", bitmap, pixels.data()));
  FileHandle cache = OpenExistingFile(CachePath().c_str());
  EXPECT_EQ(RecordStoreCount(cache, kThumbnailType), 1);
  CloseFile(cache);
}

TEST_F(ThumbnailCacheTest, RewrittenFileOfTheSameSizeIsRebuilt) {
  WriteImage("a.tif", "0123456789");
  DibHeader bitmap = Bitmap(1, 1);
  std::vector<uint8_t> pixels(bitmap.sizeImage, 1);
  ASSERT_TRUE(StoreThumbnail(folder_.c_str(), "a.tif", bitmap, pixels.data()));
  WriteImage("a.tif", "9876543210");
  fs::last_write_time(folder_ + "a.tif", fs::last_write_time(folder_ + "a.tif") + std::chrono::seconds(5));

  CachedThumbnail loaded;
  EXPECT_FALSE(LoadCachedThumbnail(folder_.c_str(), "a.tif", &loaded));
  FileHandle cache = OpenExistingFile(CachePath().c_str());
  EXPECT_EQ(RecordStoreCount(cache, kThumbnailType), 0) << "the stale record is deleted";
  CloseFile(cache);
}

TEST_F(ThumbnailCacheTest, OlderLongerRecordsStillRead) {
  WriteImage("a.tif", "abc");
  DibHeader bitmap = Bitmap(1, 1);
  FileStamp stamp;
  ASSERT_TRUE(GetFileStamp((folder_ + "a.tif").c_str(), &stamp));
  ThumbnailRecordHead head = {1, stamp.timeLow, stamp.timeHigh, stamp.sizeHigh, stamp.sizeLow, bitmap};
  std::vector<uint8_t> data(sizeof head + bitmap.sizeImage + 3, 5);
  std::memcpy(data.data(), &head, sizeof head);
  FileHandle cache = OpenFileReadWrite(CachePath().c_str());
  ASSERT_TRUE(RecordStoreAdd(cache, kThumbnailType, 128, data.data(), static_cast<uint32_t>(data.size()), "a.tif"));
  CloseFile(cache);
  CachedThumbnail loaded;
  ASSERT_TRUE(LoadCachedThumbnail(folder_.c_str(), "a.tif", &loaded));
  EXPECT_EQ(loaded.pixels, std::vector<uint8_t>(bitmap.sizeImage, 5));
}

// A damaged cache file: the header's numbers must not lead the drawing past the
// pixels the record holds. Such a record is not served and is deleted.
TEST_F(ThumbnailCacheTest, HeadersThatDoNotFitTheirDataAreDropped) {
  WriteImage("a.tif", "abc");
  FileStamp stamp;
  ASSERT_TRUE(GetFileStamp((folder_ + "a.tif").c_str(), &stamp));
  const DibHeader good = Bitmap(4, 3);
  struct Damage {
    const char* what;
    void (*apply)(DibHeader*);
  };
  const Damage damages[] = {
      {"wider than the data", [](DibHeader* h) { h->width = 400; }},
      {"taller than the data", [](DibHeader* h) { h->height = -300; }},
      {"image size past the data", [](DibHeader* h) { h->sizeImage += 4; }},
      {"image size below the rows", [](DibHeader* h) { h->sizeImage -= 1; }},
      {"32 bits per pixel", [](DibHeader* h) { h->bitCount = 32; }},
      {"bottom-up", [](DibHeader* h) { h->height = 3; }},
      {"lowest height", [](DibHeader* h) { h->height = INT32_MIN; }},
      {"negative width", [](DibHeader* h) { h->width = -4; }},
      {"compressed", [](DibHeader* h) { h->compression = 1; }},
  };
  for (const Damage& damage : damages) {
    DibHeader bitmap = good;
    damage.apply(&bitmap);
    ThumbnailRecordHead head = {1, stamp.timeLow, stamp.timeHigh, stamp.sizeHigh, stamp.sizeLow, bitmap};
    std::vector<uint8_t> data(sizeof head + good.sizeImage, 5);
    std::memcpy(data.data(), &head, sizeof head);
    FileHandle cache = OpenFileReadWrite(CachePath().c_str());
    ASSERT_TRUE(RecordStoreAdd(cache, kThumbnailType, 128, data.data(), static_cast<uint32_t>(data.size()), "a.tif"));
    CloseFile(cache);
    CachedThumbnail loaded;
    EXPECT_FALSE(LoadCachedThumbnail(folder_.c_str(), "a.tif", &loaded)) << damage.what;
    cache = OpenExistingFile(CachePath().c_str());
    EXPECT_EQ(RecordStoreCount(cache, kThumbnailType), 0) << damage.what;
    CloseFile(cache);
  }
}

TEST_F(ThumbnailCacheTest, RemovableDriveGetsNoCacheFile) {
  WriteImage("a.tif", "abc");
  gThumbnailDriveIsRemovable = [](const char*) { return true; };
  DibHeader bitmap = Bitmap(1, 1);
  std::vector<uint8_t> pixels(bitmap.sizeImage);
  EXPECT_FALSE(StoreThumbnail(folder_.c_str(), "a.tif", bitmap, pixels.data()));
  CachedThumbnail loaded;
  EXPECT_FALSE(LoadCachedThumbnail(folder_.c_str(), "a.tif", &loaded));
  EXPECT_FALSE(FileExists(CachePath().c_str()));
}

TEST_F(ThumbnailCacheTest, CellsFollowThePatternsAndSortKeys) {
  WriteImage("b.JPG", "12345");
  WriteImage("c.tif", "1");
  WriteImage("A.psd", "123");
  WriteImage("d.txt", "1234567");
  WriteImage("e.tiff.bak", "1");
  fs::create_directories(folder_ + "f.tif");
  ASSERT_EQ(CountFolderImages(folder_.c_str()), 3);
  FillOverviewCells(folder_.c_str(), 3);
  std::vector<std::string> names;
  for (const OverviewCell& cell : gOverview.cells) names.push_back(cell.name);
  EXPECT_EQ(names, std::vector<std::string>({"c.tif", "b.JPG", "A.psd"}));
  EXPECT_EQ(gOverview.cells[1].sizeLow, 5u);

  struct SortCase {
    int key;
    std::vector<std::string> order;
  };
  for (const SortCase& sort : {SortCase{kSortByName, {"A.psd", "b.JPG", "c.tif"}},
                               SortCase{kSortBySize, {"b.JPG", "A.psd", "c.tif"}}}) {
    SortOverviewCells(sort.key, 3);
    names.clear();
    for (const OverviewCell& cell : gOverview.cells) names.push_back(cell.name);
    EXPECT_EQ(names, sort.order) << "key " << sort.key;
  }
}

TEST_F(ThumbnailCacheTest, PruneKeepsOnlyTheFolderImages) {
  WriteImage("a.tif", "1");
  WriteImage("B.jpg", "2");
  DibHeader bitmap = Bitmap(1, 1);
  std::vector<uint8_t> pixels(bitmap.sizeImage);
  ASSERT_TRUE(StoreThumbnail(folder_.c_str(), "a.tif", bitmap, pixels.data()));
  ASSERT_TRUE(StoreThumbnail(folder_.c_str(), "B.jpg", bitmap, pixels.data()));
  ASSERT_TRUE(DeleteFileAt((folder_ + "a.tif").c_str()));
  int count = CountFolderImages(folder_.c_str());
  FillOverviewCells(folder_.c_str(), count);
  SortOverviewCells(kSortByName, count);
  PruneThumbnailCache(folder_.c_str(), count);
  FileHandle cache = OpenExistingFile(CachePath().c_str());
  ASSERT_EQ(RecordStoreCount(cache, kThumbnailType), 1);
  char name[kRecordNameSize];
  ASSERT_TRUE(RecordStoreNameByIndex(cache, kThumbnailType, 1, name));
  EXPECT_STREQ(name, "B.jpg");
  CloseFile(cache);
}

TEST_F(ThumbnailCacheTest, CellGeometryFitsAndCentres) {
  struct FitCase {
    int32_t width, height;
    CellRect expected;
  };
  for (const FitCase& fit : {FitCase{96, 96, {17, 15, 113, 111}}, FitCase{192, 96, {17, 39, 113, 87}},
                             FitCase{30, 60, {41, 15, 89, 111}}}) {
    CellRect rect = FitThumbnailInCell(fit.width, fit.height);
    EXPECT_EQ(rect.left, fit.expected.left) << fit.width << "x" << fit.height;
    EXPECT_EQ(rect.top, fit.expected.top);
    EXPECT_EQ(rect.right, fit.expected.right);
    EXPECT_EQ(rect.bottom, fit.expected.bottom);
  }
}

using OverviewRecordTest = SessionTest;

TEST_F(OverviewRecordTest, RoundTripWithItsLaidOutSize) {
  ASSERT_TRUE(SaveOverviewRecord("C:\\images\\", "C:\\images\\a.tif", {"C:\\images\\a.tif", ""}));
  uint32_t size = 0;
  ASSERT_TRUE(RecordStoreSize(gAppStore, kOverviewRecordType, 1, &size));
  EXPECT_EQ(size, 518u + 2 * 256);
  OverviewRecord record;
  ASSERT_TRUE(LoadOverviewRecord(&record));
  EXPECT_EQ(record.folder, "C:\\images\\");
  EXPECT_EQ(record.current, "C:\\images\\a.tif");
  EXPECT_EQ(record.chosen, std::vector<std::string>({"C:\\images\\a.tif", ""}));
}

TEST_F(OverviewRecordTest, OlderSizesReadAndOtherVersionsDoNot) {
  std::vector<uint8_t> data(520 + 256, 0);
  data[0] = 1;
  std::memcpy(data.data() + 4, "D:\\x\\", 5);
  data[516] = 1;
  std::memcpy(data.data() + 518, "D:\\x\\p.tif", 10);
  ASSERT_TRUE(RecordStoreAdd(gAppStore, kOverviewRecordType, 1, data.data(), static_cast<uint32_t>(data.size()), ""));
  OverviewRecord record;
  ASSERT_TRUE(LoadOverviewRecord(&record));
  EXPECT_EQ(record.folder, "D:\\x\\");
  EXPECT_EQ(record.chosen, std::vector<std::string>({"D:\\x\\p.tif"}));

  data[0] = 2;
  ASSERT_TRUE(RecordStoreAdd(gAppStore, kOverviewRecordType, 1, data.data(), static_cast<uint32_t>(data.size()), ""));
  EXPECT_FALSE(LoadOverviewRecord(&record));
}

}  // namespace
