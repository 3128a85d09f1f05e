// Job entries and the job list: kinds and statuses, unique frame names, cache
// names, what counts as a change, the copy groups, the device limits and the
// list's own bookkeeping.
#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "foundation/file_io.h"
#include "foundation/file_names.h"
#include "foundation/pstring.h"
#include "foundation/record_store.h"
#include "foundation/settings_folders.h"
#include "frames/orientation/preview_orientation.h"
#include "output/job_cache.h"
#include "output/job_hooks.h"
#include "output/job_list.h"
#include "output/output_names.h"
#include "output/tests/writer_test_support.h"
#include "records/defaults_block.h"
#include "session/device_layer.h"
#include "session/preview_files.h"
#include "state/data_source_state.h"

namespace {

const unsigned char kVendor[] = "\x0AQuillbrook";
const unsigned char kModel[] = "\x03ZIR";

class JobListTest : public WriterTest {
 protected:
  void SetUp() override {
    WriterTest::SetUp();
    current_ = FrameRecord{};
    gCurrentFrame = &current_;
    list_ = new JobList(kVendor, kModel, "Auftrag");
  }
  void TearDown() override {
    list_->MarkStored();
    delete list_;
    gCurrentFrame = nullptr;
    InstallJobWindowHooks(JobWindowHooks());
    SetPreviewOrientation(0, 0, 0);
    WriterTest::TearDown();
  }
  JobItem& Add(const char* name = nullptr, int32_t kind = kJobFile) {
    FrameRecord frame = current_;
    frame.hasName = name != nullptr;
    std::strcpy(frame.name, name ? name : "");
    JobNode* node = list_->AddJobItem(&frame, 0, kind, "bild.tif", nullptr);
    EXPECT_NE(node, nullptr);
    // The caller's frame is left as it was.
    EXPECT_STREQ(frame.name, name ? name : "");
    return *node->item;
  }

