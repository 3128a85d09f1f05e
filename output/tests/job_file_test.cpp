// Job files and the clipboard block: the version-5 layout against a file of
// an independent writer, older versions with their defaults, the refusal of
// damaged files, the store rules and what the job folder keeps, and pasting.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "foundation/dialogs/testing/scoped_prompts.h"
#include "foundation/file_io.h"
#include "foundation/paths.h"
#include "output/job_cache.h"
#include "output/job_file.h"
#include "output/job_list.h"
#include "output/job_records.h"
#include "output/job_thumbnails.h"
#include "output/output_names.h"
#include "output/tests/writer_test_support.h"
#include "records/defaults_block.h"
#include "state/data_source_state.h"

namespace {

const unsigned char kVendor[] = "\x0AQuillbrook";
const unsigned char kOtherVendor[] = "\x05Nikra";
const unsigned char kModel[] = "\x03ZIR";

// The frame bytes the independent writer uses: (i * step + offset) % 251, names ended.
FrameRecord PatternFrame(int step, int offset) {
  FrameRecord frame;
  uint8_t* bytes = reinterpret_cast<uint8_t*>(&frame);
  for (size_t i = 0; i < sizeof frame; ++i) bytes[i] = static_cast<uint8_t>((i * step + offset) % 251);
  frame.name[47] = 0;
  frame.maskName[63] = 0;
  return frame;
}

bool SameRect(const WinRect& a, const WinRect& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

uint32_t PatternPixel(uint32_t i) { return static_cast<uint32_t>(i * 2654435761u); }

void GiveThumbnail(JobItem& item, int32_t width, int32_t height) {
  DeleteJobBitmap(item.thumbRaw);
  DeleteJobBitmap(item.thumbShown);
  item.thumbRaw = CreateJobBitmap(width, height, &item.thumbRawBits);
  item.thumbShown = CreateJobBitmap(width, height, &item.thumbShownBits);
  ASSERT_NE(item.thumbRaw, nullptr);
  item.thumbRect = {0, 0, width, height};
  for (int32_t i = 0; i < width * height; ++i) item.thumbRawBits[i] = PatternPixel(i);
}

std::vector<uint8_t> ReadAll(const std::string& path) {
  std::vector<uint8_t> bytes;
  FileHandle file = OpenFileForReading(path.c_str());
  uint64_t size = 0;
  if (file && GetFileSize(file, &size)) {
    bytes.resize(size);
    if (!ReadBytesAt(file, 0, bytes.data(), static_cast<uint32_t>(size))) bytes.clear();
  }
  CloseFile(file);
  return bytes;
}

void WriteAll(const std::string& path, const std::vector<uint8_t>& bytes) {
  FileHandle file = CreateFileForWriting(path.c_str());
  ASSERT_NE(file, nullptr);
  EXPECT_TRUE(bytes.empty() || WriteBytesAt(file, 0, bytes.data(), static_cast<uint32_t>(bytes.size())));
  CloseFile(file);
}

std::set<std::string> FilesIn(const std::string& folder) {
  std::set<std::string> names;
  ForEachFileInFolder(
      folder.c_str(), [](const char* name, void* names) { static_cast<std::set<std::string>*>(names)->insert(name); },
      &names);
  return names;
}

void PutU32(std::vector<uint8_t>& bytes, size_t at, uint32_t value) { std::memcpy(&bytes[at], &value, 4); }
uint32_t U32(const std::vector<uint8_t>& bytes, size_t at) {
  uint32_t value;
  std::memcpy(&value, &bytes[at], 4);
  return value;
}

class JobFileTest : public WriterTest {
 protected:
  void SetUp() override {
    WriterTest::SetUp();
    current_ = FrameRecord{};
    gCurrentFrame = &current_;
    list_ = NewList("Auftrag");
  }
  void TearDown() override {
    for (JobList* list : lists_) {
      list->MarkStored();
      delete list;
    }
    gCurrentFrame = nullptr;
    WriterTest::TearDown();
  }
  JobList* NewList(const char* name, const unsigned char* vendor = kVendor) {
    lists_.push_back(new JobList(vendor, kModel, name));
    return lists_.back();
  }
  JobItem& Add(JobList* list, const char* frameName, int32_t kind = kJobCurrentSource, const char* path = "") {
    FrameRecord frame = current_;
    frame.hasName = frameName != nullptr;
    std::strcpy(frame.name, frameName ? frameName : "");
    JobNode* node = list->AddJobItem(&frame, 0, kind, path, nullptr);
    EXPECT_NE(node, nullptr);
    return *node->item;
  }
  std::string JobsFolder() const {
    char path[kPathSize] = {};
    JobsFolderPath(path);
    return path;
  }
  std::string JobFolder(const std::string& name) const { return JobsFolder() + name + "\\"; }
  // A file in the job's folder, as a cache file of that name.
  void PutCacheFile(const std::string& job, const std::string& name) {
    CreateFolder(JobFolder(job).c_str());
    WriteAll(JobFolder(job) + name, {1, 2, 3});
  }
  // Reads the file into a new list; the result of reading.
  bool ReadInto(JobList* list, const std::string& path, JobFileHeader* header = nullptr, uint32_t* version = nullptr) {
    JobFileHeader h;
    uint32_t v = 0;
    FileHandle file = OpenFileForReading(path.c_str());
    const bool read = file && ReadJobFileHeader(file, &h, &v) && ReadJobFile(list, file, h.count, v);
    CloseFile(file);
    if (header) *header = h;
    if (version) *version = v;
    return read;
  }
  static std::vector<std::string> FrameNames(const JobList& list) {
    std::vector<std::string> names;
    for (JobNode* node = list.Head(); node; node = node->next) names.push_back(node->item->frame.name);
    return names;
  }

  FrameRecord current_;
  JobList* list_ = nullptr;
  std::vector<JobList*> lists_;
};

// The golden scenario of make_job_files.py, entry by entry.
void FillGoldenEntries(JobItem& first, JobItem& second) {
  first.frame = PatternFrame(7, 3);
  ColorSettingsSnapshot& s = first.settings;
  s.lightSource = 1, s.positionMode = 1, s.positionNumber = -2, s.filmFlag = 1, s.outputConversionByte = 1;
  s.outputMode = 5, s.inputMode = 2;
  first.autoBeforeRun = 1;
  std::strcpy(s.internalProfile, "intern.icc");
  std::strcpy(s.outputProfile, "aus.icc");
  std::strcpy(s.cmykProfileName, "cmyk.tab");
  std::strcpy(s.scannerProfile, "scanner.icc");
  std::strcpy(s.calibrationName, "Kalibrierung");
  std::strcpy(first.previewCacheName, "20261211130000000 Bild");
  std::strcpy(first.zoomCacheName, "20261211130000001 Bild");
  first.status = kJobWritten;
  first.orientation = {1, 0, 3};
  GiveThumbnail(first, 40, 50);

  second.frame = PatternFrame(13, 0);
  second.settings = ColorSettingsSnapshot();
  second.autoBeforeRun = 0;
  second.previewCacheName[0] = second.zoomCacheName[0] = '\0';
  second.status = kJobToRun;
  second.orientation = {};
}

TEST_F(JobFileTest, VersionFiveEqualsTheIndependentWriter) {
  JobList* golden = NewList("Golden");
  golden->SetOutputFolder("C:\\Ausgabe", true);
  golden->SetOutputFormat(kFormatJpeg, true);
  JobItem& first = Add(golden, nullptr);
  JobItem& second = Add(golden, nullptr, kJobOverview, "C:\\Bilder\\dia.tif");
  FillGoldenEntries(first, second);
  ASSERT_TRUE(WriteJobFile(golden, "Golden", false));
  EXPECT_TRUE(golden->IsStored());
  EXPECT_FALSE(golden->IsModified());

  const std::vector<uint8_t> ours = ReadAll(JobFolder("Golden") + "Golden.qbj");
  const std::vector<uint8_t> theirs = ReadAll(Fixture("jobfiles/golden_v5.qbj"));
  ASSERT_FALSE(theirs.empty());
  ASSERT_EQ(ours.size(), theirs.size());
  const auto differ = std::mismatch(ours.begin(), ours.end(), theirs.begin());
  EXPECT_TRUE(differ.first == ours.end()) << "first difference at byte " << (differ.first - ours.begin());
  // A thumbnail of 40 x 50 gives L = 13 020, none 5024.
  EXPECT_EQ(U32(ours, 4 + 648), 13020u);
  EXPECT_EQ(U32(ours, 4 + 648 + 4 + 13020), 5024u);
}

TEST_F(JobFileTest, EntriesComeBackAsTheyWereStored) {
  const std::string image = Scratch("bild.tif");
  WriteAll(image, {0});
  JobItem& first = Add(list_, "Eins");
  JobItem& second = Add(list_, "Zwei", kJobFile, image.c_str());
  FillGoldenEntries(first, second);
  std::strcpy(first.frame.name, "Eins");
  ASSERT_TRUE(WriteJobFile(list_, "Auftrag", false));

  JobList* back = NewList("Auftrag");
  ASSERT_TRUE(ReadInto(back, JobFolder("Auftrag") + "Auftrag.qbj"));
  ASSERT_EQ(back->Count(), 2);
  EXPECT_TRUE(back->IsStored());
  EXPECT_FALSE(back->IsModified());
  for (int16_t i = 1; i <= 2; ++i) {
    const JobItem& was = *NthJobNode(*list_, i)->item;
    const JobItem& is = *NthJobNode(*back, i)->item;
    SCOPED_TRACE(i);
    EXPECT_EQ(is.Kind(), was.Kind());
    EXPECT_EQ(std::memcmp(&is.frame, &was.frame, sizeof is.frame), 0);
    EXPECT_EQ(is.settings.lightSource, was.settings.lightSource);
    EXPECT_EQ(is.settings.positionNumber, was.settings.positionNumber);
    EXPECT_EQ(is.settings.outputMode, was.settings.outputMode);
    EXPECT_EQ(is.settings.inputMode, was.settings.inputMode);
    EXPECT_STREQ(is.settings.cmykProfileName, was.settings.cmykProfileName);
    EXPECT_STREQ(is.settings.scannerProfile, was.settings.scannerProfile);
    EXPECT_STREQ(is.settings.calibrationName, was.settings.calibrationName);
    EXPECT_EQ(is.autoBeforeRun, was.autoBeforeRun);
    EXPECT_STREQ(is.previewCacheName, was.previewCacheName);
    EXPECT_STREQ(is.zoomCacheName, was.zoomCacheName);
    EXPECT_EQ(is.status, was.status);
    EXPECT_EQ(std::memcmp(&is.orientation, &was.orientation, sizeof is.orientation), 0);
    EXPECT_EQ(is.HasThumbnail(), was.thumbRaw != nullptr);
    EXPECT_TRUE(SameRect(is.thumbRect, was.thumbRect));
  }
  const JobItem& thumbed = *back->Head()->item;
  for (int32_t i = 0; i < 40 * 50; ++i) ASSERT_EQ(thumbed.thumbRawBits[i], PatternPixel(i)) << i;
  EXPECT_STREQ(static_cast<const FileJobItem&>(*NthJobNode(*back, 2)->item).imagePath, image.c_str());
}

// Versions 1 to 4 by the independent writer: their header has no format, and
// what a version lacks comes from the current settings.
TEST_F(JobFileTest, OlderVersionsReadWithTheirDefaults) {
  SetDefault(gDefaults, kDefaultInputCmsMode, int16_t{3});
  JobItem current;
  current.CaptureColorSettings();
  const FrameRecord frame = PatternFrame(5, 1);
  for (uint32_t v = 1; v <= 4; ++v) {
    SCOPED_TRACE(v);
    JobList* list = NewList("Alt");
    JobFileHeader header;
    uint32_t version = 0;
    ASSERT_TRUE(ReadInto(list, Fixture("jobfiles/old_v" + std::to_string(v) + ".qbj"), &header, &version));
    EXPECT_EQ(version, v);
    EXPECT_EQ(header.outputFormat, 0u);
    EXPECT_STREQ(header.outputFolder, "D:\\Alt");
    EXPECT_EQ(header.vendorName[0], 10);
    ASSERT_EQ(list->Count(), 1);
    const JobItem& item = *list->Head()->item;
    EXPECT_EQ(std::memcmp(&item.frame, &frame, sizeof frame), 0);
    EXPECT_EQ(item.status, kJobFailed);
    EXPECT_EQ(item.settings.outputMode, 2);
    EXPECT_EQ(item.settings.positionNumber, 3);
    EXPECT_STREQ(item.settings.outputProfile, "alt-aus.icc");
    EXPECT_STREQ(item.previewCacheName, "Alt Vorschau");
    const JobOrientation expected = v >= 2 ? JobOrientation{1, 1, 2} : JobOrientation{0, 0, 0};
    EXPECT_EQ(std::memcmp(&item.orientation, &expected, sizeof expected), 0);
    EXPECT_EQ(item.settings.inputMode, v >= 4 ? 7 : current.settings.inputMode);
    EXPECT_STREQ(item.settings.scannerProfile, v >= 4 ? "alt-scanner.icc" : current.settings.scannerProfile);
    EXPECT_STREQ(item.settings.calibrationName, v >= 4 ? "AltKal" : current.settings.calibrationName);
    ASSERT_TRUE(item.HasThumbnail());
    EXPECT_TRUE(SameRect(item.thumbRect, WinRect{0, 0, 2, 3}));
    for (uint32_t i = 0; i < 6; ++i) EXPECT_EQ(item.thumbRawBits[i], PatternPixel(i));
  }
}

// Damage to the second of two entries: the header refuses or the read
// fails, and only the sound first entry is in the list.
TEST_F(JobFileTest, DamagedFilesAreRefused) {
  Add(list_, "Eins");
  GiveThumbnail(Add(list_, "Zwei"), 40, 50);
  ASSERT_TRUE(WriteJobFile(list_, "Auftrag", false));
  const std::vector<uint8_t> sound = ReadAll(JobFolder("Auftrag") + "Auftrag.qbj");
  const char* const kNames[] = {"Eins", "Zwei"};
  const size_t second = 4 + 648 + 4 + 5024;  // its L
  const size_t record = second + 4;
  const size_t rect = record + 5000, size = record + 5016;
  using Edit = std::function<void(std::vector<uint8_t>&)>;
  const auto fill = [](size_t at, size_t count) {
    return Edit([at, count](std::vector<uint8_t>& b) { std::memset(&b[at], 'A', count); });
  };
  const struct {
    const char* what;
    Edit edit;
    bool headerReads;
    bool reads;
    int16_t entries;
  } cases[] = {
      {"sound", [](std::vector<uint8_t>&) {}, true, true, 2},
      {"version 0", [](std::vector<uint8_t>& b) { PutU32(b, 0, 0); }, false, false, 0},
      {"version 6", [](std::vector<uint8_t>& b) { PutU32(b, 0, 6); }, false, false, 0},
      {"header cut", [](std::vector<uint8_t>& b) { b.resize(300); }, false, false, 0},
      {"vendor name past its field", [](std::vector<uint8_t>& b) { b[4] = 64; }, false, false, 0},
      {"unterminated output folder", [](std::vector<uint8_t>& b) { std::memset(&b[4 + 128], 'A', 256); }, false,
       false, 0},
      {"count past the records", [](std::vector<uint8_t>& b) { PutU32(b, 4 + 644, 3); }, true, false, 2},
      {"record cut", [](std::vector<uint8_t>& b) { b.resize(b.size() - 10); }, true, false, 1},
      {"L below the minimum", [second](std::vector<uint8_t>& b) { PutU32(b, second, 5000); }, true, false, 1},
      {"L far too large", [second](std::vector<uint8_t>& b) { PutU32(b, second, 0xFFFFFFF0u); }, true, false, 1},
      {"S disagrees with L", [size](std::vector<uint8_t>& b) { PutU32(b, size, 7996); }, true, false, 1},
      {"S disagrees with the rectangle", [rect](std::vector<uint8_t>& b) { PutU32(b, rect + 8, 39); }, true, false, 1},
      {"thumbnail over 50", [rect](std::vector<uint8_t>& b) { PutU32(b, rect + 8, 100), PutU32(b, rect + 12, 20); },
       true, false, 1},
      {"rectangle off the origin", [rect](std::vector<uint8_t>& b) { PutU32(b, rect, 1); }, true, false, 1},
      {"negative rectangle",
       [rect](std::vector<uint8_t>& b) { PutU32(b, rect + 8, uint32_t(-40)), PutU32(b, rect + 12, uint32_t(-50)); },
       true, false, 1},
      {"unknown kind", [record](std::vector<uint8_t>& b) { PutU32(b, record, 4); }, true, false, 1},
      {"unterminated frame name", fill(record + 4 + 1508, 48), true, false, 1},
      {"unterminated profile", fill(record + 4 + 2349, 260), true, false, 1},
      {"unterminated cache name", fill(record + 4 + 2872, 33), true, false, 1},
      {"unterminated calibration", fill(record + 4 + 3210, 64), true, false, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<uint8_t> bytes = sound;
    c.edit(bytes);
    const std::string path = Scratch("beschaedigt.qbj");
    WriteAll(path, bytes);
    JobList* list = NewList("Beschaedigt");
    JobFileHeader header;
    uint32_t version = 0;
    FileHandle file = OpenFileForReading(path.c_str());
    ASSERT_NE(file, nullptr);
    const bool headerReads = ReadJobFileHeader(file, &header, &version);
    EXPECT_EQ(headerReads, c.headerReads);
    if (headerReads) {
      EXPECT_EQ(ReadJobFile(list, file, header.count, version), c.reads);
    }
    CloseFile(file);
    EXPECT_EQ(FrameNames(*list), std::vector<std::string>(kNames, kNames + c.entries));
  }
}

// A file entry whose image is gone fails the read with the missing-file check.
TEST_F(JobFileTest, AMissingImageFailsTheRead) {
  const std::string image = Scratch("weg.tif");
  WriteAll(image, {0});
  Add(list_, "Datei", kJobFile, image.c_str());
  ASSERT_TRUE(WriteJobFile(list_, "Auftrag", false));
  DeleteFileAt(image.c_str());
  JobList* back = NewList("Auftrag");
  EXPECT_FALSE(ReadInto(back, JobFolder("Auftrag") + "Auftrag.qbj"));
  EXPECT_EQ(back->Count(), 0);
  EXPECT_FALSE(back->IsStored());
}

// Under its own name the job is saved in place, also through "Speichern
// als...": the folder keeps its cache files and loses the stale ones.
TEST_F(JobFileTest, TheOwnNameIsAPlainSave) {
  JobItem& item = Add(list_, "Bild");
  std::strcpy(item.previewCacheName, "20260101000000000 Bild");
  PutCacheFile("Auftrag", "20260101000000000 Bild");
  PutCacheFile("Auftrag", "20250101000000000 Alt");
  for (bool asCopy : {false, true}) {
    SCOPED_TRACE(asCopy);
    ScopedPrompts prompts;  // nothing is asked
    ASSERT_TRUE(WriteJobFile(list_, "Auftrag", asCopy));
    EXPECT_EQ(FilesIn(JobFolder("Auftrag")), (std::set<std::string>{"Auftrag.qbj", "20260101000000000 Bild"}));
  }
}

// A job whose name begins its cache files' names: only "<name>.qbj" is the
// job file, so the stale cache goes and a copy takes the referenced one.
TEST_F(JobFileTest, OnlyTheExactJobFileIsSpared) {
  JobList* list = NewList("2");
  JobItem& item = Add(list, "Bild");
  std::strcpy(item.previewCacheName, "20240101000000000 Bild");
  PutCacheFile("2", "20240101000000000 Bild");
  PutCacheFile("2", "20240202000000000 Alt");
  ASSERT_TRUE(WriteJobFile(list, "2", false));
  EXPECT_EQ(FilesIn(JobFolder("2")), (std::set<std::string>{"2.qbj", "20240101000000000 Bild"}));
  ASSERT_TRUE(WriteJobFile(list, "3", true));
  EXPECT_EQ(FilesIn(JobFolder("3")), (std::set<std::string>{"3.qbj", "20240101000000000 Bild"}));
  EXPECT_EQ(FilesIn(JobFolder("2")), (std::set<std::string>{"2.qbj", "20240101000000000 Bild"}));
  char name[40];
  list->GetName(name);
  EXPECT_STREQ(name, "3");
}

TEST_F(JobFileTest, ACopyOntoAnExistingJobAsksFirst) {
  JobItem& item = Add(list_, "Bild");
  std::strcpy(item.previewCacheName, "20260101000000000 Bild");
  PutCacheFile("Auftrag", "20260101000000000 Bild");
  PutCacheFile("Vorhanden", "Vorhanden.qbj");
  PutCacheFile("Vorhanden", "20200101000000000 Fremd");
  {
    ScopedPrompts prompts;
    prompts.Reply(kAnswerCancel);
    EXPECT_FALSE(WriteJobFile(list_, "Vorhanden", true));
    EXPECT_EQ(prompts.Asked(0).textId, kJobExistsString);
    EXPECT_EQ(prompts.Asked(0).titleId, 500u);
    EXPECT_EQ(prompts.Asked(0).style, kBoxOkCancel | kBoxIconExclamation);
  }
  EXPECT_EQ(FilesIn(JobFolder("Vorhanden")).size(), 2u);
  char name[40];
  list_->GetName(name);
  EXPECT_STREQ(name, "Auftrag");
  {
    ScopedPrompts prompts;
    prompts.Reply(kAnswerOk);
    EXPECT_TRUE(WriteJobFile(list_, "Vorhanden", true));
  }
  EXPECT_EQ(FilesIn(JobFolder("Vorhanden")), (std::set<std::string>{"Vorhanden.qbj", "20260101000000000 Bild"}));
  EXPECT_EQ(FilesIn(JobFolder("Auftrag")), (std::set<std::string>{"20260101000000000 Bild"}));
}

TEST_F(JobFileTest, ARenameMovesTheFolder) {
  JobItem& item = Add(list_, "Bild");
  std::strcpy(item.previewCacheName, "20260101000000000 Bild");
  PutCacheFile("Auftrag", "20260101000000000 Bild");
  ASSERT_TRUE(WriteJobFile(list_, "Auftrag", false));
  ASSERT_TRUE(WriteJobFile(list_, "Neu", false));
  EXPECT_FALSE(FolderExists(JobFolder("Auftrag").c_str()));
  EXPECT_EQ(FilesIn(JobFolder("Neu")), (std::set<std::string>{"Neu.qbj", "20260101000000000 Bild"}));
}

TEST_F(JobFileTest, PastingTakesTheBlockOfTheSameVendor) {
  Add(list_, "A");
  Add(list_, "B");
  const int16_t rows[] = {1, 0};
  const std::vector<uint8_t> block = MakeJobClipboardBlock(*list_, rows, 2);
  const std::vector<uint8_t> kept = block;
  EXPECT_EQ(U32(block, 644), 2u);

  JobList* appended = NewList("Ziel");
  Add(appended, "A");
  Add(appended, "C");
  EXPECT_EQ(PasteJobClipboardBlock(appended, block.data(), uint32_t(block.size()), 0, kVendor), 2);
  EXPECT_EQ(FrameNames(*appended), (std::vector<std::string>{"A", "C", "B", "Kopie von A"}));
  EXPECT_TRUE(appended->IsModified());
  EXPECT_TRUE(block == kept);

  JobList* inserted = NewList("Mitte");
  Add(inserted, "X");
  Add(inserted, "Y");
  EXPECT_EQ(PasteJobClipboardBlock(inserted, block.data(), uint32_t(block.size()), 1, kVendor), 2);
  EXPECT_EQ(FrameNames(*inserted), (std::vector<std::string>{"X", "B", "A", "Y"}));

  JobList* other = NewList("Fremd", kOtherVendor);
  EXPECT_EQ(PasteJobClipboardBlock(other, block.data(), uint32_t(block.size()), 0, kOtherVendor), 0);
  EXPECT_EQ(other->Count(), 0);

  // A record running past the block ends the paste after the whole ones.
  JobList* cut = NewList("Kurz");
  EXPECT_EQ(PasteJobClipboardBlock(cut, block.data(), uint32_t(block.size() - 1), 0, kVendor), 1);
  EXPECT_EQ(FrameNames(*cut), (std::vector<std::string>{"B"}));
  std::vector<uint8_t> longer = block;
  PutU32(longer, 648 + 4 + 5024, 0xFFFFFFF0u);
  EXPECT_EQ(PasteJobClipboardBlock(cut, longer.data(), uint32_t(longer.size()), 0, kVendor), 1);
  EXPECT_EQ(PasteJobClipboardBlock(cut, block.data(), 100, 0, kVendor), 0);
}

}  // namespace