  FrameRecord current_;
  JobList* list_ = nullptr;
};

TEST_F(JobListTest, KindsStatusesAndUnknownKinds) {
  EXPECT_EQ(Add(nullptr, kJobCurrentSource).Kind(), kJobCurrentSource);
  EXPECT_EQ(Add(nullptr, kJobFile).Kind(), kJobFile);
  EXPECT_EQ(Add(nullptr, kJobOverview).Kind(), kJobOverview);
  FrameRecord frame = {};
  EXPECT_EQ(list_->AddJobItem(&frame, 0, 4, "", nullptr), nullptr);
  EXPECT_EQ(list_->Count(), 3);
  for (int16_t i = 1; i <= 3; ++i) EXPECT_EQ(NthJobNode(*list_, i)->item->Status(), kJobToRun);
  EXPECT_EQ(NthJobNode(*list_, 0), list_->Head());
  EXPECT_EQ(NthJobNode(*list_, 4), nullptr);
  // Only file entries know their file.
  EXPECT_FALSE(NthJobNode(*list_, 1)->item->IsSourceFile("bild.tif"));
  EXPECT_TRUE(NthJobNode(*list_, 2)->item->IsSourceFile("BILD.TIF"));
}

TEST_F(JobListTest, NamesStayUniqueAsCopies) {
  const std::vector<std::string> wanted = {"Bild", "Kopie von Bild", "Kopie (2) von Bild", "Kopie (3) von Bild"};
  for (size_t i = 0; i < wanted.size(); ++i) EXPECT_EQ(std::string(Add("Bild").frame.name), wanted[i]);
  // Names compare without regard to case; unnamed frames keep no name.
  EXPECT_EQ(std::string(Add("BILD").frame.name), "Kopie (4) von BILD");
  const JobItem& unnamed = Add();
  EXPECT_EQ(unnamed.frame.hasName, 0);
  EXPECT_STREQ(unnamed.frame.name, "");
  EXPECT_EQ(std::string(Add().frame.name), "");
  EXPECT_TRUE(list_->ContainsFrameName("kopie von bild"));
  EXPECT_FALSE(list_->ContainsFrameName(""));
}

TEST_F(JobListTest, LongNamesFollowTheFortyEightCharacterRule) {
  const std::string long40(40, 'x');
  Add(long40.c_str());
  // "Kopie von" leaves 39 characters of the name; the record holds 47.
  EXPECT_EQ(std::string(Add(long40.c_str()).frame.name), ("Kopie von " + long40).substr(0, 47));
  // "Kopie (2) von" and 40 characters are 53: no numbered copy, the name stays.
  EXPECT_EQ(std::string(Add(long40.c_str()).frame.name), long40);
  const std::string name35(35, 'y');
  Add(name35.c_str());
  Add(name35.c_str());
  EXPECT_EQ(std::string(Add(name35.c_str()).frame.name), ("Kopie (2) von " + name35).substr(0, 47));
}

TEST(JobCacheNames, TheFileTimeAndTheCutName) {
  const CacheTime time = {2026, 12, 5, 11, 13, 4, 5, 678};
  char name[40];
  EXPECT_TRUE(MakeCacheFileName(time, "QBprev (Quillbrook ZIR)", name));
  EXPECT_STREQ(name, "2026120511130405678 QBprev");
  EXPECT_TRUE(MakeCacheFileName(time, "QBzoomT (Quillbrook ZIR)", name));
  EXPECT_STREQ(name, "2026120511130405678 QBzoomT");
  EXPECT_FALSE(MakeCacheFileName(time, "QBprev", name));
  EXPECT_STREQ(name, "");
}

TEST_F(JobListTest, ToolFlagsAndTrailingBytesAreNoChange) {
  JobItem& item = Add();
  EXPECT_FALSE(item.DiffersFromCurrent());
  struct Case {
    size_t offset;
    bool differs;
  } cases[] = {{0, true}, {100, true}, {1441, true}, {1442, false}, {1443, false}, {1444, false},
               {1445, true}, {1583, true}, {1584, false}, {1700, false}, {2079, false}};
  for (const Case& c : cases) {
    FrameRecord changed = item.frame;
    reinterpret_cast<uint8_t*>(&changed)[c.offset] ^= 0x5A;
    gCurrentFrame = &changed;
    EXPECT_EQ(item.DiffersFromCurrent(), c.differs) << c.offset;
  }
  gCurrentFrame = &current_;
  // Settings and the preview orientation count too.
  std::strcpy(reinterpret_cast<char*>(DefaultsBytes(gDefaults, kDefaultOutputProfile)), "druck.icc");
  EXPECT_TRUE(item.DiffersFromCurrent());
  DefaultsBytes(gDefaults, kDefaultOutputProfile)[0] = 0;
  SetPreviewOrientation(1, 0, 0);
  EXPECT_TRUE(item.DiffersFromCurrent());
  EXPECT_TRUE(list_->EntryDiffersFromCurrent(9));
}

// Each group takes exactly its bytes of the current frame and nothing else.
TEST_F(JobListTest, EachCopyGroupCopiesExactlyItsBytes) {
  struct Range {
    size_t first, last;
  };
  const std::vector<std::pair<int32_t, std::vector<Range>>> groups = {
      {0, {{928, 928}, {932, 935}}},
      {1, {{940, 945}, {948, 948}, {1486, 1486}, {1488, 1491}}},
      {2, {{1576, 1583}}},
      {6, {{912, 923}}},
      {8, {{20, 91}, {1608, 1755}}},
      {9, {{952, 1431}}},
      {11, {{1487, 1487}}},
      {12, {{1480, 1483}}},
      {14, {{1484, 1484}}},
      {15, {{1445, 1445}, {1556, 1557}}},
      {16, {{1558, 1558}}},
      {17, {{1559, 1559}}},
      {3, {}}, {7, {}}, {10, {}}, {13, {}}, {18, {}}, {-1, {}},
  };
  FrameRecord source;
  for (size_t i = 0; i < sizeof source; ++i) reinterpret_cast<uint8_t*>(&source)[i] = static_cast<uint8_t>(i * 7 + 1);
  source.width = 0;  // groups 3-5 need a width: without one they copy nothing
  source.height = 0;
  JobItem& item = Add();
  for (const auto& group : groups) {
    std::memset(&item.frame, 0xEE, sizeof item.frame);
    gCurrentFrame = &source;
    item.CopyScanParameters(group.first);
    const uint8_t* got = reinterpret_cast<const uint8_t*>(&item.frame);
    for (size_t i = 0; i < sizeof item.frame; ++i) {
      bool inside = false;
      for (const Range& r : group.second) inside = inside || (i >= r.first && i <= r.last);
      const uint8_t want = inside ? reinterpret_cast<const uint8_t*>(&source)[i] : 0xEE;
      if (got[i] != want) {
        ADD_FAILURE() << "group " << group.first << " byte " << i;
        break;
      }
    }
  }
}

TEST_F(JobListTest, SettingGroupsTakeTheirSettingsOnly) {
  JobItem& item = Add();
  const ColorSettingsSnapshot before = item.settings;
  std::strcpy(reinterpret_cast<char*>(DefaultsBytes(gDefaults, kDefaultOutputProfile)), "druck.icc");
  std::strcpy(reinterpret_cast<char*>(DefaultsBytes(gDefaults, kDefaultCalibrationProfileName)), "IT8");
  SetDefault(gDefaults, kDefaultInputCmsMode, int16_t{3});
  SetDefault(gDefaults, kDefaultOutputCmsMode, int16_t{2});
  SetPreviewOrientation(1, 1, 3);
  item.CopyScanParameters(7);
  EXPECT_STREQ(item.settings.outputProfile, "druck.icc");
  EXPECT_EQ(item.settings.outputMode, 2);
  EXPECT_EQ(item.settings.inputMode, before.inputMode);
  EXPECT_STREQ(item.settings.calibrationName, "");
  item.CopyScanParameters(13);
  EXPECT_EQ(item.settings.inputMode, 3);
  EXPECT_STREQ(item.settings.calibrationName, "IT8");
  EXPECT_EQ(item.orientation.quarterTurns, 0);
  item.CopyScanParameters(12);
  EXPECT_EQ(item.orientation.mirrorH, 1);
  EXPECT_EQ(item.orientation.quarterTurns, 3);
  // "Automatik vor dem Scan" from the current setting.
  JobWindowHooks hooks;
  hooks.automaticBeforeScan = [] { return uint8_t{1}; };
  InstallJobWindowHooks(hooks);
  item.CopyScanParameters(10);
  EXPECT_EQ(item.autoBeforeRun, 1);
}

// An entry's CMYK tables that cannot be loaded leave their name empty, in
// the entry and in the settings; the rest becomes current.
TEST_F(JobListTest, ColorSettingsThatCannotLoadAreEmptied) {
  JobItem& item = Add();
  std::strcpy(item.settings.cmykProfileName, "fehlt.icc");
  item.settings.inputMode = 1;
  item.settings.outputMode = 1;
  item.ApplyColorSettings();
  EXPECT_STREQ(item.settings.cmykProfileName, "");
  const ColorSettingsSnapshot now = TakeColorSettingsSnapshot();
  EXPECT_STREQ(now.cmykProfileName, "");
  EXPECT_EQ(now.inputMode, 1);
  EXPECT_EQ(now.outputMode, 1);
  EXPECT_FALSE(item.DiffersFromCurrent());

  // A snapshot goes back whole.
  ColorSettingsSnapshot saved = now;
  saved.inputMode = 2;
  saved.lightSource = 1;
  std::strcpy(saved.scannerProfile, "dia.icc");
  ApplySettingsSnapshot(saved);
  EXPECT_EQ(GetDefault(gDefaults, kDefaultInputCmsMode), 2);
  EXPECT_STREQ(reinterpret_cast<const char*>(DefaultsBytes(gDefaults, kDefaultScannerProfileTransparency)),
               "dia.icc");
  EXPECT_STREQ(reinterpret_cast<const char*>(DefaultsBytes(gDefaults, kDefaultScannerProfileReflective)), "");
}

TEST_F(JobListTest, OutputSizesAreMatchedThroughTheScales) {
  current_.width = 4;
  current_.height = 2;
  current_.outputScaleX = 150;  // 6 inches wide
  current_.outputScaleY = 50;   // 1 inch high
  JobItem& item = Add();
  item.frame.width = 3;
  item.frame.height = 1;
  item.frame.outputScaleX = item.frame.outputScaleY = 100;
  item.CopyScanParameters(3);
  EXPECT_FLOAT_EQ(item.frame.outputScaleX, 200);
  EXPECT_FLOAT_EQ(item.frame.outputScaleY, 100);
  item.CopyScanParameters(5);
  EXPECT_FLOAT_EQ(item.frame.outputScaleY, 100);
  item.frame.height = 0.5;
  item.CopyScanParameters(4);
  EXPECT_FLOAT_EQ(item.frame.outputScaleY, 200);
}

TEST_F(JobListTest, DeviceLimitsByScanTypeDepthAndResolution) {
  SetDefault(gDefaults, kDefaultQualityFactor, 1.5);
  struct Case {
    uint32_t scanType;
    uint8_t bits;
    uint8_t filter;
    double quality;
    uint8_t wantFilter;
  } cases[] = {
      {0, 16, 2, 1.5, 0}, {0, 8, 2, 1.5, 2}, {0, 1, 3, 1.0, 0},
      {2, 8, 3, 1.5, 3},  {2, 16, 1, 1.5, 0}, {1, 16, 2, 2.5, 2},
  };
  JobItem& item = Add(nullptr, kJobCurrentSource);
  for (const Case& c : cases) {
    item.frame.colorMode = c.scanType;
    item.frame.bitsPerChannel = c.bits;
    item.frame.filterMode = c.filter;
    item.frame.qualityFactor = 2.5;
    item.frame.outputScaleX = 80;
    item.frame.outputScaleY = 120;
    item.ApplyDeviceLimits();
    EXPECT_DOUBLE_EQ(item.frame.qualityFactor, c.quality) << c.scanType << " " << int(c.bits);
    EXPECT_EQ(item.frame.filterMode, c.wantFilter) << c.scanType << " " << int(c.bits);
    // Descreening needs at least 100 %.
    const bool descreen = c.wantFilter == 2 || c.wantFilter == 3;
    EXPECT_FLOAT_EQ(item.frame.outputScaleX, descreen ? 100 : 80);
    EXPECT_FLOAT_EQ(item.frame.outputScaleY, 120);
  }
  // The resolution within the list's first x minimum % (rounded up) and last x maximum %.
  gResolutionList.count = 3;
  gResolutionList.values[0] = 75;
  gResolutionList.values[1] = 150;
  gResolutionList.values[2] = 300;
  const DeviceScaleLimits limits = GetDeviceScaleLimits();
  const int32_t low = (75 * limits.minPercent + 99) / 100, high = 300 * limits.maxPercent / 100;
  item.frame.colorMode = 1;
  item.frame.qualityFactor = 1.6;
  item.frame.outputResolution = 1;
  item.ApplyDeviceLimits();
  EXPECT_EQ(item.frame.outputResolution, low);
  item.frame.outputResolution = 32000;
  item.ApplyDeviceLimits();
  EXPECT_EQ(item.frame.outputResolution, high);
  EXPECT_EQ(item.frame.screenRuling, static_cast<int16_t>(high / 1.6 + 0.5));
  // A quality factor of 0 leaves the screen ruling alone.
  item.frame.qualityFactor = 0;
  item.frame.screenRuling = 77;
  item.ApplyDeviceLimits();
  EXPECT_EQ(item.frame.screenRuling, 77);
  // The resolution clamp of the main window applies to each scale.
  JobWindowHooks hooks;
  hooks.clampOutputResolution = [](float value, bool xAxis, const FrameRecord*) { return xAxis ? 90.0 : value / 2.0; };
  InstallJobWindowHooks(hooks);
  item.ApplyDeviceLimits();
  EXPECT_FLOAT_EQ(item.frame.outputScaleX, 90);
  EXPECT_FLOAT_EQ(item.frame.outputScaleY, 60);
  gResolutionList.count = 0;
}

TEST_F(JobListTest, BookkeepingOfTheList) {
  EXPECT_FALSE(list_->NeedsThumbnails());
  Add("Eins");
  Add("Zwei");
  Add("Drei");
  EXPECT_TRUE(list_->NeedsThumbnails());
  EXPECT_FALSE(list_->EntryHasThumbnail(1));
  list_->MarkStored();
  list_->ResetEntryStatus(2);
  EXPECT_FALSE(list_->IsModified());
  NthJobNode(*list_, 2)->item->SetStatus(kJobWritten);
  list_->ResetEntryStatus(2);
  EXPECT_TRUE(list_->IsModified());
  EXPECT_EQ(NthJobNode(*list_, 2)->item->Status(), kJobToRun);

  const uint8_t selection[] = {1, 0, 1};
  NthJobNode(*list_, 3)->item->SetStatus(kJobFailed);
  EXPECT_EQ(list_->CountRunnableEntries(selection), 1);

  list_->DeleteEntry(2);
  EXPECT_EQ(list_->Count(), 2);
  EXPECT_STREQ(NthJobNode(*list_, 2)->item->frame.name, "Drei");
  EXPECT_EQ(NthJobNode(*list_, 2)->prev, list_->Head());
  list_->DeleteEntry(5);
  EXPECT_EQ(list_->Count(), 2);

  list_->MarkStored();
  list_->SetOutputFolder("d:\\ausgabe", true);
  list_->SetOutputFormat(kFormatJpeg, true);
  EXPECT_FALSE(list_->IsModified());
  list_->SetOutputFormat(kFormatEpsf, false);
  EXPECT_TRUE(list_->IsModified());
  char folder[300];
  list_->GetOutputFolder(folder);
  EXPECT_STREQ(folder, "d:\\ausgabe");
  list_->DeleteAllEntries();
  EXPECT_EQ(list_->Count(), 0);
  EXPECT_EQ(list_->Head(), nullptr);
}

// A new job writes where the last job went, else beside the last batch output; in lower case.
TEST_F(JobListTest, TheDefaultOutputFolder) {
  char folder[256];
  ASSERT_TRUE(SaveOutputPath(Scratch("Ausgabe/Stapel Bild.tif").c_str()));
  InitDefaultOutputFolder(folder);
  std::string want = Scratch("Ausgabe");
  for (char& c : want) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  EXPECT_EQ(std::string(folder), want);
  const char chosen[] = "E:\\Jobs\\Fertig";
  ASSERT_TRUE(RecordStoreAdd(gAppStore, TagFromString("JMQB"), 128, chosen, sizeof chosen, ""));
  InitDefaultOutputFolder(folder);
  EXPECT_STREQ(folder, "e:\\jobs\\fertig");
}

// The files carry the device's name, which an open image gives.
const ScanNameSource kDeviceName = {[](unsigned char* name) { PStrFromC(name, "ZIR test.tif"); }, [] { return false; },
                                    [] { return false; }};

// The current preview goes into the job's folder when the entry is made and
// comes back over the current preview when the entry is installed.
TEST_F(JobListTest, CachedPreviewsComeBackForTheirEntry) {
  SetScanNameSource(&kDeviceName);
  char preview[256];
  ASSERT_TRUE(GetPreviewsFolder(preview));
  CreateFolder(preview);
  ASSERT_TRUE(PreviewFilePath(kPreviewFile, preview));
  const char bytes[] = "preview bytes";
  FileHandle file = CreateFileForWriting(preview);
  ASSERT_NE(file, nullptr);
  ASSERT_TRUE(WriteBytesAt(file, 0, bytes, sizeof bytes));
  CloseFile(file);

  JobItem& item = Add(nullptr, kJobCurrentSource);
  char cacheName[40], zoomName[40];
  item.GetNames(cacheName, zoomName);
  EXPECT_EQ(std::strlen(cacheName), 26u) << cacheName;
  EXPECT_STREQ(zoomName, "");  // no zoom file
  char folder[256];
  ASSERT_TRUE(JobCacheFolder(*list_, folder));
  EXPECT_TRUE(FileExists((std::string(folder) + cacheName).c_str()));

  item.DeleteCachedFiles();
  EXPECT_FALSE(FileExists(preview));
  gLightSourceFlag = 1;
  item.InstallPreview(folder);
  EXPECT_EQ(gLightSourceFlag, 0);
  char back[sizeof bytes] = {};
  file = OpenFileForReading(preview);
  ASSERT_NE(file, nullptr);
  EXPECT_TRUE(ReadBytesAt(file, 0, back, sizeof back));
  CloseFile(file);
  EXPECT_STREQ(back, bytes);
  SetScanNameSource(nullptr);
}

}  // namespace
